#!/usr/bin/env bash
# `make demo`: synthesizes the demo clip, runs vis_host headless (Xvfb and
# Wine) in capture mode on both modules at double size and assembles
# demo/deduzodo.gif and demo/vu-meter.gif at the plug-in's frame rate, with a
# still of each (demo/*.png, copied to doc/ for the README); the same frames,
# streamed, make demo/deduzodo.mp4 and demo/vu-meter.mp4 with the clip's sound.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. tools/wine-session.sh
. tools/video-stream.sh

# The programs that ship, dist/vis_host.exe and dist/vis_kt.dll, wherever
# this machine runs 32-bit programs; the Makefile has built what is needed.
way=$(wine_way)
programs=dist
if [ "$way" = win64 ]; then
    echo "== this machine runs no 32-bit programs: the demo captures the 64-bit build"
    programs=build/cross64/bin
fi

work=build/demo
rm -rf "$work"
mkdir -p "$work" demo doc
build/native/bin/democlip "$work/clip.wav"
cp "$programs/vis_host.exe" "$programs/vis_kt.dll" "$work/"
echo "== capturing with $programs/vis_host.exe and $programs/vis_kt.dll, Wine way $way"

# Captures every frame of one module as PNG files and, in the same run, into
# the module's video: capture MODULE NAME
capture() {
    local rate
    rate=$(video_list "$work/vis_host.exe" "$work/vis_kt.dll" | video_listed_rate "$1")
    video_render "$work" "$work/vis_host.exe" "$work/vis_kt.dll" "$work/clip.wav" "$work/clip.wav" "$rate" \
        "demo/$2.mp4" --double --module "$1" --capture "$(video_windows_path "$work")\\frames-$2" | tee "$work/$2.log"
}
trap wine_session_stop EXIT
wine_session_start "$root/$(wine_build_dir build "$way")"
capture 0 deduzodo
capture 1 vu-meter
wine_session_stop
trap - EXIT

for name in deduzodo vu-meter; do
    ms=$(sed -n 's/.* frames of \([0-9]*\) ms .*/\1/p' "$work/$name.log")
    count=$(ls "$work/frames-$name" | wc -l)
    [ -n "$ms" ] && [ "$count" -gt 0 ] || { echo "make-demo: no frames captured for $name" >&2; exit 1; }
    rate=$(awk -v ms="$ms" 'BEGIN { printf "%g", 1000 / ms }')
    ffmpeg -v error -y -framerate "$rate" -i "$work/frames-$name/frame-%06d.png" \
        -vf "split[a][b];[a]palettegen=stats_mode=full[p];[b][p]paletteuse=dither=none" "demo/$name.gif"
    # The still: the frame six seconds in, when the sweep is high and every meter moves.
    still=$(( 6000 / ms + 1 ))
    [ "$still" -le "$count" ] || still=$count
    cp "$work/frames-$name/$(printf 'frame-%06d.png' "$still")" "demo/$name.png"
    cp "demo/$name.png" "doc/$name.png"
    echo "make-demo: $count frames at $rate frames per second"
done
echo "make-demo: wrote $root/demo/deduzodo.gif, $root/demo/vu-meter.gif,"
echo "           $root/demo/deduzodo.png and $root/demo/vu-meter.png (stills also in doc/),"
echo "           $root/demo/deduzodo.mp4 and $root/demo/vu-meter.mp4"
