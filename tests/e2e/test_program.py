#!/usr/bin/env python3
"""End-to-end checks of the real program: each test copies the built
executable into a fresh program folder, starts it on a private X server and
a private D-Bus daemon and watches it from outside (files it writes, its
windows, its exit). The program runs with CHRONODESK_TESTING set and with
both its session and its system bus pointed at the private daemon, so it can
neither power off nor set the clock of this machine."""

import datetime
import os
import shutil
import sqlite3
import subprocess
import sys
import tempfile
import time
import unittest

from e2e_support import PrivateBus, ProgramTestCase

PROGRAM = None  # set from the command line
SHUTDOWN = "关闭计算机"
RUN_PROGRAM = "执行程序"
SHOW_MESSAGE = "提示消息"


def date_text(moment):
    # The program's date and time texts under LANG=C.UTF-8: yyyy-M-d, H:mm:ss.
    return f"{moment.year}-{moment.month}-{moment.day}"


def time_text(moment):
    return f"{moment.hour}:{moment.minute:02d}:{moment.second:02d}"


def daily_file(rows):
    lines = b"".join("$".join(row).encode("gb18030") + b"\r\n" for row in rows)
    return lines + b"\x1a"


class XServer:
    def __init__(self):
        read_end, write_end = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x800x24", "-nolisten", "tcp"],
            pass_fds=[write_end], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            self.display = ":" + pipe.readline().strip()

    def stop(self):
        self.process.terminate()
        self.process.wait(10)


class ProgramTest(ProgramTestCase):
    @classmethod
    def setUpClass(cls):
        cls.x = XServer()
        cls.addClassCleanup(cls.x.stop)
        cls.bus = PrivateBus()
        cls.addClassCleanup(cls.bus.stop)

    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="chronodesk-e2e-")
        shutil.copy(PROGRAM, os.path.join(self.folder, "chronodesk"))
        self.process = None

    def tearDown(self):
        if self.process and self.process.poll() is None:
            self.process.kill()
            self.process.wait(10)
        shutil.rmtree(self.folder, ignore_errors=True)

    def path(self, name):
        return os.path.join(self.folder, name)

    def start(self):
        # A private session bus: a ChronoDesk of the user's session would
        # otherwise take the launch as a second one and only show its window.
        env = dict(os.environ, DISPLAY=self.x.display, LANG="C.UTF-8", LC_ALL="C.UTF-8",
                   XDG_CONFIG_HOME=self.path("config"), CHRONODESK_TESTING="1",
                   DBUS_SESSION_BUS_ADDRESS=self.bus.address, DBUS_SYSTEM_BUS_ADDRESS=self.bus.address)
        env.pop("QT_QPA_PLATFORM", None)
        self.process = subprocess.Popen([self.path("chronodesk")], cwd="/", env=env,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.main_window = self.wait_for_window("翎鹊时间管理器 2007", timeout=30)
        time.sleep(1)  # let the window settle before keys come

    def xdotool(self, *args):
        result = subprocess.run(["xdotool", *args], env=dict(os.environ, DISPLAY=self.x.display),
                                capture_output=True, text=True, timeout=30)
        return result.stdout.split()

    def visible_windows(self, name):
        return self.xdotool("search", "--all", "--onlyvisible", "--pid", str(self.process.pid), "--name", name)

    def wait_for_window(self, name, timeout=15):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            windows = self.visible_windows(name)
            if windows:
                return windows[0]
            time.sleep(0.1)
        shown = [" ".join(self.xdotool("getwindowname", w)) for w in self.visible_windows(".*")]
        self.fail(f"no window named {name!r} appeared; the program shows {shown}")

    def keys(self, window, *keys):
        self.xdotool("windowfocus", "--sync", window)
        self.xdotool("key", "--clearmodifiers", *keys)

    def write_daily(self, rows):
        with open(self.path("everyday.mis"), "wb") as f:
            f.write(daily_file(rows))

    def test_daily_missions_start_the_list_and_run_in_their_second(self):
        start = datetime.datetime.now().replace(microsecond=0)
        rows, moments = [], []
        for i in range(3):
            script = self.path(f"mission{i}.sh")
            with open(script, "w") as f:
                f.write(f"#!/bin/sh\ndate +%s.%N >> '{self.path(f'ran{i}.txt')}'\n")
            os.chmod(script, 0o755)
            moment = start + datetime.timedelta(seconds=5 + i)
            moments.append(moment)
            rows.append([RUN_PROGRAM, script, date_text(moment), time_text(moment)])
        self.write_daily(rows)
        self.start()
        self.wait_until(lambda: all(os.path.exists(self.path(f"ran{i}.txt")) for i in range(3)), 20,
                        "not every daily mission ran")
        time.sleep(1.5)
        for i, moment in enumerate(moments):
            with open(self.path(f"ran{i}.txt")) as f:
                runs = [float(line) for line in f.read().split()]
            self.assertEqual(len(runs), 1, f"mission {i} ran {len(runs)} times")
            lateness = runs[0] - moment.timestamp()
            self.assertGreaterEqual(lateness, 0.0, f"mission {i} ran early")
            self.assertLess(lateness, 1.0, f"mission {i} ran outside its second")

    def test_a_message_mission_shows_its_popup(self):
        moment = datetime.datetime.now().replace(microsecond=0) + datetime.timedelta(seconds=5)
        self.write_daily([[SHOW_MESSAGE, "e2e 开会了", date_text(moment), time_text(moment)]])
        self.start()
        self.assertEqual(self.visible_windows("^友情提示:$"), [])
        popup = self.wait_for_window("^友情提示:$", timeout=12)
        geometry = self.xdotool("getwindowgeometry", "--shell", popup)
        self.assertIn("WIDTH=200", geometry)
        self.assertIn("HEIGHT=442", geometry)

    def test_quit_writes_one_record_and_ends_the_program(self):
        self.start()
        time.sleep(3)
        before = set(self.visible_windows(".*"))
        self.keys(self.main_window, "alt+s")
        self.wait_until(lambda: set(self.visible_windows(".*")) - before, 10, "the system menu did not open")
        # The quit command is the menu's last item.
        self.xdotool("key", "Up", "Return")
        self.assertEqual(self.process.wait(15), 0)
        with sqlite3.connect(self.path("db.mdb")) as db:
            records = db.execute("select 开始时间, 结束时间, 耗电 from hd").fetchall()
        self.assertEqual(len(records), 1)
        began, ended, energy = records[0]
        self.assertLess(began, ended)
        run_seconds = (datetime.datetime.fromisoformat(ended) - datetime.datetime.fromisoformat(began)).seconds
        # 70 W + 200 W, one estimate a second.
        self.assertAlmostEqual(energy, 270 * round(run_seconds) / 3600000, delta=270 * 2 / 3600000)

    def choose_in_file_dialog(self, keys, title, path):
        self.keys(self.main_window, keys)
        dialog = self.wait_for_window(title)
        self.keys(dialog, "ctrl+a")
        self.xdotool("type", "--delay", "20", path)
        self.xdotool("key", "Return")
        self.wait_until(lambda: not self.visible_windows(title), 10, f"the dialog {title!r} stayed open")
        # The file name's completion list can outlive the dialog without a
        # window manager; Escape closes it.
        self.xdotool("key", "Escape")

    def save_through_dialog(self, name):
        self.choose_in_file_dialog("ctrl+s", "另存为|Save", self.path(name))
        self.wait_until(lambda: os.path.exists(self.path(name + ".mis")), 10, f"{name}.mis was not written")

    def test_a_mission_file_keeps_its_bytes_through_the_dialogs(self):
        # The rows are dated today, as the daily file must be, but two hours
        # away from now, so the running list never carries them out while
        # the test runs.
        now = datetime.datetime.now().replace(microsecond=0)
        later = now + datetime.timedelta(hours=2)
        moment = later if later.date() == now.date() else now - datetime.timedelta(hours=2)
        second = datetime.timedelta(seconds=1)
        rows = [[SHUTDOWN, SHUTDOWN, date_text(moment), time_text(moment)],
                [SHOW_MESSAGE, "记得 喝水 €", date_text(moment), time_text(moment + second)],
                [RUN_PROGRAM, "/opt/my tools/run me", date_text(moment), time_text(moment - second)]]
        self.write_daily(rows)
        self.start()
        self.save_through_dialog("saved")
        with open(self.path("saved.mis"), "rb") as f:
            saved = f.read()
        expected = b"".join(b"\x80".join(field.encode("gb18030") for field in row) + b"\r\n" for row in rows)
        self.assertEqual(saved, expected)

        self.choose_in_file_dialog("ctrl+o", "打开|Open", self.path("saved.mis"))
        self.save_through_dialog("again")
        with open(self.path("again.mis"), "rb") as f:
            self.assertEqual(f.read(), saved)


if __name__ == "__main__":
    PROGRAM = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)
