#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz and runs each one for
# a bounded time on its seed corpus in fuzz/corpus/<target>/.
# Usage: scripts/fuzz.sh [seconds per target, default 30]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"
targets=(fuzz_missionfile fuzz_dailyfile fuzz_inifile fuzz_regionalformat)

CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCHRONODESK_FUZZ=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build build-fuzz --parallel 2 --target "${targets[@]}"

# New inputs go to a scratch folder so the checked-in corpus stays small;
# crashes land in build-fuzz/findings/.
mkdir -p build-fuzz/findings
status=0
for target in "${targets[@]}"; do
    scratch="build-fuzz/corpus/$target"
    mkdir -p "$scratch"
    echo "== $target ($seconds s)"
    if ! QT_QPA_PLATFORM=offscreen "build-fuzz/fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="build-fuzz/findings/$target-" "$scratch" "fuzz/corpus/$target" 2>"build-fuzz/$target.log"; then
        status=1
    fi
    grep -E '^(#[0-9]+.*DONE|stat::number_of_executed_units|stat::average_exec_per_sec|==[0-9]+==ERROR|SUMMARY)' \
        "build-fuzz/$target.log" || true
done
exit $status
