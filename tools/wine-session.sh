# Sourced by the scripts that run Windows programs: a private Xvfb screen and
# a persistent, primed wineserver with a prefix inside the build folder.
# wine_session_start BUILD_DIR sets DISPLAY and the WINE* variables;
# wine_session_stop stops everything that start started.

# Prints 32 when this machine runs 32-bit Wine, otherwise 64. Some kernels
# are built without 32-bit support; the Windows tests then run the 64-bit
# build under 64-bit Wine.
wine_bits() {
    if /usr/lib/wine/wine --version >/dev/null 2>&1; then echo 32; else echo 64; fi
}

wine_session_start() {
    local build=$1 n
    export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
    if [ "$(wine_bits)" = 32 ]; then
        export WINEARCH=win32 WINE=wine WINESERVER=/usr/bin/wineserver
    else
        export WINEARCH=win64 WINE=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver64
        export WINELOADER=$WINE
    fi
    for n in $(seq 90 250); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || break
    done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -ac -noreset >/dev/null 2>&1 &
    WINE_SESSION_XVFB=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 100); do
        [ -e "/tmp/.X11-unix/X$n" ] && break
        sleep 0.1
    done
    if [ ! -e "/tmp/.X11-unix/X$n" ]; then
        echo "wine-session: Xvfb did not start on $DISPLAY" >&2
        return 1
    fi
    mkdir -p "$WINEPREFIX"
    "$WINESERVER" -p
    # The first program starts Wine's services; they must not inherit our pipes.
    "$WINE" cmd /c exit </dev/null >/dev/null 2>&1
    # Without a window manager, every DestroyWindow otherwise waits 2 s.
    "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
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
