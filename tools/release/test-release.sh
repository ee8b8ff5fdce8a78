#!/usr/bin/env bash
# Tests of what `make release` ships, run inside a Wine session
# (tools/wine-session.sh): the zip's contents, and the installer run silently
# and through its window (tests/wine/installer_driver.cpp) against fake
# player folders whose winamp.exe is tests/wine/player_stub.cpp.
# Usage: tools/release/test-release.sh BUILD WINE_BUILD
#   BUILD/cross/bin/vis_kt.dll is packed as it ships (zip, x86 installer);
#   the installer that runs is built from WINE_BUILD: the x86 one where Wine
#   runs 32-bit programs (natively or under qemu), else a 64-bit build of the
#   same script around WINE_BUILD's 64-bit DLL.
set -u
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(cd "$1" && pwd)
wine_build=$(cd "$2" && pwd)
: "${WINE:?run inside a Wine session}"

failures=0
ok() { echo "ok - $*"; }
bad() { echo "FAIL - $*"; failures=$((failures + 1)); }
# check DESCRIPTION COMMAND...: one assertion.
check() {
    local what=$1
    shift
    if "$@"; then ok "$what"; else bad "$what"; fi
}
winpath() { local p=${1//\//\\}; printf 'Z:%s' "$p"; }
wine_quiet() { "$WINE" "$@" </dev/null >/dev/null 2>&1; }

read -r version numbers < <(make -s --no-print-directory -C "$root" version)
work=$build/release-test
rm -rf "$work"
mkdir -p "$work"

# --- what ships: built from the 32-bit DLL ----------------------------------
shipped_dll=$build/cross/bin/vis_kt.dll
if ! "$here/make-release.sh" "$version" "$numbers" "$shipped_dll" "$work/dist" >"$work/make-release.log" 2>&1; then
    cat "$work/make-release.log"
    bad "make-release.sh packs $shipped_dll"
    exit 1
fi
zipfile=$work/dist/vis_kt-$version.zip
setup32=$work/dist/vis_kt-$version-setup.exe
check "zip named after version $version" test -f "$zipfile"
check "x86 installer named after version $version" test -f "$setup32"
listing=$(unzip -Z1 "$zipfile" | sort | tr '\n' ' ')
check "zip holds exactly readme.txt and vis_kt.dll (has: $listing)" test "$listing" = "readme.txt vis_kt.dll "
mkdir -p "$work/unzipped"
unzip -q -o "$zipfile" -d "$work/unzipped"
check "zip's vis_kt.dll is the 32-bit build, byte for byte" cmp -s "$work/unzipped/vis_kt.dll" "$shipped_dll"
check "read-me names version $version" grep -q "vis_kt $version" "$work/unzipped/readme.txt"
check "read-me has no placeholder left" bash -c '! grep -q @VERSION@ "$1"' _ "$work/unzipped/readme.txt"
check "read-me has Windows line ends" bash -c '[ "$(grep -c $'"'"'\r$'"'"' "$1")" = "$(wc -l <"$1")" ]' _ "$work/unzipped/readme.txt"
check "x86 installer is a 32-bit program" bash -c 'objdump -f "$1" | grep -q "file format pei-i386"' _ "$setup32"
check "installer's version resource names version $version" \
    bash -c 'strings -el "$1" | grep -qx "vis_kt $2 Setup.*"' _ "$setup32" "$version"

# A DLL of the wrong architecture is refused: any 64-bit one, Wine's own if
# no 64-bit build was made.
wrong_dll=$wine_build/bin/vis_kt.dll
[ "$wine_build" = "$build/cross" ] && wrong_dll=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/version.dll
check "make-release.sh refuses a 64-bit DLL for the x86 installer" \
    bash -c '! "$1" "$2" "$3" "$4" "$5" >/dev/null 2>&1' _ "$here/make-release.sh" "$version" "$numbers" \
    "$wrong_dll" "$work/wrong"
check "nothing packed for the refused DLL" test ! -e "$work/wrong/vis_kt-$version.zip"

# --- the installer at work ---------------------------------------------------
packed_dll=$wine_build/bin/vis_kt.dll
if [ "$wine_build" = "$build/cross" ]; then
    setup=$setup32
else
    echo "== the installer that runs is the 64-bit build of the same script"
    if ! "$here/make-release.sh" --amd64 "$version" "$numbers" "$packed_dll" "$work/dist64" >>"$work/make-release.log" 2>&1; then
        cat "$work/make-release.log"
        bad "make-release.sh --amd64 packs $packed_dll"
        exit 1
    fi
    setup=$work/dist64/vis_kt-$version-setup-amd64.exe
fi
stub=$wine_build/bin/player_stub.exe

player_uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Winamp'
player_key='HKCU\Software\Winamp'
our_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\vis_kt'
uninstaller=uninstall-vis_kt.exe

forget_player() {
    wine_quiet reg delete "$player_uninstall_key" /f
    wine_quiet reg delete "$player_key" /f
    wine_quiet reg delete "$our_key" /f
}
key_exists() { wine_quiet reg query "$1"; }
key_absent() { ! key_exists "$1"; }
# reg_value KEY NAME: prints the value's data.
reg_value() {
    "$WINE" reg query "$1" /v "$2" </dev/null 2>/dev/null | tr -d '\r' |
        sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}
# fake_player DIR: a player folder with its program and, if asked, a plugin.ini.
fake_player() {
    mkdir -p "$1"
    cp "$stub" "$1/winamp.exe"
}
# Bytes other plug-ins left in plugin.ini, CR LF and a non-ASCII byte included.
write_plugin_ini() {
    mkdir -p "$1/Plugins"
    printf '[other plug-in]\r\nkey=value \xe9\r\n\r\n[ZARir 1.1 Deduzodo]\r\nMode=5\r\nX=12\r\nY=34\r\n' >"$1/Plugins/plugin.ini"
    cp "$1/Plugins/plugin.ini" "$work/plugin.ini.before"
}
# run_line COMMAND_LINE: runs a Windows command line exactly as typed, through
# a batch file, and prints its exit code. NSIS reads /D= and _?= only
# unquoted, spaces included, which Wine's quoting of arguments would break.
run_line() {
    printf '%s\r\n' "@$1" '@exit /b %ERRORLEVEL%' >"$work/line.bat"
    "$WINE" cmd /c "$(winpath "$work/line.bat")" </dev/null >/dev/null 2>&1
    echo $?
}
run_setup() { run_line "\"$(winpath "$setup")\" $*"; }
# uninstall_in_place PLUGINS_DIR: _?= keeps the uninstaller from copying
# itself away, so it runs synchronously (and cannot delete its own file).
uninstall_in_place() { run_line "\"$(winpath "$1")\\$uninstaller\" /S _?=$(winpath "$1")"; }
# wait_gone FILE...: waits up to 30 s until every file is gone.
wait_gone() {
    local i f left
    for i in $(seq 300); do
        left=0
        for f in "$@"; do [ -e "$f" ] && left=1; done
        [ "$left" = 0 ] && return 0
        sleep 0.1
    done
    return 1
}

forget_player

# 1. Found through the player's uninstall entry, a quoted path with options.
a=$work/players/Player\ A
fake_player "$a"
write_plugin_ini "$a"
wine_quiet reg add "$player_uninstall_key" /v UninstallString /d "\"$(winpath "$a")\\UninstWA.exe\" /quiet" /f
rc=$(run_setup /S)
check "silent install into the folder of the player's uninstaller exits 0 (got $rc)" test "$rc" = 0
check "Plugins\\vis_kt.dll is the DLL packed, byte for byte" cmp -s "$a/Plugins/vis_kt.dll" "$packed_dll"
check "plugin.ini survived the install byte for byte" cmp -s "$a/Plugins/plugin.ini" "$work/plugin.ini.before"
check "uninstaller written beside the DLL" test -f "$a/Plugins/$uninstaller"
check "uninstall entry exists" key_exists "$our_key"
check "entry's uninstall command is the uninstaller" \
    test "$(reg_value "$our_key" UninstallString)" = "\"$(winpath "$a")\\Plugins\\$uninstaller\""
check "entry names version $version" test "$(reg_value "$our_key" DisplayVersion)" = "$version"
check "entry names vis_kt" bash -c '[[ $1 == "vis_kt $2"* ]]' _ "$(reg_value "$our_key" DisplayName)" "$version"
ls -A "$a/Plugins" | sort >"$work/a-files"
check "the install added only the DLL and the uninstaller" \
    test "$(tr '\n' ' ' <"$work/a-files")" = "plugin.ini uninstall-vis_kt.exe vis_kt.dll "

# A second silent install over the first replaces the DLL and keeps plugin.ini.
printf 'older' >"$a/Plugins/vis_kt.dll"
rc=$(run_setup /S)
check "reinstall over an older DLL exits 0 (got $rc)" test "$rc" = 0
check "reinstall replaced the older DLL" cmp -s "$a/Plugins/vis_kt.dll" "$packed_dll"
check "plugin.ini survived the reinstall" cmp -s "$a/Plugins/plugin.ini" "$work/plugin.ini.before"

rc=$(uninstall_in_place "$a/Plugins")
check "silent uninstall exits 0 (got $rc)" test "$rc" = 0
check "uninstall removed vis_kt.dll" test ! -e "$a/Plugins/vis_kt.dll"
check "uninstall removed the entry" key_absent "$our_key"
check "plugin.ini survived the uninstall byte for byte" cmp -s "$a/Plugins/plugin.ini" "$work/plugin.ini.before"
check "the player's own files are untouched" test -f "$a/winamp.exe"
rm -f "$a/Plugins/$uninstaller"

# 2. A stale uninstall entry is passed over for the player's own key; the
# Plugins folder is created when missing; the uninstaller run as users run it
# copies itself away and removes its own file too.
forget_player
b=$work/players/B
fake_player "$b"
wine_quiet reg add "$player_uninstall_key" /v UninstallString /d "$(winpath "$work/players/gone")\\UninstWA.exe" /f
wine_quiet reg add "$player_key" /ve /d "$(winpath "$b")\\" /f
rc=$(run_setup /S)
check "silent install into the folder of the player's key exits 0 (got $rc)" test "$rc" = 0
check "DLL in the player key's folder" cmp -s "$b/Plugins/vis_kt.dll" "$packed_dll"
check "nothing written for the stale entry" test ! -e "$work/players/gone"
rc=$(run_line "\"$(winpath "$b/Plugins/$uninstaller")\" /S")
check "uninstall as users run it exits 0 (got $rc)" test "$rc" = 0
check "uninstall removes the DLL and its own file" wait_gone "$b/Plugins/vis_kt.dll" "$b/Plugins/$uninstaller"
for i in $(seq 100); do key_exists "$our_key" || break; sleep 0.1; done
check "uninstall removed the entry" key_absent "$our_key"

# 3. No record of the player at all: the usual folder under Program Files.
forget_player
# A 32-bit installer in a 64-bit prefix sees Program Files (x86).
if [ "$WINEARCH" = win64 ] && [ "$setup" = "$setup32" ]; then
    c="$WINEPREFIX/drive_c/Program Files (x86)/Winamp"
else
    c="$WINEPREFIX/drive_c/Program Files/Winamp"
fi
rm -rf "$c"
fake_player "$c"
rc=$(run_setup /S)
check "silent install into Program Files\\Winamp exits 0 (got $rc)" test "$rc" = 0
check "DLL in Program Files\\Winamp\\Plugins" cmp -s "$c/Plugins/vis_kt.dll" "$packed_dll"
rm -rf "$c"
forget_player

# 4. /D names a folder without winamp.exe: refused, nothing copied.
d="$work/players/not a player"
mkdir -p "$d"
rc=$(run_setup /S "/D=$(winpath "$d")")
check "silent install into a folder without winamp.exe fails (exit $rc)" test "$rc" != 0
check "nothing copied into that folder" test -z "$(ls -A "$d")"
check "no uninstall entry after the refused install" key_absent "$our_key"

# 5. /D wins over the registry; typed unquoted, spaces and all, as NSIS wants.
e="$work/players/Player E"
fake_player "$e"
wine_quiet reg add "$player_key" /ve /d "$(winpath "$b")" /f
rm -rf "$b/Plugins"
rc=$(run_setup /S "/D=$(winpath "$e")")
check "silent install with /D exits 0 (got $rc)" test "$rc" = 0
check "DLL in the /D folder" cmp -s "$e/Plugins/vis_kt.dll" "$packed_dll"
check "nothing in the registry's folder" test ! -e "$b/Plugins"
uninstall_in_place "$e/Plugins" >/dev/null
forget_player

# 6. The player is running: silent installs and uninstalls give up and change
# nothing. The fake player keeps a window of the player's class open until
# told to stop.
start_player() {
    rm -f "$work/player-ready" "$work/player-stop"
    "$WINE" "$1/winamp.exe" "$(winpath "$work/player-ready")" "$(winpath "$work/player-stop")" \
        </dev/null >/dev/null 2>&1 &
    player=$!
    for i in $(seq 300); do [ -e "$work/player-ready" ] && break; sleep 0.1; done
    check "the fake player's window is up" test -e "$work/player-ready"
}
stop_player() {
    : >"$work/player-stop"
    wait "$player"
}
f=$work/players/F
fake_player "$f"
write_plugin_ini "$f"
start_player "$f"
rc=$(run_setup /S "/D=$(winpath "$f")")
check "silent install while the player runs fails (exit $rc)" test "$rc" != 0
check "no DLL copied while the player runs" test ! -e "$f/Plugins/vis_kt.dll"
check "no uninstall entry while the player runs" key_absent "$our_key"
stop_player
rc=$(run_setup /S "/D=$(winpath "$f")")
check "once the player is closed the install succeeds (got $rc)" test "$rc" = 0
check "plugin.ini survived" cmp -s "$f/Plugins/plugin.ini" "$work/plugin.ini.before"
start_player "$f"
rc=$(uninstall_in_place "$f/Plugins")
check "silent uninstall while the player runs fails (exit $rc)" test "$rc" != 0
check "DLL kept while the player runs" cmp -s "$f/Plugins/vis_kt.dll" "$packed_dll"
check "entry kept while the player runs" key_exists "$our_key"
stop_player
rc=$(uninstall_in_place "$f/Plugins")
check "once the player is closed the uninstall succeeds (got $rc)" test "$rc" = 0
check "DLL removed" test ! -e "$f/Plugins/vis_kt.dll"
check "entry removed" key_absent "$our_key"
check "plugin.ini left in place" cmp -s "$f/Plugins/plugin.ini" "$work/plugin.ini.before"
forget_player

# 7. The folder page refuses a folder without winamp.exe with a message and
# stays; Cancel then leaves without copying anything.
driver=$wine_build/bin/installer_driver.exe
folder_page="vis_kt $version Setup: Installation Folder"
g=$work/players/G
mkdir -p "$g"
timeout 90 "$WINE" "$setup" "/D=$(winpath "$g")" </dev/null >/dev/null 2>&1 &
installer=$!
said=$(timeout 90 "$WINE" "$driver" "$folder_page" ok </dev/null 2>&1 | tr -d '\r')
wait "$installer"
rc=$?
check "folder page titled with version $version answers Install with a message" \
    grep -q '^message: .*does not hold winamp.exe' <<<"$said"
check "the folder page stays after the message" grep -qx "after the box: $folder_page" <<<"$said"
check "Cancel leaves with a non-zero exit (got $rc)" test "$rc" != 0
check "nothing copied into the refused folder" test -z "$(ls -A "$g")"

# 8. The player is running: the installer asks to close it; once closed,
# Retry installs.
h=$work/players/H
fake_player "$h"
start_player "$h"
timeout 90 "$WINE" "$setup" "/D=$(winpath "$h")" </dev/null >/dev/null 2>&1 &
installer=$!
said=$(timeout 90 "$WINE" "$driver" "$folder_page" retry "$(winpath "$work/player-stop")" </dev/null 2>&1 | tr -d '\r')
wait "$installer"
rc=$?
wait "$player"
check "the installer asks to close the running player" grep -q '^message: Winamp is running' <<<"$said"
check "after Retry the install completes" grep -qx "after the box: vis_kt $version Setup: Completed" <<<"$said"
check "the installer exits 0 (got $rc)" test "$rc" = 0
check "DLL installed after Retry" cmp -s "$h/Plugins/vis_kt.dll" "$packed_dll"
uninstall_in_place "$h/Plugins" >/dev/null
forget_player
rm -rf "$work/players"

if [ "$failures" -ne 0 ]; then
    echo "release tests: $failures failed"
    exit 1
fi
echo "release tests: all passed"
