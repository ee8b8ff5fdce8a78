#!/usr/bin/env bash
# Packs a built vis_kt.dll for users.
# Usage: tools/release/make-release.sh [--amd64] VERSION VERSION_NUMBERS DLL OUTDIR
#   without --amd64: OUTDIR/vis_kt-VERSION.zip (the DLL and readme.txt) and
#                    OUTDIR/vis_kt-VERSION-setup.exe (x86 installer of DLL);
#   with --amd64:    OUTDIR/vis_kt-VERSION-setup-amd64.exe only, a 64-bit
#                    installer of a 64-bit DLL for the tests on machines that
#                    cannot execute 32-bit programs. It is never shipped.
# VERSION_NUMBERS is the dotted form a.b.c.d of the numeric version.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

fail() { echo "make-release: $*" >&2; exit 1; }

amd64=false
if [ "${1:-}" = --amd64 ]; then amd64=true; shift; fi
[ $# -eq 4 ] || fail "usage: make-release.sh [--amd64] VERSION VERSION_NUMBERS DLL OUTDIR"
version=$1 numbers=$2 dll=$3 out=$4

[[ $version =~ ^[0-9A-Za-z.]+$ ]] || fail "version '$version' is empty or has characters unfit for a file name"
[[ $numbers =~ ^[0-9]+\.[0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "numeric version '$numbers' is not of the form a.b.c.d"
[ -f "$dll" ] || fail "no DLL at $dll"
command -v makensis >/dev/null || fail "makensis is missing (Debian package nsis)"

# The installer's architecture must match the DLL's.
format=$(objdump -f "$dll" 2>/dev/null | sed -n 's/.*file format //p')
if $amd64; then want=pei-x86-64; else want=pei-i386; fi
[ "$format" = "$want" ] || fail "$dll is '${format:-not a PE file}', expected $want"

mkdir -p "$out"
out=$(cd "$out" && pwd)
dll=$(cd "$(dirname "$dll")" && pwd)/$(basename "$dll")

nsis() {
    local outfile=$1
    shift
    rm -f "$outfile"
    makensis -V2 -NOCD "$@" -DVERSION="$version" -DVERSION_NUMBERS="$numbers" -DDLL="$dll" \
        -DOUTFILE="$outfile" "$here/vis_kt.nsi" || fail "makensis failed"
    echo "made $outfile"
}

if $amd64; then
    nsis "$out/vis_kt-$version-setup-amd64.exe" -DAMD64
    exit 0
fi

command -v zip >/dev/null || fail "zip is missing (Debian package zip)"
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cp "$dll" "$stage/vis_kt.dll"
# Windows line ends, so every text editor on the users' systems shows lines.
sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' "$here/readme.txt" >"$stage/readme.txt"
zipfile="$out/vis_kt-$version.zip"
rm -f "$zipfile"
(cd "$stage" && zip -q -X "$zipfile" vis_kt.dll readme.txt) || fail "zip failed"
echo "made $zipfile"
nsis "$out/vis_kt-$version-setup.exe"
