# Sourced by the scripts that run Windows programs: a private Xvfb screen and
# a persistent, primed wineserver with a prefix inside the build folder.
# wine_session_start BUILD_DIR [LANE] sets DISPLAY, WINE (the command that
# runs the build's programs) and the WINE* variables; wine_session_stop
# stops everything that start started. A LANE other than 1 has a screen and
# prefix of its own, so that its programs run beside lane 1's without seeing
# them; wine_session_env prints a session's variables for another shell.

wine_session_tools=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# Prints how this machine runs the 32-bit programs that ship:
#   native32  the kernel runs 32-bit programs: 32-bit Wine as it is;
#   qemu32    it does not, but qemu user emulation runs the 32-bit Wine
#             loader inside a 64-bit Wine;
#   win64     neither: only the 64-bit build of the same sources can run.
# VIS_WINE_WAY names one instead, to try a way on a machine that has a better one.
wine_way() {
    case "${VIS_WINE_WAY:-}" in
    native32 | qemu32 | win64) echo "$VIS_WINE_WAY" ;;
    "")
        if /usr/lib/wine/wine --version >/dev/null 2>&1; then
            echo native32
        elif command -v qemu-i386-static >/dev/null && [ -x /usr/lib/wine/wine64 ] &&
            qemu-i386-static /usr/lib/wine/wine --version >/dev/null 2>&1; then
            echo qemu32
        else
            echo win64
        fi
        ;;
    *)
        echo "wine-session: VIS_WINE_WAY is '$VIS_WINE_WAY'; use native32, qemu32 or win64" >&2
        return 1
        ;;
    esac
}

# Prints the cross build folder under ROOT whose programs the way runs.
wine_build_dir() {
    if [ "$2" = win64 ]; then echo "$1/cross64"; else echo "$1/cross"; fi
}

# Lays out DIR like Wine's own tree around a copy of the 32-bit loader and
# the script that runs it under qemu (tools/qemu-wine), with the shim that
# mends what the emulation gets wrong (tools/qemu-wine/shim) built for
# 32-bit processes and an empty stand-in for 64-bit ones.
wine_qemu_tree() {
    local dir=$1 platform
    mkdir -p "$dir/lib/wine" "$dir/preload/i686" "$dir/preload/x86_64" || return 1
    wine_tree_file "$dir/lib/wine/wine-i386" cp /usr/lib/wine/wine &&
        wine_tree_file "$dir/lib/wine/wine64" cp /usr/lib/wine/wine64 &&
        wine_tree_file "$dir/lib/wine/wine" cp "$wine_session_tools/qemu-wine/loader.sh" || return 1
    ln -sfn /usr/lib/i386-linux-gnu "$dir/lib/i386-linux-gnu"
    ln -sfn /usr/lib/x86_64-linux-gnu "$dir/lib/x86_64-linux-gnu"
    ln -sfn /usr/share "$dir/share"
    # No 32-bit headers on these machines: the shim declares what it uses.
    wine_tree_file "$dir/preload/i686/qemu_shim.so" gcc -m32 -O2 -Wall -fPIC -funwind-tables -shared -nostdlib \
        "$wine_session_tools"/qemu-wine/shim/*.c /usr/lib/i386-linux-gnu/libc.so.6 -o || return 1
    echo >"$dir/preload/empty.c"
    wine_tree_file "$dir/preload/x86_64/qemu_shim.so" gcc -O2 -fPIC -shared -nostdlib "$dir/preload/empty.c" -o ||
        return 1
    # The names the dynamic loaders may give $PLATFORM on these processors.
    for platform in i386 i486 i586; do ln -sfn i686 "$dir/preload/$platform"; done
    for platform in haswell xeon_phi; do ln -sfn x86_64 "$dir/preload/$platform"; done
}

# wine_tree_file FILE COMMAND...: COMMAND, given the path to write as its
# last argument, makes FILE anew; it replaces FILE only when it differs, by
# a rename, so that the processes of a running lane keep what they mapped.
wine_tree_file() {
    local file=$1
    shift
    "$@" "$file.new" || return 1
    if cmp -s "$file.new" "$file"; then rm -f "$file.new"; else mv -f "$file.new" "$file"; fi
}

wine_session_start() {
    local build=$1 lane=${2:-1} way
    way=$(wine_way) || return 1
    WINE_SESSION_WAY=$way
    export WINEPREFIX="$build/wineprefix-$way" WINEDEBUG=-all
    [ "$lane" = 1 ] || WINEPREFIX+="-lane$lane"
    export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
    # WINE runs the build's programs; wine_admin runs Wine's own tools
    # (the registry) in the prefix's native architecture.
    case $way in
    native32)
        export WINEARCH=win32 WINE=/usr/lib/wine/wine WINESERVER=/usr/lib/wine/wineserver64
        wine_admin=$WINE
        ;;
    qemu32)
        wine_shared_step "$build" wine_qemu_tree "$build/wine-qemu" || {
            echo "wine-session: could not lay out the emulated 32-bit Wine in $build/wine-qemu" >&2
            return 1
        }
        export WINEARCH=win64 WINE=$build/wine-qemu/lib/wine/wine WINESERVER=/usr/lib/wine/wineserver64
        wine_admin=$build/wine-qemu/lib/wine/wine64
        ;;
    win64)
        export WINEARCH=win64 WINE=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver64
        export WINELOADER=$WINE
        wine_admin=$WINE
        ;;
    esac
    # Xvfb takes a free display itself and names it once it serves it, so
    # that sessions starting at once never pick the same one.
    local named
    named=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -ac -noreset 3>"$named" >/dev/null 2>&1 &
    WINE_SESSION_XVFB=$!
    local i
    for i in $(seq 100); do
        [ -s "$named" ] && break
        sleep 0.1
    done
    export DISPLAY=":$(tr -dc 0-9 <"$named")"
    rm -f "$named"
    if [ "$DISPLAY" = : ]; then
        echo "wine-session: Xvfb did not start" >&2
        return 1
    fi
    mkdir -p "$WINEPREFIX"
    "$WINESERVER" -p
    # The first program starts Wine's services; they must not inherit our pipes.
    "$wine_admin" cmd /c exit </dev/null >/dev/null 2>&1
    if [ "$way" = qemu32 ]; then
        # A 32-bit process of a 64-bit prefix loads its DLLs from syswow64,
        # which only a 32-bit Wine fills; without winex11.drv no window opens.
        cp -rn /usr/lib/i386-linux-gnu/wine/i386-windows/. "$WINEPREFIX/drive_c/windows/syswow64/"
    fi
    # Without a window manager, every DestroyWindow otherwise waits 2 s.
    wine_reg_set 'HKCU\Software\Wine\X11 Driver' Managed REG_SZ N
    # Direct3D and DirectDraw present before the call returns (no command
    # stream thread): a window read back right after a present shows it.
    wine_reg_set 'HKCU\Software\Wine\Direct3D' csmt REG_DWORD 0
    wine_virtual_desktop || return 1
    wine_desktop_up "$build" "$way"
}

# wine_shared_step BUILD_DIR COMMAND...: a step that writes files every lane
# uses, one lane at a time.
wine_shared_step() {
    local build=$1
    shift
    (
        flock 9
        "$@"
    ) 9>"$build/.wine-session.lock"
}

# Prints the session's variables as commands that set them in another shell.
wine_session_env() {
    local name
    for name in DISPLAY WINEPREFIX WINEARCH WINE WINESERVER WINELOADER WINEDEBUG WINEDLLOVERRIDES; do
        [ -n "${!name:-}" ] && printf 'export %s=%q\n' "$name" "${!name}"
    done
    printf 'WINE_SESSION_WAY=%q WINE_SESSION_XVFB=%q\n' "$WINE_SESSION_WAY" "${WINE_SESSION_XVFB:-}"
}

wine_reg_set() {
    "$wine_admin" reg add "$1" /v "$2" /t "$3" /d "$4" /f </dev/null >/dev/null 2>&1
}

# VIS_WINE_DESKTOP=WxH runs the session in a Wine virtual desktop of that
# size, in which a full-screen plug-in can set a display mode of its own;
# Xvfb has only its one mode (Wine's ChangeDisplaySettings answers "bad
# mode"), so without it such a plug-in gets the whole screen as it is. Not
# the default: inside a virtual desktop Wine confines the cursor as Windows
# does, and a drag by hand that outruns its window ends otherwise than the
# window tests expect. The desktop reads the
# setting when it starts, and the first program may have started it already:
# a changed setting starts the session over.
wine_virtual_desktop() {
    local want=${VIS_WINE_DESKTOP:-} have
    if [ -n "$want" ] && ! [[ $want =~ ^[0-9]+x[0-9]+$ ]]; then
        echo "wine-session: VIS_WINE_DESKTOP is '$want'; use WIDTHxHEIGHT" >&2
        return 1
    fi
    have=$("$wine_admin" reg query 'HKCU\Software\Wine\Explorer\Desktops' /v Default </dev/null 2>/dev/null |
        awk '$1 == "Default" { print $3 }' | tr -d '\r')
    [ "$have" = "$want" ] && return 0
    if [ -n "$want" ]; then
        wine_reg_set 'HKCU\Software\Wine\Explorer' Desktop REG_SZ Default
        wine_reg_set 'HKCU\Software\Wine\Explorer\Desktops' Default REG_SZ "$want"
    else
        "$wine_admin" reg delete 'HKCU\Software\Wine\Explorer' /f </dev/null >/dev/null 2>&1
    fi
    "$WINESERVER" -k >/dev/null 2>&1
    "$WINESERVER" -w >/dev/null 2>&1
    "$WINESERVER" -p
}

# Brings the session's desktop up with a program that opens one window,
# built for the architecture the way runs and run with the way's loader.
wine_desktop_up() {
    local build=$1 way=$2 compiler=i686-w64-mingw32-gcc-posix program=$1/desktop-window.exe
    [ "$way" = win64 ] && compiler=x86_64-w64-mingw32-gcc-posix
    if [ ! -x "$program" ] || [ "$wine_session_tools/desktop-window.c" -nt "$program" ]; then
        wine_shared_step "$build" "$compiler" -O2 -o "$program" "$wine_session_tools/desktop-window.c" || return 1
    fi
    local try
    for try in 1 2 3; do
        (cd "$build" && "$WINE" desktop-window.exe </dev/null >/dev/null 2>&1) && return 0
        sleep 1
    done
    echo "wine-session: the desktop did not come up (tools/desktop-window.c)" >&2
    return 1
}

wine_session_stop() {
    if [ -n "${WINEPREFIX:-}" ]; then
        "$WINESERVER" -k >/dev/null 2>&1 || true
        "$WINESERVER" -w >/dev/null 2>&1 || true
    fi
    if [ -n "${WINE_SESSION_XVFB:-}" ]; then
        kill "$WINE_SESSION_XVFB" 2>/dev/null || true
        wait "$WINE_SESSION_XVFB" 2>/dev/null || true
        WINE_SESSION_XVFB=
    fi
}
