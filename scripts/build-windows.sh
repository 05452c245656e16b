#!/usr/bin/env bash
# Cross-builds the Windows program, build-windows/vantrel.exe (statically
# linked: it needs no DLLs of the toolchain), with Debian's mingw-w64; installs
# the toolchain first when it is missing.
#   scripts/build-windows.sh [DIR [CMAKE-ARGUMENTS...]]   (DIR: build-windows)
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup-windows.sh
dir="${1:-build-windows}"
shift || true
cmake -S . -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release \
  -DVANTREL_TESTS=OFF "$@" >/dev/null
cmake --build "$dir" -j "$(nproc)"
