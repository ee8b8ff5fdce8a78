/* qemu 7.2 ignores MAP_FIXED_NOREPLACE and maps elsewhere, so Wine's
 * reservation of its address space splinters into tens of thousands of maps;
 * and it maps files at offsets that are not page-aligned, which Wine's PE
 * loader then trusts. Both are answered here as the kernel answers them. */
#include "kernel_abi.h"

#define MAP_FAILED ((void*)-1)
#define MAP_FIXED_NOREPLACE 0x100000
#define PAGE_SHIFT 12

static void* map(void* address, size_t length, int protection, int flags, int fd, off64_t offset) {
    if (offset & ((1 << PAGE_SHIFT) - 1)) {
        *__errno_location() = EINVAL;
        return MAP_FAILED;
    }
    long pages = (long)(offset >> PAGE_SHIFT);
    if (!(flags & MAP_FIXED_NOREPLACE)) return (void*)syscall(SYS_mmap2, address, length, protection, flags, fd, pages);
    /* Ask for the address as a hint; anything else means it was taken. */
    void* got = (void*)syscall(SYS_mmap2, address, length, protection, flags & ~MAP_FIXED_NOREPLACE, fd, pages);
    if (got == MAP_FAILED || got == address) return got;
    syscall(SYS_munmap, got, length);
    *__errno_location() = EEXIST;
    return MAP_FAILED;
}

void* mmap(void* a, size_t l, int p, int f, int fd, off_t o) { return map(a, l, p, f, fd, o); }
void* mmap64(void* a, size_t l, int p, int f, int fd, off64_t o) { return map(a, l, p, f, fd, o); }
void* __mmap64(void* a, size_t l, int p, int f, int fd, off64_t o) { return map(a, l, p, f, fd, o); }
