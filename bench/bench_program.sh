#!/usr/bin/env bash
# Measures the built program from outside on a private Xvfb display, each
# run in its own temporary program folder (a copy of the executable and its
# sound plugin, since the program keeps its files beside it), with bench_startup_probe:
#   start-up  launch until the main window is mapped, and the CPU time used
#             by then, beside a bare Qt main window of the same kind of
#             content started in the same way in the same run (runs taken
#             in turns, medians); with an empty list, 10 000 and 100 000
#             daily missions;
#   idle      wake-ups (context switches of all threads, per second, with
#             the threads that woke) and CPU time over a window (default
#             60 s) with 10 000 daily missions loaded and the list running,
#             the window shown and then closed to the notification area
#             (minimised where there is none, as on Xvfb), beside the bare
#             window shown; the resident memory of both and their ratio.
# Prints "name|case|figure|target" lines for scripts/bench.sh; never fails.
# Usage: bench/bench_program.sh build-folder [idle seconds] [start-up runs]
set -uo pipefail
build="$(realpath "$1")"
idleSeconds="${2:-60}"
runs="${3:-7}"
program="$build/chronodesk"
probe="$build/bench/bench_startup_probe"
bare="$build/bench/bench_bare_window"
work="$(mktemp -d)"
xvfb=""
busPid=""
cleanup() {
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    [ -n "$busPid" ] && kill "$busPid" 2>/dev/null
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
    cp "$build/chronodesk-sound.so" "$folder/"
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

median() { sort -g | awk '{ v[NR] = $1 } END { if (NR) printf "%.0f", (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Runs the probe on one command; the folder's own files are removed first,
# so that every run starts as the first.
probeOnce() {
    local folder="$1"
    shift
    rm -f "$folder/config.ini" "$folder/db.mdb"
    DISPLAY=":$display" QT_QPA_PLATFORM=xcb "$probe" "$@" 2>/dev/null
}

display=$((50 + RANDOM % 40))
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
# A session bus of their own for both, as a desktop has (without one the
# bus library would try to launch one at each start).
if bus=$(dbus-daemon --session --fork --print-address=1 --print-pid=1 2>/dev/null); then
    export DBUS_SESSION_BUS_ADDRESS="${bus%%$'\n'*}"
    busPid="${bus##*$'\n'}"
fi
sleep 1

cases=(0 10000 100000)
for count in "${cases[@]}"; do makeFolder "$work/start-$count" "$count"; done
: >"$work/bare"
for count in "${cases[@]}"; do : >"$work/run-$count"; done
for ((run = 0; run < runs; ++run)); do
    probeOnce "$work" "$bare" >>"$work/bare"
    for count in "${cases[@]}"; do
        probeOnce "$work/start-$count" "$work/start-$count/chronodesk" >>"$work/run-$count"
    done
done

column() { cut -f"$2" "$1" | awk '$1 >= 0' | median; }
bareWall=$(column "$work/bare" 1)
bareCpu=$(column "$work/bare" 2)
echo "start-up|bare Qt main window (yardstick)|mapped after $bareWall ms, CPU $bareCpu ms (median of $runs)|"
for count in "${cases[@]}"; do
    wall=$(column "$work/run-$count" 1)
    cpu=$(column "$work/run-$count" 2)
    settledCpu=$(column "$work/run-$count" 4)
    case $count in
    0) label="empty list" target="<= 1.2 x the bare window" ;;
    10000) label="10 000 daily missions" target="" ;;
    100000) label="100 000 daily missions" target="shown <= 300 ms" ;;
    esac
    ratio=$(awk -v a="$wall" -v b="$bareWall" -v c="$cpu" -v d="$bareCpu" \
        'BEGIN { if (b > 0 && d > 0) printf "%.2f x wall, %.2f x CPU", a / b, c / d }')
    echo "start-up|$label|mapped after $wall ms, CPU $cpu ms = $ratio; all start-up work CPU $settledCpu ms|$target"
done

# Idle: the bare window beside the program, in the same run. Wake-ups are
# the context switches of every thread over the window, per second.
perSecond() { awk -v n="$1" -v s="$idleSeconds" 'BEGIN { printf "%.3f", n / s }'; }
bareIdle=$(probeOnce "$work" --idle "$idleSeconds" "$bare")
bareRss=$(echo "$bareIdle" | cut -f6)
echo "idle|bare Qt main window (yardstick), shown, $idleSeconds s|$(perSecond "$(echo "$bareIdle" | cut -f7)") wake-ups/s ($(echo "$bareIdle" | cut -f8)); CPU $(echo "$bareIdle" | cut -f5) ms; resident memory $((bareRss / 1024)) MB|"
idleFolder="$work/idle"
makeFolder "$idleFolder" 10000
for mode in shown closed; do
    if [ "$mode" = closed ]; then
        result=$(probeOnce "$idleFolder" --idle "$idleSeconds" --close "$idleFolder/chronodesk")
        target="<= 0.2 wake-ups/s"
        label="closed (minimised: Xvfb has no notification area)"
    else
        result=$(probeOnce "$idleFolder" --idle "$idleSeconds" "$idleFolder/chronodesk")
        target="<= 2 wake-ups/s"
        label="shown"
    fi
    cpu=$(echo "$result" | cut -f5)
    rss=$(echo "$result" | cut -f6)
    echo "idle|10 000 missions running, none due, window $label, $idleSeconds s|$(perSecond "$(echo "$result" | cut -f7)") wake-ups/s ($(echo "$result" | cut -f8)); CPU $cpu ms = $(awk -v c="$cpu" -v s="$idleSeconds" 'BEGIN {printf "%.3f", c / (s * 10)}') % of one core|$target"
    echo "memory|10 000 missions running, window $label|resident $((rss / 1024)) MB = $(awk -v a="$rss" -v b="$bareRss" 'BEGIN { if (b > 0) printf "%.2f", a / b }') x the bare window|<= 1.15 x the bare window"
done
