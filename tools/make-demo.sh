#!/usr/bin/env bash
# `make demo`: synthesizes the demo clip, runs vis_host headless (Xvfb and
# Wine) in capture mode on both modules at double size and assembles
# demo/deduzodo.gif and demo/vu-meter.gif at the plug-in's frame rate, with a
# still of each (demo/*.png, copied to doc/ for the README).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. tools/wine-session.sh
jobs=${JOBS:-2}

# The build that can run here: 32-bit where the kernel runs 32-bit programs.
if [ "$(wine_bits)" = 32 ]; then
    build=build/cross toolchain=cmake/mingw-i686.cmake
else
    build=build/cross64 toolchain=cmake/mingw-x86_64.cmake
fi
cmake -S . -B build/native >/dev/null
cmake --build build/native --target democlip -j"$jobs"
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/$toolchain" >/dev/null
cmake --build "$build" --target vis_host vis_kt -j"$jobs"

work=build/demo
rm -rf "$work"
mkdir -p "$work" demo doc
build/native/bin/democlip "$work/clip.wav"
cp "$build/bin/vis_host.exe" "$build/bin/vis_kt.dll" "$work/"

# Captures every frame of one module: capture MODULE NAME
capture() {
    (cd "$work" && "$WINE" vis_host.exe --double --module "$1" --capture "frames-$2" vis_kt.dll clip.wav) | tee "$work/$2.log"
}
trap wine_session_stop EXIT
wine_session_start "$root/$build"
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
echo "           $root/demo/deduzodo.png and $root/demo/vu-meter.png (stills also in doc/)"
