#!/usr/bin/env bash
# Sets up, builds and starts the tool (on the simulated battery unless SMBUS_ADAPTER says otherwise).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
./scripts/build.sh build -DVANTREL_TESTS=OFF
exec ./build/vantrel
