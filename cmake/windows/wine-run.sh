#!/bin/sh
# Runs a Windows program under Wine in the build's own Wine prefix, quietly.
# WINEPREFIX may be set by the caller; the default lies in build/windows.
here=$(cd "$(dirname "$0")/../.." && pwd)
export WINEPREFIX="${WINEPREFIX:-$here/build/windows/wine}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
exec wine "$@"
