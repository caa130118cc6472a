#!/usr/bin/env python3
"""Firing precision of the real program: one "执行程序" daily mission a second
for MISSIONS seconds, each running its own copy of the marker program
(bench/marker.c, statically linked), which writes the moment it started.
Prints the lateness from the start of each mission's second to the start of
its program, once on an idle machine and once with both cores kept busy.
Figures only; never fails.
Usage: bench_firing.py path/to/chronodesk path/to/bench_marker [missions]"""

import datetime
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

LEAD_SECONDS = 4


def run(program, marker, missions, busy):
    folder = tempfile.mkdtemp(prefix="chronodesk-firing-")
    try:
        shutil.copy(program, os.path.join(folder, "chronodesk"))
        start = datetime.datetime.now().replace(microsecond=0) + datetime.timedelta(seconds=LEAD_SECONDS)
        moments, lines = [], []
        for i in range(missions):
            moment = start + datetime.timedelta(seconds=i)
            copy = os.path.join(folder, f"m{i}")
            shutil.copy(marker, copy)
            moments.append(moment)
            text = f"执行程序${copy}${moment.year}-{moment.month}-{moment.day}$" \
                   f"{moment.hour}:{moment.minute:02d}:{moment.second:02d}"
            lines.append(text.encode("gb18030") + b"\r\n")
        with open(os.path.join(folder, "everyday.mis"), "wb") as f:
            f.write(b"".join(lines) + b"\x1a")

        burners = [subprocess.Popen(["sh", "-c", "while :; do :; done"]) for _ in range(2 if busy else 0)]
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen", LANG="C.UTF-8", LC_ALL="C.UTF-8")
        program_process = subprocess.Popen([os.path.join(folder, "chronodesk")], env=env,
                                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(LEAD_SECONDS + missions + 2)
        program_process.kill()
        program_process.wait()
        for burner in burners:
            burner.kill()
            burner.wait()

        lateness, missed = [], 0
        for i, moment in enumerate(moments):
            try:
                with open(os.path.join(folder, f"m{i}.ran")) as f:
                    runs = [float(x) for x in f.read().split()]
            except FileNotFoundError:
                runs = []
            if not runs:
                missed += 1
                continue
            lateness.extend((r - moment.timestamp()) * 1000 for r in runs)
        return lateness, missed
    finally:
        shutil.rmtree(folder, ignore_errors=True)


def main():
    program = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build/chronodesk")
    marker = os.path.abspath(sys.argv[2] if len(sys.argv) > 2 else "build/bench/bench_marker")
    missions = int(sys.argv[3]) if len(sys.argv) > 3 else 60
    for label, busy, target in (("idle", False, "median <= 1.5 ms, 99th <= 10 ms"),
                                ("both cores busy", True, "none missed, median <= 5 ms")):
        lateness, missed = run(program, marker, missions, busy)
        lateness.sort()
        case = f"{missions} program missions, one a second"
        if lateness:
            p99 = lateness[min(len(lateness) - 1, int(len(lateness) * 0.99))]
            print(f"firing, {label}|{case}|median {statistics.median(lateness):.2f} ms, 99th {p99:.2f} ms, "
                  f"best {lateness[0]:.2f} ms, worst {lateness[-1]:.2f} ms, {missed} missed, {len(lateness)} runs"
                  f"|{target}")
        else:
            print(f"firing, {label}|{case}|none ran, {missed} missed|{target}")


if __name__ == "__main__":
    main()
