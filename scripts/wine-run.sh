#!/usr/bin/env bash
# Runs a Windows program under wine in the given prefix, which is made on
# first use: wine-run.sh PREFIX PROGRAM.exe [ARGUMENTS...]
set -euo pipefail
export WINEPREFIX="$1"
shift
export WINEDEBUG="${WINEDEBUG:--all}"
# No .NET or browser engine to look for, no desktop menu entries to make.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}"
# Two programs starting at once must not both make the prefix.
ready="$WINEPREFIX/.vantrel-ready"
if [ ! -f "$ready" ]; then
  mkdir -p "$WINEPREFIX"
  flock "$WINEPREFIX.lock" sh -c '[ -f "$1" ] || { wineboot -i >/dev/null 2>&1 && touch "$1"; }' sh "$ready"
fi
exec wine "$@"
