/* Preloaded into the 32-bit Wine loader when it runs under qemu user
 * emulation. qemu 7.2 ignores MAP_FIXED_NOREPLACE and maps elsewhere, so
 * Wine's reservation of its address space splinters into tens of thousands
 * of maps; and it maps files at offsets that are not page-aligned, which
 * Wine's PE loader then trusts. Both are answered here as the kernel answers
 * them. Built without 32-bit headers: gcc -m32 -fPIC -shared -nostdlib
 * mmap_shim.c /usr/lib/i386-linux-gnu/libc.so.6 */
typedef unsigned int size_t;
typedef long off_t;
typedef long long off64_t;

extern long syscall(long number, ...);
extern int* __errno_location(void);

#define MAP_FAILED ((void*)-1)
#define MAP_FIXED_NOREPLACE 0x100000
#define SYS_munmap 91
#define SYS_mmap2 192
#define EEXIST 17
#define EINVAL 22
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
