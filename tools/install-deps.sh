#!/usr/bin/env bash
# Installs the Debian packages a target needs, only those that are missing.
# Usage: tools/install-deps.sh [build|test|win64|bench|demo|fuzz|release|format]...
#   build   the DLL and the stand-in player (the cross compiler, CMake, Ninja,
#           ccache);
#   test    and the native and Windows tests: Wine and what runs the shipped
#           32-bit programs here (qemu where the kernel refuses them, the
#           64-bit cross compiler where even that fails), Xvfb, the 32-bit
#           OpenGL (Mesa) that Wine's Direct3D draws with, GoogleTest,
#           clang for the fuzzers, NSIS for the installer tests;
#   win64   the 64-bit cross compiler;
#   format  clang-format, for `make format` and the layout check of `make test`.
set -euo pipefail

build=(make cmake ninja-build ccache g++-mingw-w64-i686-posix binutils-mingw-w64-i686 libstb-dev)
declare -A extra=(
  [build]=""
  [test]="g++ pkg-config googletest libgtest-dev clang libclang-rt-14-dev wine wine32:i386 wine64
          libgl1:i386 libglx-mesa0:i386 libgl1-mesa-dri:i386
          xvfb xauth x11-utils nsis zip unzip"
  [win64]="g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64"
  [bench]="g++ libbenchmark-dev libfftw3-dev wine wine32:i386 wine64 xvfb xauth"
  [demo]="g++ wine wine32:i386 wine64 libgl1:i386 libglx-mesa0:i386 libgl1-mesa-dri:i386 xvfb xauth
          ffmpeg imagemagick"
  [fuzz]="clang libclang-rt-14-dev"
  [release]="nsis zip unzip"
  [format]="clang-format-14"
)

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

# main_sources: the machine's Debian sources in deb822 form, without the
# security suites.
main_sources() {
  local list
  for list in /etc/apt/sources.list.d/*.sources; do
    [ -f "$list" ] && awk 'BEGIN { RS = ""; ORS = "\n\n" } !/Suites:[^\n]*-security/' "$list"
  done
  if [ -f /etc/apt/sources.list ]; then
    sed -n 's/^deb \(\[[^]]*\] \)\?\([^ ]*\) \([^ ]*\) \(.*\)$/Types: deb\nURIs: \2\nSuites: \3\nComponents: \4\n/p' \
      /etc/apt/sources.list | awk 'BEGIN { RS = ""; ORS = "\n\n" } !/Suites: [^\n]*-security/'
  fi
}

# install PACKAGE...: installs those that are missing.
install() {
  local p missing=()
  for p in "$@"; do installed "$p" || missing+=("$p"); done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null && sudo -n true 2>/dev/null; then
      sudo=(sudo)
    else
      echo "install-deps: these packages are missing: ${missing[*]}" >&2
      echo "install-deps: run as root or with password-less sudo to install them." >&2
      exit 1
    fi
  fi
  echo "install-deps: installing ${missing[*]}"
  if printf '%s\n' "${missing[@]}" | grep -q ':i386$' && ! dpkg --print-foreign-architectures | grep -qx i386; then
    echo "install-deps: adding the i386 architecture"
    "${sudo[@]}" dpkg --add-architecture i386
  fi
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -qq || echo "install-deps: some package indexes did not download; trying with the rest"
  if ! "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null; then
    # A mirror in the middle of a sync can serve one architecture's security
    # index and not the other's; the 32-bit libraries must then match the
    # 64-bit ones of the main archive. Install from the main archive alone.
    echo "install-deps: retrying from the main archive without the security updates"
    local lists
    lists=$(mktemp -d)
    main_sources >"$lists/main.sources"
    local only_main=(-o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$lists")
    "${sudo[@]}" apt-get "${only_main[@]}" update -qq
    "${sudo[@]}" apt-get "${only_main[@]}" install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
    rm -rf "$lists"
  fi
  for p in "${missing[@]}"; do
    installed "$p" || { echo "install-deps: $p did not install" >&2; exit 1; }
  done
}

wanted=("${build[@]}")
for target in "${@:-build}"; do
  if [[ ! -v extra[$target] ]]; then
    echo "install-deps: unknown target '$target' (known: ${!extra[*]})" >&2
    exit 2
  fi
  # shellcheck disable=SC2206
  wanted+=(${extra[$target]})
done
install "${wanted[@]}"

# Where Wine was wanted: what runs the 32-bit programs on this kernel, or
# the way VIS_WINE_WAY asks for.
if printf '%s\n' "${wanted[@]}" | grep -qx wine32:i386; then
  here=$(cd "$(dirname "$0")" && pwd)
  if [ "${VIS_WINE_WAY:-}" = qemu32 ] || ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
    install qemu-user-static
  fi
  if [ "$(bash -c ". '$here/wine-session.sh' && wine_way")" = win64 ]; then
    install g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  fi
fi
