# Sourced by the scripts that run Windows programs: a private Xvfb screen and
# a persistent, primed wineserver with a prefix inside the build folder.
# wine_session_start BUILD_DIR sets DISPLAY and the WINE* variables;
# wine_session_stop stops everything that start started.

wine_session_start() {
    local build=$1 n
    export WINEPREFIX="$build/wineprefix" WINEARCH=win32 WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
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
    wineserver -p
    # The first program starts Wine's services; they must not inherit our pipes.
    wine cmd /c exit </dev/null >/dev/null 2>&1
    # Without a window manager, every DestroyWindow otherwise waits 2 s.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
}

wine_session_stop() {
    if [ -n "${WINEPREFIX:-}" ]; then
        wineserver -k >/dev/null 2>&1 || true
        wineserver -w >/dev/null 2>&1 || true
    fi
    if [ -n "${WINE_SESSION_XVFB:-}" ]; then
        kill "$WINE_SESSION_XVFB" 2>/dev/null || true
        wait "$WINE_SESSION_XVFB" 2>/dev/null || true
        WINE_SESSION_XVFB=
    fi
}
