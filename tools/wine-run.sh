#!/bin/sh
# Runs a Windows program under Wine; CTest's emulator for the cross build.
# Only inside a test session (tools/wine-session.sh): its screen, prefix and
# Wine way are what the tests are written against. A program that CTest gave
# a screen other than the first (CTEST_RESOURCE_GROUP_0_SCREENS, "id:N,...")
# runs in that lane's session, from its copy of the program's folder: the
# runner wrote both to VIS_WINE_LANES/N.env.
if [ -z "${WINE:-}" ] || [ -z "${WINEPREFIX:-}" ]; then
    echo "wine-run.sh: not inside a Wine test session. Run all tests with 'make test'," >&2
    echo "one Windows test program with 'tools/wine-program.sh build PROGRAM'." >&2
    exit 1
fi
lane=${CTEST_RESOURCE_GROUP_0_SCREENS#id:}
lane=${lane%%,*}
# Which lane ran which test, named as its case report is, for the runner.
if [ -n "${VIS_WINE_LANES:-}" ]; then
    for argument in "$@"; do
        case $argument in
        --case_report=*)
            report=${argument##*/}
            echo "${report%.txt}" >>"$VIS_WINE_LANES/ran-${lane:-1}"
            ;;
        esac
    done
fi
if [ -n "$lane" ] && [ -n "${VIS_WINE_LANES:-}" ] && [ -f "$VIS_WINE_LANES/$lane.env" ]; then
    . "$VIS_WINE_LANES/$lane.env"
    program=$1
    shift
    exec "$WINE" "$VIS_LANE_BIN/${program##*/}" "$@"
fi
exec "$WINE" "$@"
