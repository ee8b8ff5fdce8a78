#!/usr/bin/env bash
# Runs every test suite (native, native under the sanitizers, the fuzzers'
# fixed-seed pass, Windows under Wine, the release packages) and ends with
# the line "N passed, N failed, N skipped". Counts come from CTest's JUnit
# reports. A failed Windows test gets one more run: one that passes then is
# named on a line "passed on retry: ...", one whose program never began its
# test (Wine did not start it) on a line "never started: ...".
# Usage: tools/run-tests.sh BUILD_ROOT
set -u
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
jobs=${JOBS:-$(nproc)}
passed=0 failed=0 skipped=0 status=0
retried=() unstarted=()

# results JUNIT: STATUS, NAME and REACHED of each test, tab-separated.
results() { awk -f "$here/junit-results.awk" "$1"; }

# run_suite NAME DIR RETRY [ctest options]: runs CTest in DIR and adds its
# counts; with RETRY=retry, failed tests run once more.
run_suite() {
    local name=$1 dir=$2 retry=$3
    shift 3
    echo "== $name"
    local log=$dir/ctest.log junit=$dir/ctest-junit.xml
    rm -f "$junit"
    (cd "$dir" && ctest --timeout 300 --output-on-failure -j"$jobs" --output-junit "$junit" "$@") >"$log" 2>&1
    if [ ! -s "$junit" ]; then
        echo "$name: CTest wrote no report; see $log"
        tail -n 20 "$log"
        failed=$((failed + 1)) status=1
        return
    fi
    local outcome test reached ok=0 skips=0 failures=()
    while IFS=$'\t' read -r outcome test reached; do
        case $outcome in
        passed) ok=$((ok + 1)) ;;
        skipped) skips=$((skips + 1)) ;;
        failed)
            failures+=("$test")
            [ "$reached" = no ] && unstarted+=("$test")
            ;;
        esac
    done < <(results "$junit")
    if [ ${#failures[@]} -gt 0 ] && [ "$retry" = retry ]; then
        local again=$dir/ctest-retry-junit.xml
        rm -f "$again"
        (cd "$dir" && ctest --timeout 300 --output-on-failure --rerun-failed --output-junit "$again" "$@") \
            >"$dir/ctest-retry.log" 2>&1
        failures=()
        while IFS=$'\t' read -r outcome test reached; do
            case $outcome in
            passed) ok=$((ok + 1)) retried+=("$test") ;;
            skipped) skips=$((skips + 1)) ;;
            failed) failures+=("$test") ;;
            esac
        done < <(results "$again")
        log="$log and $dir/ctest-retry.log"
    fi
    echo "$name: $ok passed, ${#failures[@]} failed, $skips skipped"
    passed=$((passed + ok)) skipped=$((skipped + skips)) failed=$((failed + ${#failures[@]}))
    if [ ${#failures[@]} -gt 0 ]; then
        status=1
        printf 'FAILED: %s\n' "${failures[@]}"
        echo "(output in $log)"
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
        failed=$((failed + 1)) status=1
    fi
}

. "$here/wine-session.sh"
way=$(wine_way) || exit 1
wine_build=$(wine_build_dir "$build" "$way")

run_check "32-bit DLL tables" "$here/check-dll-tables.sh" "$build/cross/bin/vis_kt.dll"
run_check "32-bit DLL baseline" "$here/check-dll-baseline.sh" "$build/cross/bin/vis_kt.dll"
run_suite native "$build/native" once
run_check "fuzzers, fixed seed" "$here/run-fuzzers.sh" "$build/fuzz" --smoke
run_suite sanitizers "$build/asan" once

trap wine_session_stop EXIT
trap 'exit 130' INT TERM
case $way in
native32) echo "== the Windows tests run the 32-bit build that ships, under 32-bit Wine" ;;
qemu32) echo "== the Windows tests run the 32-bit build that ships, under 32-bit Wine emulated by qemu" ;;
win64) echo "== this machine runs no 32-bit programs, natively or under qemu: the Windows tests run the 64-bit build" ;;
esac
if wine_session_start "$wine_build"; then
    # A window test can lose a race with the X server on a loaded machine.
    run_suite wine "$wine_build" retry
    run_check "release packages and installer" "$here/release/test-release.sh" "$build" "$wine_build"
else
    failed=$((failed + 1)) status=1
fi
wine_session_stop
trap - EXIT

for test in "${retried[@]}"; do echo "passed on retry: $test"; done
for test in "${unstarted[@]}"; do echo "never started (Wine did not run the test program): $test"; done
if [ "$way" = win64 ]; then
    echo "WARNING: the Windows tests ran the 64-bit build, not the 32-bit DLL that ships"
fi
echo "$passed passed, $failed failed, $skipped skipped"
exit $status
