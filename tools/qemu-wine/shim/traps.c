/* qemu 7.2 writes no trap number into the signal frame of a fault (it has
 * already reset the exception it came from), so Wine, which tells a page
 * fault from an undefined instruction by that number alone, reports every
 * access violation as an illegal instruction and a divide by zero as a
 * floating-point fault. The handlers Wine gives for the processor's signals
 * are wrapped here: before one runs, a trap number missing from its frame is
 * supplied from the signal and its code, as qemu chose the signal from the
 * processor's exception. The error code qemu does keep, with the write bit
 * of a page fault. */
#include "kernel_abi.h"

/* x86 exception numbers. */
enum {
    TRAP_DIVIDE = 0,
    TRAP_DEBUG = 1,
    TRAP_BREAKPOINT = 3,
    TRAP_OVERFLOW = 4,
    TRAP_INVALID_OPCODE = 6,
    TRAP_SEGMENT_NOT_PRESENT = 11,
    TRAP_PROTECTION = 13,
    TRAP_PAGE_FAULT = 14,
    TRAP_ALIGNMENT = 17,
    TRAP_COUNT = 32
};

/* The trap that made qemu raise SIGNAL with CODE, or -1 when it tells none. */
static int trap_of(int signal, int code) {
    if (code <= 0) return -1; /* sent by a process, not raised by an instruction */
    switch (signal) {
    case SIGSEGV:
        /* SEGV_MAPERR and SEGV_ACCERR come from page faults; the rest (a
         * protection fault, into, bound) is the protection fault's. */
        return code == SI_KERNEL ? TRAP_PROTECTION : TRAP_PAGE_FAULT;
    case SIGBUS: return code == BUS_ADRALN ? TRAP_ALIGNMENT : TRAP_SEGMENT_NOT_PRESENT;
    case SIGILL: return TRAP_INVALID_OPCODE;
    case SIGFPE: return code == FPE_INTDIV ? TRAP_DIVIDE : code == FPE_INTOVF ? TRAP_OVERFLOW : -1;
    case SIGTRAP: return code == SI_KERNEL ? TRAP_BREAKPOINT : TRAP_DEBUG;
    }
    return -1;
}

static int wrapped(int signal) {
    return signal == SIGSEGV || signal == SIGBUS || signal == SIGILL || signal == SIGFPE || signal == SIGTRAP;
}

/* The program's handler of each wrapped signal. */
static volatile signal_action handlers[SIGSEGV + 1];

static void supply_trap(int signal, siginfo_t* info, void* context) {
    ucontext_t* frame = context;
    unsigned long* trap = &frame->registers[REG_TRAPNO];
    if (*trap >= TRAP_COUNT && info) {
        int supplied = trap_of(signal, info->si_code);
        if (supplied >= 0) *trap = (unsigned long)supplied;
    }
    signal_action handler = handlers[signal];
    if (handler) handler(signal, info, context);
}

typedef int (*sigaction_function)(int, const sigaction_record*, sigaction_record*);

static int set_action(sigaction_function next, int signal, const sigaction_record* action, sigaction_record* old) {
    if (!wrapped(signal)) return next(signal, action, old);
    signal_action before = handlers[signal];
    sigaction_record mine;
    const sigaction_record* given = action;
    /* SIG_DFL and SIG_IGN are 0 and 1. */
    int wrap = action && (action->flags & SA_SIGINFO) && (unsigned long)action->action > 1;
    if (wrap) {
        mine = *action;
        mine.action = supply_trap;
        given = &mine;
        handlers[signal] = action->action;
    }
    int result = next(signal, given, old);
    if (result != 0) {
        handlers[signal] = before;
        return result;
    }
    /* The caller sees its own handler, never the wrapper. */
    if (old && old->action == supply_trap) old->action = before;
    if (action && !wrap) handlers[signal] = 0;
    return 0;
}

static sigaction_function next_function(const char* name, sigaction_function* cache) {
    if (!*cache) *cache = (sigaction_function)dlsym(RTLD_NEXT, name);
    return *cache;
}

int sigaction(int signal, const sigaction_record* action, sigaction_record* old) {
    static sigaction_function next;
    return set_action(next_function("sigaction", &next), signal, action, old);
}

int __sigaction(int signal, const sigaction_record* action, sigaction_record* old) {
    static sigaction_function next;
    return set_action(next_function("__sigaction", &next), signal, action, old);
}
