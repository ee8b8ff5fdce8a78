#!/usr/bin/env bash
# Checks `make video` by hand (it is not part of `make test`): a 3-second
# tone through dist/vis_kt.dll must give an MP4 of that length, 40 frames a
# second and a sound track; a file that is no plug-in must fail with
# vis_host's words and leave no video, and so must a plug-in that faults
# while it streams (the probe plug-in of the Windows tests, when `make test`
# or `make cross` has built it). Run after `make`.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
work=$(mktemp -d "$root/build/video-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0

# Reports one check: check NAME CONDITION...
check() {
    local name=$1
    shift
    if "$@"; then
        echo "ok      $name"
    else
        echo "FAILED  $name"
        failures=$((failures + 1))
    fi
}

# Prints one entry of ffprobe for FILE: probe FILE STREAM ENTRY.
probe() {
    ffprobe -v error -select_streams "$2" -show_entries "$3" -of default=nw=1:nk=1 "$1"
}

# Succeeds when A is within TOLERANCE of B (numbers with decimals).
near() {
    awk -v a="$1" -v b="$2" -v t="$3" 'BEGIN { exit !(a - b <= t && b - a <= t) }'
}

ffmpeg -nostdin -v error -f lavfi -i "sine=frequency=440:duration=3" -ac 2 -c:a libopus "$work/tone.opus"
tools/make-video.sh --out "$work/tone.mp4" dist/vis_kt.dll "$work/tone.opus" >"$work/good.log" 2>&1 ||
    { cat "$work/good.log"; }
check "the video is written" test -s "$work/tone.mp4"
if [ -s "$work/tone.mp4" ]; then
    check "H.264 at 40 frames a second" test "$(probe "$work/tone.mp4" v:0 stream=codec_name,r_frame_rate | paste -sd' ')" = "h264 40/1"
    check "3 s long" near "$(probe "$work/tone.mp4" v:0 format=duration)" 3 0.05
    check "a frame every 25 ms" near "$(probe "$work/tone.mp4" v:0 stream=nb_frames)" 120 1
    check "an AAC sound track" test "$(probe "$work/tone.mp4" a:0 stream=codec_name)" = aac
    check "the closing line names the file" grep -q "wrote $work/tone.mp4: 3.0[0-9] s, 12[01] frames" "$work/good.log"
fi

echo "not a library" >"$work/text.dll"
status=0
tools/make-video.sh --out "$work/text.mp4" "$work/text.dll" "$work/tone.opus" >"$work/bad.log" 2>&1 || status=$?
check "a file that is no plug-in fails" test "$status" -ne 0
check "with vis_host's words" grep -q '^vis_host: .*text.dll' "$work/bad.log"
check "and no ffmpeg message" bash -c '! grep -qi "ffmpeg\|pipe:\|Invalid data" "$1"' - "$work/bad.log"
check "and no video" test ! -e "$work/text.mp4"
probe=build/cross/bin/probe_vis.dll
if [ -f "$probe" ]; then
    status=0
    tools/make-video.sh --module 3 --out "$work/fault.mp4" "$probe" "$work/tone.opus" >"$work/fault.log" 2>&1 || status=$?
    check "a Render that faults fails" test "$status" -ne 0
    check "with vis_host's words" grep -q "^vis_host: the module's Render faulted" "$work/fault.log"
    check "and no video" test ! -e "$work/fault.mp4"
else
    echo "skipped a Render that faults: no $probe (make cross builds it)"
fi
[ "$failures" -eq 0 ] || { echo "$failures failed"; exit 1; }
echo "all passed"
