#!/usr/bin/env bash
# Runs every test suite (native, native under the sanitizers, Windows under
# Wine) and ends with the line "N passed, N failed, N skipped".
set -u
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build}
build=$(cd "$build" && pwd)
passed=0
failed=0
skipped=0
status=0

# run_suite NAME DIR [ctest options]: runs CTest in DIR and adds its counts.
run_suite() {
    local name=$1 dir=$2 log
    shift 2
    log="$dir/ctest.log"
    echo "== $name"
    (cd "$dir" && ctest --timeout 300 --output-on-failure "$@") >"$log" 2>&1
    local rc=$?
    grep -E '(Passed|Failed|\*\*\*|Timeout|Exception|Not Run)' "$log" | grep -vE 'Passed' || true
    local summary
    summary=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
    if [ -z "$summary" ]; then
        echo "$name: CTest gave no summary; see $log"
        tail -n 20 "$log"
        failed=$((failed + 1))
        status=1
        return
    fi
    echo "$summary"
    local bad total
    bad=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$summary")
    total=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\2/' <<<"$summary")
    # CTest counts a skipped test as passed; count it apart.
    local skips
    skips=$(grep -cE '\*\*\*Skipped' "$log")
    passed=$((passed + total - bad - skips))
    failed=$((failed + bad))
    skipped=$((skipped + skips))
    if [ "$rc" -ne 0 ] || [ "$bad" -ne 0 ]; then
        status=1
        sed -n '/The following tests FAILED/,$p' "$log"
    fi
}

# run_check NAME COMMAND...: one test that is a plain command.
run_check() {
    local name=$1
    shift
    echo "== $name"
    if "$@"; then
        passed=$((passed + 1))
    else
        echo "$name: FAILED"
        failed=$((failed + 1))
        status=1
    fi
}

run_check "32-bit DLL tables" "$here/check-dll-tables.sh" "$build/cross/bin/vis_kt.dll"
run_check "32-bit DLL baseline" "$here/check-dll-baseline.sh" "$build/cross/bin/vis_kt.dll"
run_suite native "$build/native" -j2
run_check "fuzzers, fixed seed" "$here/run-fuzzers.sh" "$build/fuzz" --smoke
run_suite sanitizers "$build/asan" -j2

. "$here/wine-session.sh"
trap wine_session_stop EXIT
trap 'exit 130' INT TERM
if [ "$(wine_bits)" = 32 ]; then
    wine_build=$build/cross
else
    echo "== this machine cannot run 32-bit programs: the Windows tests run the 64-bit build"
    wine_build=$build/cross64
fi
if wine_session_start "$wine_build"; then
    # A window test can lose a race with the X server on a loaded machine;
    # such a test gets one more run, a real fault fails both.
    run_suite wine "$wine_build" -j2 --repeat until-pass:2
    run_check "release packages and installer" "$here/release/test-release.sh" "$build" "$wine_build"
else
    failed=$((failed + 1))
    status=1
fi
wine_session_stop
trap - EXIT

echo "$passed passed, $failed failed, $skipped skipped"
exit $status
