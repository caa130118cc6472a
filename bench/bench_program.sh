#!/usr/bin/env bash
# Measures the built program from outside, each run in its own temporary
# program folder (a copy of the executable, since the program keeps its
# files beside it):
#   start-up  time from launch until the main window is mapped on an Xvfb
#             display, with an empty list and with 10 000 daily missions;
#   idle      CPU time over a window (default 60 s) and resident memory,
#             offscreen, with 10 000 daily missions loaded and the list
#             running.
# Prints "name|case|figure" lines for scripts/bench.sh. Never fails a build.
# Usage: bench/bench_program.sh path/to/chronodesk [idle seconds]
set -uo pipefail
program="$(realpath "$1")"
idleSeconds="${2:-60}"
work="$(mktemp -d)"
pids=()
cleanup() {
    # Newest first, so the programs end before the X server they draw on.
    for ((i = ${#pids[@]} - 1; i >= 0; --i)); do kill "${pids[i]}" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT

# A program folder holding the executable and, when asked, an everyday.mis
# of `count` "执行程序" missions in the last hour of the day ($ separated,
# CR LF lines, ended by byte 0x1A, code page 936 for the kind texts).
makeFolder() {
    local folder="$1" count="$2"
    mkdir -p "$folder"
    cp "$program" "$folder/chronodesk"
    if ((count > 0)); then
        python3 - "$folder/everyday.mis" "$count" <<'PY'
import sys
path, count = sys.argv[1], int(sys.argv[2])
kind = "执行程序".encode("gb18030")
with open(path, "wb") as f:
    for i in range(count):
        s = 23 * 3600 + i % 3600
        f.write(kind + b"$/bin/true$2000-1-1$%d:%02d:%02d\r\n" % (s // 3600, s // 60 % 60, s % 60))
    f.write(b"\x1a")
PY
    fi
}

nowMs() { date +%s%3N; }

startup() {
    local label="$1" count="$2" display="$3"
    local folder="$work/start-$count"
    makeFolder "$folder" "$count"
    local best=""
    for run in 1 2 3; do
        rm -f "$folder/config.ini" "$folder/db.mdb"
        local begin end
        begin=$(nowMs)
        DISPLAY=":$display" QT_QPA_PLATFORM=xcb "$folder/chronodesk" >/dev/null 2>&1 &
        local pid=$!
        pids+=("$pid")
        local shown=""
        for _ in $(seq 1 1000); do
            if DISPLAY=":$display" xdotool search --onlyvisible --name '翎鹊时间管理器' >/dev/null 2>&1; then
                shown=1
                break
            fi
            sleep 0.01
        done
        end=$(nowMs)
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
        if [ -n "$shown" ]; then
            local ms=$((end - begin))
            if [ -z "$best" ] || ((ms < best)); then best=$ms; fi
        fi
    done
    echo "start-up|$label|${best:-window never shown} ms (best of 3)"
}

idle() {
    local folder="$work/idle"
    makeFolder "$folder" 10000
    QT_QPA_PLATFORM=offscreen "$folder/chronodesk" >/dev/null 2>&1 &
    local pid=$!
    pids+=("$pid")
    sleep 5 # loading and the first ticks are start-up, not idle
    local ticks before after
    ticks=$(getconf CLK_TCK)
    before=$(awk '{print $14 + $15}' "/proc/$pid/stat")
    sleep "$idleSeconds"
    after=$(awk '{print $14 + $15}' "/proc/$pid/stat")
    local rss
    rss=$(awk '/^VmRSS/ {print $2}' "/proc/$pid/status")
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    local cpuMs=$(((after - before) * 1000 / ticks))
    echo "idle|10 000 missions, ${idleSeconds} s|CPU $cpuMs ms = $(awk -v c="$cpuMs" -v s="$idleSeconds" 'BEGIN {printf "%.2f", c / (s * 10)}') % of one core"
    echo "idle|10 000 missions|resident memory $((rss / 1024)) MB"
}

# The first free display number: other programs may have Xvfb running.
display=90
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
pids+=("$!")
sleep 1
startup "empty list" 0 "$display"
startup "10 000 daily missions" 10000 "$display"
idle
