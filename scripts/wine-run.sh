#!/usr/bin/env bash
# Runs a Windows program under wine in the given prefix, which is made on
# first use: wine-run.sh PREFIX PROGRAM.exe [ARGUMENTS...]
set -euo pipefail
export WINEPREFIX="$1"
shift
export WINEDEBUG="${WINEDEBUG:--all}"
# Two tests starting at once must not both make the prefix.
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  flock "$WINEPREFIX.lock" sh -c '[ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1 && wineserver -w'
fi
exec wine "$@"
