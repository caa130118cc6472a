#!/usr/bin/env python3
"""Firing precision of the real program: 50 "执行程序" daily missions spread
over 30 seconds, each running a script that records when it started. Prints
the lateness from the start of each mission's second, once on an idle
machine and once with both cores kept busy. Figures only; never fails."""

import datetime
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

MISSIONS = 50
SPREAD_SECONDS = 30
LEAD_SECONDS = 5


def run(program, busy):
    folder = tempfile.mkdtemp(prefix="chronodesk-firing-")
    try:
        shutil.copy(program, os.path.join(folder, "chronodesk"))
        start = datetime.datetime.now().replace(microsecond=0) + datetime.timedelta(seconds=LEAD_SECONDS)
        moments, lines = [], []
        for i in range(MISSIONS):
            moment = start + datetime.timedelta(seconds=i * SPREAD_SECONDS // MISSIONS)
            script = os.path.join(folder, f"m{i}.sh")
            with open(script, "w") as f:
                f.write(f"#!/bin/sh\ndate +%s.%N >> {folder}/ran{i}\n")
            os.chmod(script, 0o755)
            moments.append(moment)
            text = f"执行程序${script}${moment.year}-{moment.month}-{moment.day}$" \
                   f"{moment.hour}:{moment.minute:02d}:{moment.second:02d}"
            lines.append(text.encode("gb18030") + b"\r\n")
        with open(os.path.join(folder, "everyday.mis"), "wb") as f:
            f.write(b"".join(lines) + b"\x1a")

        burners = [subprocess.Popen(["sh", "-c", "while :; do :; done"]) for _ in range(2 if busy else 0)]
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen", LANG="C.UTF-8", LC_ALL="C.UTF-8")
        program_process = subprocess.Popen([os.path.join(folder, "chronodesk")], env=env,
                                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(LEAD_SECONDS + SPREAD_SECONDS + 3)
        program_process.kill()
        for burner in burners:
            burner.kill()

        lateness, missed = [], 0
        for i, moment in enumerate(moments):
            try:
                with open(os.path.join(folder, f"ran{i}")) as f:
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
    for label, busy in (("idle", False), ("both cores busy", True)):
        lateness, missed = run(program, busy)
        lateness.sort()
        if lateness:
            p99 = lateness[min(len(lateness) - 1, int(len(lateness) * 0.99))]
            print(f"firing, {label}|{MISSIONS} missions over {SPREAD_SECONDS} s|"
                  f"median {statistics.median(lateness):.1f} ms, 99th {p99:.1f} ms, worst {lateness[-1]:.1f} ms, "
                  f"{missed} missed, {len(lateness)} runs")
        else:
            print(f"firing, {label}|{MISSIONS} missions over {SPREAD_SECONDS} s|none ran, {missed} missed")


if __name__ == "__main__":
    main()
