/* qemu 7.2 keeps one global descriptor table for the whole process, where
 * the kernel keeps the thread-local entries per thread. The entry the C
 * library gives %gs (its thread pointer) and the one Wine gives %fs (the
 * thread's TEB) then hold the base of whichever thread set them last, and
 * every reload of the register (a signal's return, Wine's signal handlers,
 * a context restored) puts the thread on another thread's data. Here each
 * thread gets entries of its own in the local descriptor table instead,
 * which is per process too but indexed per entry:
 * - %gs: the main thread moves to an entry of its own before any other code
 *   runs, and every thread started through pthread_create moves to one as
 *   its first step. The C library takes the entry number for a new thread's
 *   %gs from its creator's %gs, so the creator stands on the shared entry,
 *   which then holds its own base, while the thread is made, with its
 *   signals blocked and one creator at a time; the new thread starts with
 *   them blocked too and unblocks them once it stands on its own entry.
 * - %fs: Wine asks for a global entry with set_thread_area and, refused,
 *   gives each thread an entry of the local table itself, above the first
 *   512 when %gs is in that table too. */
#include "kernel_abi.h"

/* Entries 1 to 511 serve %gs; Wine's own start at 512. */
#define FIRST_ENTRY 1
#define ENTRY_LIMIT 512
#define SELECTOR(entry) ((unsigned short)(((entry) << 3) | 7)) /* local table, ring 3 */

static unsigned short get_gs(void) {
    unsigned short selector;
    __asm__ volatile("movw %%gs, %0" : "=r"(selector));
    return selector;
}

static void set_gs(unsigned short selector) { __asm__ volatile("movw %0, %%gs" ::"r"(selector) : "memory"); }

/* The C library's thread pointer: the first word of its thread block is the
 * block's own address, the base of %gs. */
static unsigned int thread_pointer(void) {
    unsigned int base;
    __asm__ volatile("movl %%gs:0, %0" : "=r"(base));
    return base;
}

/* The raw system call, past the interposed syscall below. */
typedef long (*syscall_function)(long, long, long, long, long, long, long);
static syscall_function next_syscall;

static long system_call6(long number, long a, long b, long c, long d, long e, long f) {
    if (!next_syscall) next_syscall = (syscall_function)dlsym(RTLD_NEXT, "syscall");
    return next_syscall(number, a, b, c, d, e, f);
}

static long system_call(long number, long a, long b, long c, long d) { return system_call6(number, a, b, c, d, 0, 0); }

/* A flat 4 GiB data segment based at BASE, as the C library makes %gs. */
static struct user_desc data_segment(unsigned int entry, unsigned int base) {
    struct user_desc segment = {0};
    segment.entry_number = entry;
    segment.base_addr = base;
    segment.limit = 0xfffff;
    segment.seg_32bit = 1;
    segment.limit_in_pages = 1;
    segment.useable = 1;
    return segment;
}

static volatile int table_lock;
static unsigned char taken[ENTRY_LIMIT];
static int next_entry = FIRST_ENTRY;

static void lock(volatile int* flag) {
    while (__atomic_exchange_n(flag, 1, __ATOMIC_ACQUIRE)) __asm__ volatile("pause");
}

static void unlock(volatile int* flag) { __atomic_store_n(flag, 0, __ATOMIC_RELEASE); }

/* A free %gs entry, taken in turn so that one given back is reused as late
 * as possible; -1 when all are taken. */
static int take_entry(void) {
    int found = -1;
    lock(&table_lock);
    for (int tried = 0; tried < ENTRY_LIMIT - FIRST_ENTRY && found < 0; ++tried) {
        int entry = next_entry;
        next_entry = entry + 1 < ENTRY_LIMIT ? entry + 1 : FIRST_ENTRY;
        if (!taken[entry]) {
            taken[entry] = 1;
            found = entry;
        }
    }
    unlock(&table_lock);
    return found;
}

static void give_back(void* value) {
    int entry = (int)(unsigned long)value - 1;
    lock(&table_lock);
    taken[entry] = 0;
    unlock(&table_lock);
}

/* Who holds which entry: a thread's value is its entry plus one, and the
 * key's destructor gives the entry back when the thread ends. */
static pthread_key_t holder;
static int holder_made;

/* Moves this thread's %gs to an entry of its own, with the base it has. */
static void stand_on_own_entry(void) {
    int entry = take_entry();
    if (entry < 0) return;
    struct user_desc segment = data_segment((unsigned int)entry, thread_pointer());
    if (system_call(SYS_modify_ldt, 0x11, (long)&segment, sizeof segment, 0) != 0) {
        give_back((void*)(unsigned long)(entry + 1));
        return;
    }
    set_gs(SELECTOR(entry));
    if (holder_made) pthread_setspecific(holder, (void*)(unsigned long)(entry + 1));
}

/* The global entry the C library gave the main thread's %gs. */
static unsigned short shared_gs;

__attribute__((constructor)) static void move_main_thread(void) {
    shared_gs = get_gs();
    if (shared_gs & 4) return; /* already in the local table */
    holder_made = pthread_key_create(&holder, give_back) == 0;
    stand_on_own_entry();
}

/* Sets the thread's signal mask, keeping the one before in BEFORE. */
static void set_signal_mask(const kernel_sigset* mask, kernel_sigset* before) {
    system_call(SYS_rt_sigprocmask, SIG_SETMASK, (long)mask, (long)before, sizeof *mask);
}

struct start {
    thread_start routine;
    void* argument;
    kernel_sigset mask;
};

static void* start_on_own_entry(void* given) {
    struct start start = *(struct start*)given;
    free(given);
    stand_on_own_entry();
    set_signal_mask(&start.mask, 0);
    return start.routine(start.argument);
}

typedef int (*pthread_create_function)(pthread_t*, const void*, thread_start, void*);
static volatile int create_lock;

int pthread_create(pthread_t* thread, const void* attributes, thread_start routine, void* argument) {
    static pthread_create_function next;
    if (!next) next = (pthread_create_function)dlsym(RTLD_NEXT, "pthread_create");
    unsigned short own = get_gs();
    struct start* start = (own & 4) && !(shared_gs & 4) ? malloc(sizeof *start) : 0;
    if (!start) return next(thread, attributes, routine, argument);
    start->routine = routine;
    start->argument = argument;
    const kernel_sigset all = {{~0ul, ~0ul}};
    kernel_sigset before;
    set_signal_mask(&all, &before);
    start->mask = before;
    lock(&create_lock);
    struct user_desc segment = data_segment(shared_gs >> 3, thread_pointer());
    int made = system_call(SYS_set_thread_area, (long)&segment, 0, 0, 0) == 0;
    int result = 0;
    if (made) {
        set_gs(shared_gs);
        result = next(thread, attributes, start_on_own_entry, start);
        set_gs(own);
    }
    unlock(&create_lock);
    set_signal_mask(&before, 0);
    if (!made) {
        free(start);
        return next(thread, attributes, routine, argument);
    }
    /* A thread that started owns START and frees it. */
    if (result != 0) free(start);
    return result;
}

/* Wine's request for a global %fs entry is refused, so that it makes one
 * per thread in the local table. Every other call passes. */
long syscall(long number, ...) {
    long a[6];
    __builtin_va_list arguments;
    __builtin_va_start(arguments, number);
    for (int i = 0; i < 6; ++i) a[i] = __builtin_va_arg(arguments, long);
    __builtin_va_end(arguments);
    if (number == SYS_set_thread_area && a[0] && ((struct user_desc*)a[0])->entry_number == ~0u) {
        *__errno_location() = ENOSYS;
        return -1;
    }
    return system_call6(number, a[0], a[1], a[2], a[3], a[4], a[5]);
}
