#!/usr/bin/env bash
# Runs the whole test suite once built with AddressSanitizer and
# UndefinedBehaviorSanitizer (build-asan), and the tests that need no
# windows once under valgrind's memcheck (build).
set -euo pipefail
cd "$(dirname "$0")/.."

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCHRONODESK_SANITIZE=ON >/dev/null
cmake --build build-asan --parallel 2
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-asan --output-on-failure --timeout 900

scripts/build.sh >/dev/null
for test in tst_regionalformat tst_inifile tst_missionmodel tst_runmeter tst_scheduler tst_codepagetext \
    tst_missionfiles tst_numbertext; do
    echo "== valgrind $test"
    QT_QPA_PLATFORM=offscreen valgrind --quiet --error-exitcode=1 --leak-check=no "build/tests/$test" -silent
done
