#!/usr/bin/env bash
# Cross-builds the Windows program and its tests and runs the tests under wine,
# in a wine prefix of the build directory (made once, kept between runs).
set -euo pipefail
cd "$(dirname "$0")/.."
dir=build-windows
./scripts/build-windows.sh "$dir" -DVANTREL_TESTS=ON

export WINEPREFIX="$PWD/$dir/wine-prefix"
export WINEDEBUG=-all
# One wine server for the whole run, so that each test does not start its own;
# the prefix and wine's background services are made here, not inside a test.
mkdir -p "$WINEPREFIX"
wineserver -p
trap 'wineserver -k || true' EXIT
./scripts/wine-run.sh "$WINEPREFIX" cmd /c exit </dev/null >/dev/null 2>&1

(cd "$dir" && ctest --no-tests=error --output-on-failure -j "$(nproc)")

# The colour test needs a console, which wine gives a program on a terminal:
# run it once more on a pseudo-terminal, where it is not skipped.
log="$dir/console-colours.log"
if ! VANTREL_EXPECT_CONSOLE=1 script -qec \
  "scripts/wine-run.sh '$WINEPREFIX' '$dir/vantrel_tests.exe' --gtest_filter=WindowsConsoleColours.*" \
  /dev/null </dev/null >"$log" 2>&1; then
  # Wine draws the console with cursor sequences: show the bare text.
  sed 's/\x1b\[[0-9;?]*[a-zA-Z]//g' "$log" | tr -d '\r'
  echo "The console colour test failed on a console (log: $log)" >&2
  exit 1
fi
echo "Console colour test on a console: passed"
