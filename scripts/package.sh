#!/usr/bin/env bash
# Builds the Debian package build/chronodesk_<version>_<architecture>.deb.
# Install it with: sudo apt-get install ./build/chronodesk_*.deb
# Fails when lintian finds an error in it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
[ -f build/CMakeCache.txt ] || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --parallel 2
(cd build && cpack -G DEB -B "$PWD" >/dev/null)
rm -rf build/_CPack_Packages
deb=$(ls build/chronodesk_*.deb)
echo "$deb"
lintian --fail-on error "$deb"
