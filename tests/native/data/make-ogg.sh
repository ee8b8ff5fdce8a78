#!/usr/bin/env bash
# Regenerates the two small Ogg Vorbis files that the reader tests decode:
# tone-stereo.ogg (22050 Hz, left 440 Hz at half scale, right 660 Hz at a
# quarter) and tone-mono.ogg (8000 Hz, 440 Hz at half scale), 0.3 s each.
# Needs ffmpeg built with libvorbis (Debian's is).
set -euo pipefail
cd "$(dirname "$0")"
encode() {
    ffmpeg -v error -y -f lavfi -i "aevalsrc=$1:s=$2:d=0.3" -c:a libvorbis -q:a 2 \
        -map_metadata -1 -fflags +bitexact -flags:a +bitexact "$3"
}
encode '0.5*sin(2*PI*440*t)|0.25*sin(2*PI*660*t)' 22050 tone-stereo.ogg
encode '0.5*sin(2*PI*440*t)' 8000 tone-mono.ogg
