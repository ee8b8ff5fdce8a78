#!/usr/bin/env bash
# Runs every test suite (native, native under the sanitizers, the fuzzers'
# fixed-seed pass, Windows under Wine, the release packages) and ends with
# the line "N passed, N failed, N skipped", counting test cases. The native
# counts come from CTest's JUnit reports, one CTest test per case. A Windows
# test program runs all its cases in one process (tests/wine/CMakeLists.txt
# names the cases that need a process of their own) and writes a case report
# (tests/wine/case_report.h): a case passes only when its program reported it
# passed. Failed Windows cases run once more, in one process per program:
# one that passes then is named on a line "passed on retry: ...". A program
# that Wine did not start runs once more as a whole, and is named on a line
# "never started: ...". Each suite says what it runs as it goes: a line per
# Windows test program and per fuzzer, a running count of native cases. Before
# the closing line comes the time of each phase, with the installs and builds
# that the Makefile wrote to BUILD_ROOT/phase-times (VIS_PHASE_TIMES).
# Usage: tools/run-tests.sh BUILD_ROOT
set -u
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
jobs=${JOBS:-$(nproc)}
passed=0 failed=0 skipped=0 status=0
retried=() unstarted=()

# Phase times: "NAME<TAB>SECONDS" lines, after those of the Makefile's
# installs and builds when it passes their file.
phase_file=$build/phase-times
[ "${VIS_PHASE_TIMES:-}" -ef "$phase_file" ] || : >"$phase_file"
phase_began=$SECONDS
# phase_done NAME: the time since the last phase ended goes to NAME.
phase_done() {
    printf '%s\t%s\n' "$1" $((SECONDS - phase_began)) >>"$phase_file"
    phase_began=$SECONDS
}

# results JUNIT: STATUS and NAME of each test, tab-separated.
results() { awk -f "$here/junit-results.awk" "$1"; }

# tally NAME PASSED SKIPPED LOG [FAILURE...]: prints a suite's counts and
# adds them to the totals; LOG names the suite's logs, joined by " and ".
tally() {
    local name=$1 ok=$2 skips=$3 log=$4
    shift 4
    echo "$name: $ok passed, $# failed, $skips skipped"
    passed=$((passed + ok)) skipped=$((skipped + skips)) failed=$((failed + $#))
    if [ $# -gt 0 ]; then
        status=1
        printf 'FAILED: %s\n' "$@"
        echo "(output in $log)"
        # What the failed cases said: GoogleTest's failure lines with the
        # values that follow them, at most 40 lines.
        local file
        for file in ${log// and / }; do
            [ -f "$file" ] && tr -d '\r' <"$file" | grep -A4 -E ': (Failure|error:)'
        done | head -n 40
    fi
}

# run_suite NAME DIR [ctest options]: runs CTest in DIR, one CTest test per
# case, and adds its counts.
run_suite() {
    local name=$1 dir=$2
    shift 2
    echo "== $name"
    local log=$dir/ctest.log junit=$dir/ctest-junit.xml
    rm -f "$junit" "$log"
    # A running count every few seconds, from CTest's line per finished test.
    local total done=0 said=$SECONDS line
    total=$(cd "$dir" && ctest -N "$@" 2>/dev/null | sed -n 's/^Total Tests: //p')
    (cd "$dir" && ctest --timeout 300 --output-on-failure -j"$jobs" --output-junit "$junit" "$@") 2>&1 |
        while IFS= read -r line; do
            printf '%s\n' "$line" >>"$log"
            case $line in
            *" Test "*"#"*) done=$((done + 1)) ;;
            *) continue ;;
            esac
            if [ $((SECONDS - said)) -ge 5 ]; then
                echo "$name: $done of ${total:-?} cases run"
                said=$SECONDS
            fi
        done
    if [ ! -s "$junit" ]; then
        echo "$name: CTest wrote no report; see $log"
        tail -n 20 "$log"
        failed=$((failed + 1)) status=1
        return
    fi
    local outcome test ok=0 skips=0 failures=()
    while IFS=$'\t' read -r outcome test; do
        case $outcome in
        passed) ok=$((ok + 1)) ;;
        skipped) skips=$((skips + 1)) ;;
        failed) failures+=("$test") ;;
        esac
    done < <(results "$junit")
    tally "$name" $ok $skips "$log" "${failures[@]}"
}

# read_report FILE PROGRAM: adds the cases of one case report to the counts;
# each case that passed goes to `now_passed`, each that did not, as
# PROGRAM<TAB>CASE, to `again`. A program that failed or ended early after
# all its cases passed goes to `program_failures`. Returns 1 when the report
# shows no planned case: the program never began.
read_report() {
    local file=$1 program=$2 word name rest end=none missed=0 planned=()
    local -A outcome=()
    [ -s "$file" ] || return 1
    while read -r word name rest; do
        case $word in
        plan) planned+=("$name") ;;
        passed | failed | skipped) outcome[$name]=$word ;;
        end) end=$name ;;
        esac
    done < <(tr -d '\r' <"$file")
    [ ${#planned[@]} -gt 0 ] || return 1
    for name in "${planned[@]}"; do
        case ${outcome[$name]:-unfinished} in
        passed) case_ok=$((case_ok + 1)) now_passed+=("$program $name") ;;
        skipped) case_skips=$((case_skips + 1)) ;;
        *) again+=("$program"$'\t'"$name") missed=1 ;;
        esac
    done
    if [ "$end" != passed ] && [ $missed = 0 ]; then
        program_failures+=("$program (after its cases: $end)")
    fi
    return 0
}

# program_line TEST SECONDS REPORT: one finished Windows test program, with
# its cases' outcomes so far (failed ones run again at the end).
program_line() {
    local test=$1 seconds=$2 report=$3 ok=0 bad=0 skips=0 planned=0 word rest
    if [ -s "$report" ]; then
        while read -r word rest; do
            case $word in
            plan) planned=$((planned + 1)) ;;
            passed) ok=$((ok + 1)) ;;
            skipped) skips=$((skips + 1)) ;;
            esac
        done < <(tr -d '\r' <"$report")
        bad=$((planned - ok - skips))
    fi
    printf '  %-28s %3d passed, %d failed, %d skipped %7.1f s\n' "$test" $ok $bad $skips "$seconds"
}

# still_running REPORTS: a line for each program whose case report has no
# end yet: the cases it has finished of those it plans.
still_running() {
    local report planned finished
    for report in "$1"/*.txt; do
        [ -s "$report" ] || continue
        grep -q '^end' "$report" && continue
        planned=$(grep -c '^plan' "$report")
        finished=$(grep -cE '^(passed|failed|skipped)' "$report")
        echo "  ... $(basename "$report" .txt) running, $finished of $planned cases done"
    done
}

# run_wine_suite NAME DIR: runs the Windows test programs through CTest in DIR
# and counts their cases from the case reports; failed cases run once more.
run_wine_suite() {
    local name=$1 dir=$2
    echo "== $name"
    local reports=$dir/case-reports log=$dir/ctest.log junit=$dir/ctest-junit.xml retry_log=$dir/ctest-retry.log
    rm -rf "$reports" "$junit" "$retry_log" "$log"
    mkdir -p "$reports"
    # A line per program as CTest finishes it, from its case report, and
    # after 10 s without one, which programs run and how far they are.
    local line got
    seed_wine_costs "$dir"
    (cd "$dir" && ctest --timeout 1200 --output-on-failure -j"$jobs" --resource-spec-file "$lanes_dir/screens.json" \
        --output-junit "$junit") 2>&1 |
        while true; do
            IFS= read -r -t 10 line
            got=$?
            if [ $got -gt 128 ]; then
                still_running "$reports"
                continue
            fi
            [ $got = 0 ] || break
            printf '%s\n' "$line" >>"$log"
            [[ $line =~ Test\ +#[0-9]+:\ ([^ ]+)\ .*\ ([0-9.]+)\ sec ]] || continue
            program_line "${BASH_REMATCH[1]}" "${BASH_REMATCH[2]}" "$reports/${BASH_REMATCH[1]}.txt"
        done
    if [ ! -s "$junit" ]; then
        echo "$name: CTest wrote no report; see $log"
        tail -n 20 "$log"
        failed=$((failed + 1)) status=1
        return
    fi
    local case_ok=0 case_skips=0 again=() now_passed=() program_failures=() silent=() outcome test
    while IFS=$'\t' read -r outcome test; do
        read_report "$reports/$test.txt" "${test%%.*}" || silent+=("$test")
    done < <(results "$junit")
    # A program that never began runs once more, as CTest ran it.
    if [ ${#silent[@]} -gt 0 ]; then
        local pattern
        pattern=$(printf '%s|' "${silent[@]}" | sed 's/\./\\./g')
        echo "  starting again, as Wine did not start them: ${silent[*]}"
        (cd "$dir" && ctest --timeout 1200 --output-on-failure --resource-spec-file "$lanes_dir/screens.json" \
            -R "^(${pattern%|})\$") >>"$retry_log" 2>&1
        for test in "${silent[@]}"; do
            if read_report "$reports/$test.txt" "${test%%.*}"; then
                unstarted+=("$test (its second start ran)")
            else
                unstarted+=("$test")
                program_failures+=("$test (never started)")
            fi
        done
    fi
    # Failed cases once more: per program, one process running only those.
    if [ ${#again[@]} -gt 0 ]; then
        local first=("${again[@]}") program report
        local -a cases
        again=()
        for program in $(printf '%s\n' "${first[@]}" | cut -f1 | sort -u); do
            mapfile -t cases < <(printf '%s\n' "${first[@]}" | awk -F'\t' -v p="$program" '$1 == p {print $2}')
            report=$reports/retry-$program.txt
            echo "  running again: $program, ${#cases[@]} failed case(s)"
            (cd "$dir/bin" && timeout 1200 "$WINE" "$program.exe" --gtest_filter="$(IFS=:; echo "${cases[*]}")" \
                --case_report="$report") </dev/null >>"$retry_log" 2>&1
            now_passed=()
            if read_report "$report" "$program"; then
                retried+=("${now_passed[@]}")
            else
                again+=("${cases[@]/#/$program$'\t'}")
            fi
        done
        log="$log and $retry_log"
    fi
    lane_lines "$dir/ctest.log"
    local failures=() entry
    for entry in "${again[@]}"; do failures+=("${entry/$'\t'/ }"); done
    failures+=("${program_failures[@]}")
    tally "$name" $case_ok $case_skips "$log" "${failures[@]}"
}

# The Windows programs run in lanes: each has a screen, a Wine prefix and a
# copy of the programs' folder (the DLL's, where plugin.ini is written) of
# its own, and CTest gives each program that needs a screen one of the
# lanes' (tools/wine-run.sh). One lane a core, two at most.
lane_count=$((jobs >= 2 ? 2 : 1))
lanes_dir=
export VIS_WINE_LANES=

# start_lanes BUILD: lane 1 in this shell, the others beside it in the
# background; a lane that does not come up is left out, with a word.
start_lanes() {
    local build=$1 lane pids=()
    lanes_dir=$build/lanes
    VIS_WINE_LANES=$lanes_dir
    rm -rf "$lanes_dir"
    mkdir -p "$lanes_dir"
    for lane in $(seq 2 "$lane_count"); do
        (
            wine_session_start "$build" "$lane" || {
                wine_session_stop
                exit 1
            }
            wine_session_env >"$lanes_dir/$lane.starting"
        ) </dev/null >"$lanes_dir/$lane.log" 2>&1 &
        pids[lane]=$!
    done
    wine_session_start "$build" || return 1
    local screens='{"id": "1", "slots": 1}'
    for lane in $(seq 2 "$lane_count"); do
        if wait "${pids[lane]}" && mv "$lanes_dir/$lane.starting" "$lanes_dir/$lane.env"; then
            # Hard links: the copy costs nothing, and what a program writes
            # beside itself (plugin.ini) is the lane's own.
            mkdir -p "$lanes_dir/$lane-bin"
            cp -l "$build"/bin/*.exe "$build"/bin/*.dll "$lanes_dir/$lane-bin/" 2>/dev/null ||
                cp "$build"/bin/*.exe "$build"/bin/*.dll "$lanes_dir/$lane-bin/"
            printf 'VIS_LANE_BIN=%q\n' "$lanes_dir/$lane-bin" >>"$lanes_dir/$lane.env"
            screens+=", {\"id\": \"$lane\", \"slots\": 1}"
        else
            echo "  lane $lane's session did not start ($lanes_dir/$lane.log); its programs run in the others"
            tail -n 5 "$lanes_dir/$lane.log"
        fi
    done
    printf '{"version": {"major": 1, "minor": 0}, "local": [{"screens": [%s]}]}\n' "$screens" >"$lanes_dir/screens.json"
    echo "  $(grep -o '"id"' "$lanes_dir/screens.json" | wc -l) lane(s), each with a screen, prefix and programs' folder of its own"
}

stop_lanes() {
    local env
    if [ -n "$release_pid" ]; then
        kill "$release_pid" 2>/dev/null
        wait "$release_pid" 2>/dev/null
    fi
    for env in "${lanes_dir:-/nonexistent}"/*.env "${lanes_dir:-/nonexistent}"/*.starting; do
        [ -f "$env" ] && (
            . "$env"
            wine_session_stop
        )
    done
    wine_session_stop
}

# The release tests (tools/release/test-release.sh) start many short Wine
# processes that mostly wait: they run beside the programs, in a session of
# their own (its registry and Program Files too), and say what they did once
# the programs are done.
release_pid=
start_release_lane() {
    local build=$1 wine_build=$2
    (
        wine_session_start "$wine_build" release || {
            wine_session_stop
            echo "the release tests' Wine session did not start"
            exit 1
        }
        # stop_lanes stops the session by this file if the run is cut short.
        wine_session_env >"$lanes_dir/release.env"
        "$here/release/test-release.sh" "$build" "$wine_build"
        result=$?
        wine_session_stop
        rm -f "$lanes_dir/release.env"
        exit $result
    ) </dev/null >"$lanes_dir/release.log" 2>&1 &
    release_pid=$!
}

finish_release_lane() {
    wait "$release_pid"
    local result=$?
    release_pid=
    cat "$lanes_dir/release.log"
    return $result
}

# seed_wine_costs DIR: CTest runs the longest programs first, by their times
# in its last run; a build folder that has none gets the usual ones, so
# that the lanes end close together from the first run on.
seed_wine_costs() {
    local costs=$1/Testing/Temporary/CTestCostData.txt
    [ -s "$costs" ] && return
    mkdir -p "${costs%/*}"
    awk '!/^#/ && NF == 2 { print $1, 1, $2 } END { print "---" }' "$here/wine-test-seconds.txt" >"$costs"
}

# lane_lines LOG: which programs each lane ran, and their seconds in all.
lane_lines() {
    local ran
    for ran in "$lanes_dir"/ran-*; do
        [ -f "$ran" ] || continue
        awk -v lane="${ran##*ran-}" 'FNR == NR { ran[$1] = 1; next }
            match($0, /Test +#[0-9]+: [^ ]+ /) {
                split(substr($0, RSTART, RLENGTH), part, " "); name = part[3]
                if ((name in ran) && match($0, /[0-9.]+ sec/)) { seconds += substr($0, RSTART, RLENGTH - 4); names = names " " name }
            }
            END { printf "  lane %s ran %.1f s:%s\n", lane, seconds, names }' "$ran" "$1"
    done
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

run_check "formatting" "$here/check-format.sh"
run_check "32-bit DLL tables" "$here/check-dll-tables.sh" "$build/cross/bin/vis_kt.dll"
run_check "32-bit DLL baseline" "$here/check-dll-baseline.sh" "$build/cross/bin/vis_kt.dll"
phase_done "formatting and DLL checks"
run_suite native "$build/native"
phase_done "native suite"
run_suite sanitizers "$build/asan"
phase_done "sanitizer suite"
# The fuzzers' fixed-seed pass: a few seconds, a line per fuzzer.
run_check "fuzzers, fixed seed" "$here/run-fuzzers.sh" "$build/fuzz" --smoke
phase_done "fuzzers, fixed seed"

trap 'stop_lanes' EXIT
trap 'exit 130' INT TERM
case $way in
native32) echo "== the Windows tests run the 32-bit build that ships, under 32-bit Wine" ;;
qemu32) echo "== the Windows tests run the 32-bit build that ships, under 32-bit Wine emulated by qemu" ;;
win64) echo "== this machine runs no 32-bit programs, natively or under qemu: the Windows tests run the 64-bit build" ;;
esac
if start_lanes "$wine_build"; then
    phase_done "Wine session start"
    start_release_lane "$build" "$wine_build"
    # A window test can lose a race with the X server on a loaded machine.
    run_wine_suite wine "$wine_build"
    phase_done "Windows test programs"
    run_check "release packages and installer" finish_release_lane
    phase_done "release tests, past the programs"
else
    failed=$((failed + 1)) status=1
fi
stop_lanes
trap - EXIT

echo "== time of each phase (seconds)"
awk -F'\t' '{ printf "  %-34s %5d\n", $1, $2; total += $2 } END { printf "  %-34s %5d\n", "total", total }' \
    "$phase_file"

for test in "${retried[@]}"; do echo "passed on retry: $test"; done
for test in "${unstarted[@]}"; do echo "never started (Wine did not run the test program): $test"; done
if [ "$way" = win64 ]; then
    echo "WARNING: the Windows tests ran the 64-bit build, not the 32-bit DLL that ships"
fi
echo "$passed passed, $failed failed, $skipped skipped"
exit $status
