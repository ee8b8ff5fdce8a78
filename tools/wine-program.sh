#!/usr/bin/env bash
# Runs one Windows program of the cross builds under Wine, in its folder next
# to vis_kt.dll: the 32-bit build where this machine runs 32-bit programs,
# otherwise the 64-bit one.
# Usage: tools/wine-program.sh BUILD_ROOT PROGRAM [ARGUMENTS...]
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-session.sh"
root=$(cd "$1" && pwd)
program=$2
shift 2
if [ "$(wine_bits)" = 32 ]; then
    build=$root/cross
else
    echo "== this machine cannot run 32-bit programs: running the 64-bit build"
    build=$root/cross64
fi
trap wine_session_stop EXIT
trap 'exit 130' INT TERM
wine_session_start "$build" || exit 1
cd "$build/bin" && "$WINE" "$program.exe" "$@"
