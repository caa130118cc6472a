#!/usr/bin/env bash
# Sets up a new machine, builds everything and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh -DCHRONODESK_WERROR=ON
ctest --test-dir build --output-on-failure --timeout 600
