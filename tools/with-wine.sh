#!/usr/bin/env bash
# Runs a command inside a Wine session of the given build folder.
# Usage: tools/with-wine.sh BUILD_DIR COMMAND...
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-session.sh"
build=$(cd "$1" && pwd); shift
trap wine_session_stop EXIT
trap 'exit 130' INT TERM
wine_session_start "$build" || exit 1
"$@"
