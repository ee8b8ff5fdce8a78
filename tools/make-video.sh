#!/usr/bin/env bash
# `make video`: renders a song through a visualization plug-in into an MP4
# (H.264 and AAC) at the module's frame rate, with the song as its sound
# track. vis_host runs headless (Xvfb and Wine, the session of `make demo`)
# and streams its frames to ffmpeg; the song may be in any format ffmpeg reads.
# Usage: tools/make-video.sh [--module N] [--fps N] [--size WxH] [--double] [--out FILE] PLUGIN.dll AUDIO
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/tools/wine-session.sh"
. "$root/tools/video-stream.sh"

# Prints the usage to stderr and fails.
usage() {
    echo "usage: make video PLUGIN=path/to/plugin.dll AUDIO=song.mp3 [MODULE=n] [FPS=n] [SIZE=WxH] [DOUBLE=1] [OUT=file.mp4]" >&2
    exit 2
}

# Prints a name made for a file name: lower case, words joined by dashes.
file_name_part() {
    printf '%s' "$1" | tr '[:upper:]' '[:lower:]' | sed 's/[^a-z0-9_]\{1,\}/-/g; s/^-//; s/-$//'
}

module=0 out='' host_options=() list_options=()
while [ $# -gt 0 ]; do
    case $1 in
    --module) module=${2:?}; shift 2 ;;
    --fps) host_options+=(--fps "${2:?}"); list_options+=(--fps "$2"); shift 2 ;;
    --size) host_options+=(--size "${2:?}"); shift 2 ;;
    --double) host_options+=(--double); shift ;;
    --out) out=${2:?}; shift 2 ;;
    -*) usage ;;
    *) break ;;
    esac
done
[ $# -eq 2 ] && [ -n "$1" ] && [ -n "$2" ] || usage
plugin=$1 audio=$2
[[ $module =~ ^[0-9]+$ ]] || { echo "make-video: MODULE is a number, not '$module'" >&2; exit 2; }
[ -f "$plugin" ] || { echo "make-video: no plug-in at '$plugin'" >&2; exit 1; }
[ -f "$audio" ] || { echo "make-video: no audio file at '$audio'" >&2; exit 1; }

# The stand-in player that ships, wherever this machine runs 32-bit programs;
# where it runs none, the 64-bit build, which loads 64-bit plug-ins only.
way=$(wine_way)
host=$root/dist/vis_host.exe
if [ "$way" = win64 ]; then
    echo "== this machine runs no 32-bit programs: vis_host is the 64-bit build and runs 64-bit plug-ins only"
    host=$root/build/cross64/bin/vis_host.exe
    [ "$(realpath "$plugin")" = "$(realpath "$root/dist/vis_kt.dll")" ] && plugin=$root/build/cross64/bin/vis_kt.dll
fi

mkdir -p "$root/build"
work=$(mktemp -d "$root/build/video.XXXXXX")
# Stops the session and removes the FIFO, the WAV and the logs.
finish() {
    wine_session_stop
    rm -rf "$work"
}
trap finish EXIT

# vis_host reads WAV: the song as 16-bit stereo at 44100 Hz.
ffmpeg -nostdin -v error -y -i "$audio" -vn -ac 2 -ar 44100 -c:a pcm_s16le "$work/song.wav"

wine_session_start "$root/$(wine_build_dir build "$way")"
listing=$(video_list "$host" "$plugin" "${list_options[@]}") || exit 1
rate=$(video_listed_rate "$module" <<<"$listing")
[ -n "$rate" ] || {
    printf '%s\n' "$listing" >&2
    echo "make-video: the plug-in has no module $module" >&2
    exit 1
}
if [ -z "$out" ]; then
    name=$(video_listed_name "$module" <<<"$listing")
    out=$root/demo/$(file_name_part "$(basename "${plugin%.*}")")-$(file_name_part "$name")-$(file_name_part "$(basename "${audio%.*}")").mp4
fi
echo "== rendering module $module of $plugin at $rate frames per second, Wine way $way"
video_render "$work" "$host" "$plugin" "$work/song.wav" "$audio" "$rate" "$out" \
    --module "$module" "${host_options[@]}"
video_summary "$out"
