#!/usr/bin/env bash
# Runs one Windows program of the cross builds under Wine, in its folder next
# to vis_kt.dll: the 32-bit build wherever this machine runs it (natively or
# under qemu), otherwise the 64-bit one.
# Usage: tools/wine-program.sh BUILD_ROOT PROGRAM [ARGUMENTS...]
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-session.sh"
root=$(cd "$1" && pwd)
program=$2
shift 2
way=$(wine_way) || exit 1
build=$(wine_build_dir "$root" "$way")
echo "== $program: the $(basename "$build") build, Wine way $way"
trap wine_session_stop EXIT
trap 'exit 130' INT TERM
wine_session_start "$build" || exit 1
cd "$build/bin" && "$WINE" "$program.exe" "$@"
