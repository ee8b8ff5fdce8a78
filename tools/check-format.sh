#!/usr/bin/env bash
# Checks (or, with --fix, applies) the layout of .clang-format on the C and
# C++ files that git tracks; names each file the formatter would change.
# `make format` runs it with --fix. Files under third_party/ are not ours to
# lay out.
# Usage: tools/check-format.sh [--fix]
set -u
cd "$(dirname "$0")/.." || exit 1
format=$(command -v clang-format-14 || command -v clang-format) || {
    echo "check-format: clang-format is not installed (Debian: clang-format-14)" >&2
    exit 1
}
mapfile -t files < <(git ls-files -- '*.c' '*.cpp' '*.h' ':!:third_party/**')
if [ "${1:-}" = --fix ]; then
    printf '%s\0' "${files[@]}" | xargs -0 -n 40 -P "${JOBS:-$(nproc)}" "$format" -i
    exit
fi
# --dry-run names each file with a place it would change; one line a file.
mapfile -t changed < <(printf '%s\0' "${files[@]}" |
    xargs -0 -n 40 -P "${JOBS:-$(nproc)}" "$format" --dry-run 2>&1 |
    sed -n 's/^\([^:]*\):[0-9]*:[0-9]*: \(warning\|error\): code should be clang-formatted.*/\1/p' | sort -u)
if [ ${#changed[@]} -gt 0 ]; then
    printf 'formatting: %s would change (make format applies .clang-format)\n' "${changed[@]}"
    exit 1
fi
echo "formatting: ${#files[@]} files as .clang-format lays them out"
