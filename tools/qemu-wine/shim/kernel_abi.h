/* What the shim needs of the i386 Linux kernel's and C library's interface,
 * declared here because the machines that build it have no 32-bit headers. */
#ifndef QEMU_WINE_KERNEL_ABI_H
#define QEMU_WINE_KERNEL_ABI_H

typedef unsigned int size_t;
typedef long off_t;
typedef long long off64_t;

extern long syscall(long number, ...);
extern int* __errno_location(void);
extern void* dlsym(void* handle, const char* name);
extern void* malloc(size_t size);
extern void free(void* pointer);
#define RTLD_NEXT ((void*)-1l)

#define SYS_munmap 91
#define SYS_modify_ldt 123
#define SYS_rt_sigprocmask 175
#define SYS_mmap2 192
#define SYS_set_thread_area 243

#define EEXIST 17
#define EINVAL 22
#define ENOSYS 38

#define SIGILL 4
#define SIGTRAP 5
#define SIGBUS 7
#define SIGFPE 8
#define SIGSEGV 11
#define SIG_SETMASK 2
#define SA_SIGINFO 4

/* si_code values: positive ones mean the processor raised the signal. */
#define SI_KERNEL 0x80
#define BUS_ADRALN 1
#define FPE_INTDIV 1
#define FPE_INTOVF 2

typedef struct {
    int si_signo, si_errno, si_code;
    void* si_addr;
    int rest[28];
} siginfo_t;

/* ucontext_t: uc_flags, uc_link and the 12-byte uc_stack come before the
 * general registers, in the order the kernel saves them. */
enum {
    REG_GS,
    REG_FS,
    REG_ES,
    REG_DS,
    REG_EDI,
    REG_ESI,
    REG_EBP,
    REG_ESP,
    REG_EBX,
    REG_EDX,
    REG_ECX,
    REG_EAX,
    REG_TRAPNO,
    REG_ERR,
    REG_EIP,
    REG_CS,
    REG_EFL,
    REG_UESP,
    REG_SS,
    REGISTER_COUNT
};
typedef struct {
    unsigned long flags;
    void* link;
    void* stack[3];
    unsigned long registers[REGISTER_COUNT];
} ucontext_t;

/* The C library's sigaction record: a 1024-bit mask between handler and flags. */
typedef void (*signal_action)(int signal, siginfo_t* info, void* context);
typedef struct {
    signal_action action;
    unsigned long mask[32];
    int flags;
    void (*restorer)(void);
} sigaction_record;

/* The kernel's signal mask, as rt_sigprocmask takes it. */
typedef struct {
    unsigned long bits[2];
} kernel_sigset;

/* A segment descriptor as set_thread_area and modify_ldt take it. */
struct user_desc {
    unsigned int entry_number;
    unsigned int base_addr;
    unsigned int limit;
    unsigned int seg_32bit : 1, contents : 2, read_exec_only : 1, limit_in_pages : 1, seg_not_present : 1, useable : 1;
};

typedef unsigned long pthread_t;
typedef unsigned int pthread_key_t;
typedef void* (*thread_start)(void* argument);
extern int pthread_key_create(pthread_key_t* key, void (*destructor)(void*));
extern int pthread_setspecific(pthread_key_t key, const void* value);

#endif
