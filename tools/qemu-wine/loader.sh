#!/bin/sh
# The 32-bit Wine loader under qemu user emulation, for kernels that cannot
# run 32-bit programs. This script sits beside a copy of the loader
# (wine-i386) and is what the loader believes it was started as, so the
# 32-bit processes Wine starts come back here, and so through qemu, too.
here=$(cd "${0%/*}" && pwd)
export WINELOADERNOEXEC=1
# $PLATFORM is expanded by the dynamic loader: the shim for the emulated
# 32-bit process, an empty library for the 64-bit processes it starts.
exec qemu-i386-static -0 "$here/wine" -E "LD_PRELOAD=$here/../../preload/\$PLATFORM/qemu_shim.so" \
    "$here/wine-i386" "$@"
