#!/bin/sh
# Runs a Windows program under Wine; CTest's emulator for the cross build.
exec "${WINE:-wine}" "$@"
