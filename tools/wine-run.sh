#!/bin/sh
# Runs a Windows program under Wine; CTest's emulator for the cross build.
# Only inside a test session (tools/wine-session.sh): its screen, prefix and
# Wine way are what the tests are written against.
if [ -z "${WINE:-}" ] || [ -z "${WINEPREFIX:-}" ]; then
    echo "wine-run.sh: not inside a Wine test session. Run all tests with 'make test'," >&2
    echo "one Windows test program with 'tools/wine-program.sh build PROGRAM'." >&2
    exit 1
fi
exec "$WINE" "$@"
