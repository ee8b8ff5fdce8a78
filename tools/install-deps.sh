#!/usr/bin/env bash
# Installs the Debian packages a target needs, only those that are missing.
# Usage: tools/install-deps.sh [test|bench|demo|fuzz|release]...
set -euo pipefail

# The 64-bit cross compiler and Wine run the Windows tests on machines whose
# kernel cannot execute 32-bit programs; the stand-in player decodes Ogg
# Vorbis and writes PNG frames with the stb headers; clang builds the fuzzers.
core=(make cmake g++ pkg-config googletest clang libclang-rt-14-dev
      g++-mingw-w64-i686-posix binutils-mingw-w64-i686 g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
      wine wine32:i386 wine64 xvfb xauth x11-utils libstb-dev)
declare -A extra=(
  [test]="nsis zip unzip"
  [bench]="libbenchmark-dev libfftw3-dev"
  [demo]="ffmpeg imagemagick"
  [fuzz]=""
  [release]="nsis zip unzip"
)

wanted=("${core[@]}")
for target in "${@:-test}"; do
  if [[ ! -v extra[$target] ]]; then
    echo "install-deps: unknown target '$target' (known: ${!extra[*]})" >&2
    exit 2
  fi
  # shellcheck disable=SC2206
  wanted+=(${extra[$target]})
done

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

missing=()
for p in "${wanted[@]}"; do installed "$p" || missing+=("$p"); done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null && sudo -n true 2>/dev/null; then
  sudo=(sudo)
else
  echo "install-deps: these packages are missing: ${missing[*]}" >&2
  echo "install-deps: run as root or with password-less sudo to install them." >&2
  exit 1
fi

echo "install-deps: installing ${missing[*]}"
if printf '%s\n' "${missing[@]}" | grep -q ':i386$' && ! dpkg --print-foreign-architectures | grep -qx i386; then
  echo "install-deps: adding the i386 architecture"
  "${sudo[@]}" dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
for p in "${missing[@]}"; do
  installed "$p" || { echo "install-deps: $p did not install" >&2; exit 1; }
done
echo "install-deps: done"
