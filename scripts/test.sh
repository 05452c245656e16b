#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite: once plain, once under
# AddressSanitizer and UndefinedBehaviorSanitizer; then each fuzz target for
# about a minute; then the i2c-dev backend on a real Linux kernel in a small
# virtual machine; then the Windows build under wine.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh tests

# Tests on, whatever an earlier ./scripts/run.sh left in the build's cache;
# and a build without tests fails instead of passing with none.
./scripts/build.sh build -DVANTREL_TESTS=ON
(cd build && ctest --no-tests=error --output-on-failure -j "$(nproc)")

./scripts/build.sh build-sanitize -DVANTREL_SANITIZE=ON
(cd build-sanitize && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --no-tests=error --output-on-failure -j "$(nproc)")

./scripts/fuzz.sh 60
./tests/qemu/vm_test.sh
./scripts/test-windows.sh
