#!/usr/bin/env bash
# Draws every window in every look (offscreen, with the looks test's own
# windows and data) and leaves one picture per look in docs/looks/:
# look-0.png … look-4.png, look 3 being the plain look; and, per look, the
# editor's repeat control (repeat-editor-N.png) and the list with repeating
# rows (repeat-list-N.png).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --parallel --target tst_looks
mkdir -p docs/looks
QT_QPA_PLATFORM=offscreen LANG=C.UTF-8 CHRONODESK_TESTING=1 CHRONODESK_CONTACT_SHEETS="$PWD/docs/looks" \
    build/tests/tst_looks everyTextIsWholeAndReadable
ls -l docs/looks
