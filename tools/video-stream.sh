# Sourced by make-video.sh and make-demo.sh: runs vis_host in stream mode
# and ffmpeg side by side, the frames going from one to the other as PPM
# images through a FIFO, and turns them with the song into an MP4 (H.264 and
# AAC). Needs a Wine session (wine_session_start).

# Prints a path as the Wine programs see it, on the drive Z: that maps /.
video_windows_path() {
    local path
    path=$(realpath "$1")
    printf 'Z:%s' "${path//\//\\}"
}

# Prints the plug-in's description and its modules, one a line with the
# frame rate it is captured at: video_list HOST PLUGIN [--fps F]. On failure
# vis_host's words go to stderr. Lines come from Wine with Windows ends.
video_list() {
    local host=$1 plugin=$2 listing
    shift 2
    listing=$("$WINE" "$host" "$@" --list "$(video_windows_path "$plugin")" 2>&1 | tr -d '\r') || {
        printf '%s\n' "$listing" >&2
        return 1
    }
    printf '%s\n' "$listing"
}

# Prints module N's frame rate as ffmpeg takes it ("1000/25", "60") from
# video_list's lines on stdin.
video_listed_rate() {
    sed -n "s/^ *$1  .*  (captured at \([0-9/]*\) frames per second)\$/\1/p"
}

# Prints module N's name from video_list's lines on stdin.
video_listed_name() {
    sed -n "s/^ *$1  \(.*\)  (captured at [0-9/]* frames per second)\$/\1/p"
}

# Rewrites the progress line in place from ffmpeg's progress report:
# video_show_progress REPORT SONG_SECONDS.
video_show_progress() {
    [ -s "$1" ] || return 0
    awk -F= -v song="$2" '
        $1 == "frame" { frame = $2 }
        $1 == "out_time_us" && $2 ~ /^[0-9]+$/ { us = $2 }
        END { if (frame != "") printf "\rmake-video: %s frames, %.1f s of %.1f s ", frame, us / 1e6, song }' "$1"
}

# Stops a background process whatever it is doing; ffmpeg waiting to open
# the FIFO restarts the open after SIGTERM, so it gets SIGKILL.
video_stop() {
    kill -KILL "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
}

# Renders the song through the plug-in into OUT:
#   video_render WORK HOST PLUGIN WAV AUDIO RATE OUT [VIS_HOST_OPTION...]
# WORK is a folder for the FIFO and the logs, HOST vis_host.exe, WAV the song
# as vis_host reads it, AUDIO the file whose sound becomes the sound track,
# RATE the frames per second. vis_host's closing line goes to stdout. When
# vis_host fails, its own words go to stderr, ffmpeg is stopped and OUT is
# left as it was; the status is non-zero.
video_render() {
    local work=$1 host=$2 plugin=$3 wav=$4 audio=$5 rate=$6 out=$7
    shift 7
    local fifo=$work/frames.ppm partial=$work/video.mp4 report=$work/progress
    local seconds ffmpeg_pid host_pid host_status=0 ffmpeg_status=0
    seconds=$(ffprobe -v error -show_entries format=duration -of default=nw=1:nk=1 "$wav")
    rm -f "$fifo" "$partial" "$report"
    mkfifo "$fifo"
    # Even dimensions for yuv420p: a plug-in's window may have odd ones (275 x 46).
    ffmpeg -nostdin -v error -nostats -progress "$report" -stats_period 0.5 -y \
        -f image2pipe -c:v ppm -framerate "$rate" -i "$fifo" -i "$audio" \
        -map 0:v:0 -map 1:a:0 -vf "pad=ceil(iw/2)*2:ceil(ih/2)*2" \
        -c:v libx264 -preset fast -crf 18 -pix_fmt yuv420p -c:a aac -b:a 192k \
        -movflags +faststart "$partial" 2>"$work/ffmpeg.log" &
    ffmpeg_pid=$!
    "$WINE" "$host" "$@" --stream "$(video_windows_path "$fifo")" "$(video_windows_path "$plugin")" \
        "$(video_windows_path "$wav")" >"$work/vis_host.out" 2>"$work/vis_host.err" &
    host_pid=$!
    # While vis_host captures: the progress line, and a stop when ffmpeg
    # gives up (vis_host would wait for a reader of the FIFO for ever).
    while kill -0 "$host_pid" 2>/dev/null; do
        if ! kill -0 "$ffmpeg_pid" 2>/dev/null; then
            wait "$ffmpeg_pid" || ffmpeg_status=$?
            video_stop "$host_pid"
            printf '\n' >&2
            cat "$work/ffmpeg.log" >&2
            echo "make-video: ffmpeg stopped (status $ffmpeg_status) while vis_host captured" >&2
            rm -f "$fifo" "$partial"
            return 1
        fi
        video_show_progress "$report" "$seconds"
        sleep 0.5
    done
    wait "$host_pid" || host_status=$?
    if [ "$host_status" -ne 0 ]; then
        # The plug-in's failure, in vis_host's words; not ffmpeg's echo of it.
        video_stop "$ffmpeg_pid"
        printf '\n' >&2
        tr -d '\r' <"$work/vis_host.err" >&2
        echo "make-video: vis_host failed (status $host_status); no video written" >&2
        rm -f "$fifo" "$partial"
        return 1
    fi
    # A run that never opened the FIFO leaves ffmpeg waiting in its open: a
    # writer that comes and goes lets it through to the end of the stream.
    exec {unblock}<>"$fifo"
    exec {unblock}>&-
    wait "$ffmpeg_pid" || ffmpeg_status=$?
    video_show_progress "$report" "$seconds"
    printf '\n'
    rm -f "$fifo"
    tr -d '\r' <"$work/vis_host.out"
    if [ "$ffmpeg_status" -ne 0 ]; then
        cat "$work/ffmpeg.log" >&2
        echo "make-video: ffmpeg failed (status $ffmpeg_status); no video written" >&2
        rm -f "$partial"
        return 1
    fi
    mkdir -p "$(dirname "$out")"
    mv -f "$partial" "$out"
}

# Prints the closing line: the file, its length and its number of frames.
video_summary() {
    local out=$1 seconds frames
    seconds=$(ffprobe -v error -show_entries format=duration -of default=nw=1:nk=1 "$out")
    frames=$(ffprobe -v error -select_streams v:0 -show_entries stream=nb_frames -of default=nw=1:nk=1 "$out")
    printf 'make-video: wrote %s: %.2f s, %s frames\n' "$out" "$seconds" "$frames"
}
