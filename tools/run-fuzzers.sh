#!/usr/bin/env bash
# Runs every libFuzzer target of a fuzz build for SECONDS each (default 60),
# or, with --smoke, a short run with a fixed seed. Corpora live in
# build/fuzz/corpus; a crash leaves its input there and fails the run.
set -u
build=$1
shift
mode=${1:-60}
status=0
for fuzzer in "$build"/bin/*_fuzz; do
    name=$(basename "$fuzzer")
    corpus="$build/corpus/$name"
    mkdir -p "$corpus"
    if [ "$mode" = --smoke ]; then
        args=(-seed=1 -runs=3000)
    else
        args=(-max_total_time="$mode")
    fi
    began=$SECONDS
    if ! "$fuzzer" "${args[@]}" -max_len=8192 -artifact_prefix="$build/corpus/$name-" "$corpus" \
            >"$build/$name.log" 2>&1; then
        echo "  $name ${args[*]}: FAILED after $((SECONDS - began)) s, see $build/$name.log"
        tail -n 30 "$build/$name.log"
        status=1
    else
        echo "  $name ${args[*]}: $(tail -n 1 "$build/$name.log" | sed 's/^Done //'), $((SECONDS - began)) s"
    fi
done
exit $status
