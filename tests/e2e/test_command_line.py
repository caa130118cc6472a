#!/usr/bin/env python3
"""End-to-end checks of the command line and the session bus interface: the
real program runs offscreen on a private session bus (started here), from a
program folder of its own, and is driven by the command line as a script
would drive it."""

import datetime
import json
import os
import re
import signal
import shutil
import sqlite3
import subprocess
import sys
import tempfile
import time
import unittest
import zoneinfo

from e2e_support import PrivateBus, ProgramTestCase, VirtualScreen

PROGRAM = None  # set from the command line
APP_ID = "io.github.chronodesk.ChronoDesk"
OBJECT_PATH = "/io/github/chronodesk/ChronoDesk"
ZONE = "Europe/Berlin"  # the program's: a zone with daylight saving
POWER_KINDS = ["关闭计算机", "重启计算机", "注销计算机"]
OTHER_KINDS = {"执行程序": "/usr/bin/true", "打开文件": "/tmp/report 2026.txt", "提示消息": "该起床了!",
               "系统响铃": "内置铃声", "打开网页": "https://example.org/a?b=c", "发送邮件": "someone@example.org"}


def now():
    return datetime.datetime.now(zoneinfo.ZoneInfo(ZONE))


class CommandLineTest(ProgramTestCase):
    def setUp(self):
        self.bus = PrivateBus()
        self.folder = tempfile.mkdtemp(prefix="chronodesk-cli-")
        shutil.copy(PROGRAM, self.path("chronodesk"))
        # The system bus is the private one too: no mission can reach logind.
        self.env = dict(os.environ, DBUS_SESSION_BUS_ADDRESS=self.bus.address,
                        DBUS_SYSTEM_BUS_ADDRESS=self.bus.address, CHRONODESK_TESTING="1",
                        QT_QPA_PLATFORM="offscreen", LANG="C.UTF-8", LC_ALL="C.UTF-8",
                        XDG_CONFIG_HOME=self.path("config"), XDG_DATA_HOME=self.path("data"),
                        XDG_RUNTIME_DIR=self.path("runtime"), TZ=ZONE)
        os.makedirs(self.path("runtime"), mode=0o700)
        self.process = None

    def tearDown(self):
        subprocess.run([self.path("chronodesk"), "--quit"], env=self.env, cwd=self.folder,
                       capture_output=True, timeout=30)
        if self.process and self.process.poll() is None:
            self.process.kill()
            self.process.wait(10)
        self.bus.stop()
        shutil.rmtree(self.folder, ignore_errors=True)

    def path(self, name):
        return os.path.join(self.folder, name)

    def run_program(self, *arguments, timeout=30):
        return subprocess.run([self.path("chronodesk"), *arguments], env=self.env, cwd=self.folder,
                              capture_output=True, text=True, timeout=timeout)

    def start(self):
        self.process = subprocess.Popen([self.path("chronodesk")], env=self.env, cwd=self.folder,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.wait_until(lambda: self.run_program("--list").returncode == 0, 30, "the program did not answer")

    def listed(self):
        result = self.run_program("--list")
        self.assertEqual(result.returncode, 0, result.stderr)
        return [line.split("\t") for line in result.stdout.splitlines()]

    def state(self):
        result = subprocess.run(["dbus-send", "--session", "--print-reply=literal", f"--dest={APP_ID}", OBJECT_PATH,
                                 "org.freedesktop.DBus.Properties.Get", f"string:{APP_ID}", "string:State"],
                                env=self.env, capture_output=True, text=True, timeout=30)
        self.assertEqual(result.returncode, 0, result.stderr)
        return result.stdout.split()[-1]

    def assert_ok(self, result):
        self.assertEqual(result.returncode, 0, result.stderr)

    def bus_call(self, method, *arguments):
        return subprocess.run(["dbus-send", "--session", "--print-reply", f"--dest={APP_ID}", OBJECT_PATH,
                               f"{APP_ID}.{method}", *arguments], env=self.env, capture_output=True, text=True,
                              timeout=30)

    def missions(self):
        result = self.run_program("--list", "--json")
        self.assert_ok(result)
        return json.loads(result.stdout)

    def monitor(self, *rules):
        monitor = subprocess.Popen(["dbus-monitor", "--session", *rules], env=self.env, stdout=subprocess.PIPE,
                                   text=True)
        # dbus-monitor has added its rules once it has said hello.
        time.sleep(1)
        return monitor

    def test_a_row_of_every_kind_is_added_and_listed(self):
        self.start()
        self.assertEqual(self.state(), "stopped")
        expected = []
        for second, kind in enumerate(POWER_KINDS):
            self.assert_ok(self.run_program("--add", kind, "--at", f"2099-12-31 08:00:0{second}"))
            expected.append([kind, kind, "2099-12-31", f"8:00:0{second}"])
            if second == 0:
                # The list's first row starts it, as "添加并关闭" does.
                self.assertEqual(self.state(), "running")
        for minute, (kind, text) in enumerate(OTHER_KINDS.items(), start=1):
            self.assert_ok(self.run_program("--add", kind, "--text", text, "--at", f"2099-01-02 23:0{minute}:59"))
            expected.append([kind, text, "2099-1-2", f"23:0{minute}:59"])
        today = now().date()
        self.assert_ok(self.run_program("--add", "提示消息", "--text", "今天", "--at", "23:59:59"))
        expected.append(["提示消息", "今天", f"{today.year}-{today.month}-{today.day}", "23:59:59"])
        self.assertEqual(self.listed(), expected)

    def test_run_control_follows_the_commands(self):
        self.start()
        for command, status, state in [("--start", 0, "running"), ("--pause", 0, "paused"),
                                       ("--pause", 1, "paused"), ("--start", 0, "running"),
                                       ("--stop", 0, "stopped"), ("--stop", 1, "stopped"),
                                       ("--pause", 1, "stopped")]:
            result = self.run_program(command)
            self.assertEqual(result.returncode, status, f"{command}: {result.stderr}")
            self.assertEqual(self.state(), state, command)

    def test_bad_input_is_refused_and_changes_nothing(self):
        self.start()
        self.assert_ok(self.run_program("--add", "提示消息", "--text", "留着", "--at", "2099-01-01 00:00:00"))
        before = self.listed()
        for arguments, named in [(["--add", "关机", "--text", "x", "--at", "+1h"], "关机"),
                                 (["--add", "提示消息", "--text", "x", "--at", "明天八点"], "明天八点"),
                                 (["--add", "提示消息", "--text", "x", "--at", "2099-02-30 08:00:00"],
                                  "2099-02-30 08:00:00"),
                                 (["--add", "提示消息", "--text", "第一行\n第二行", "--at", "+1h"], "第一行"),
                                 (["--add", "打开网页", "--at", "+1h"], "打开网页"),
                                 (["--start", "--stop"], "--stop"),
                                 (["--bogus"], "bogus")]:
            result = self.run_program(*arguments)
            self.assertEqual(result.returncode, 2, arguments)
            self.assertIn(named, result.stderr)
        # The bus refuses what the command line would have refused.
        result = subprocess.run(["dbus-send", "--session", "--print-reply", f"--dest={APP_ID}", OBJECT_PATH,
                                 f"{APP_ID}.Add", "string:提示消息", "string:a\nb", "string:2099-01-01",
                                 "string:08:00:00"], env=self.env, capture_output=True, text=True, timeout=30)
        self.assertNotEqual(result.returncode, 0)
        self.assertIn("org.freedesktop.DBus.Error.InvalidArgs", result.stderr)
        relative = subprocess.run(["dbus-send", "--session", "--print-reply", f"--dest={APP_ID}", OBJECT_PATH,
                                   f"{APP_ID}.Load", "string:week.mis"], env=self.env, capture_output=True,
                                  text=True, timeout=30)
        self.assertIn("org.freedesktop.DBus.Error.InvalidArgs", relative.stderr)
        self.assertIn("week.mis", relative.stderr)
        self.assertEqual(self.listed(), before)

    def test_quit_records_the_run_and_ends_the_program(self):
        self.start()
        self.assert_ok(self.run_program("--quit"))
        self.assertEqual(self.process.wait(15), 0)
        with sqlite3.connect(self.path("db.mdb")) as db:
            self.assertEqual(db.execute("select count(*) from hd").fetchone()[0], 1)
        result = self.run_program("--list")
        self.assertEqual(result.returncode, 1)
        self.assertIn("没有在运行", result.stderr)

    def test_a_second_launch_shows_the_first_and_exits(self):
        self.start()
        self.assert_ok(self.run_program("--add", "提示消息", "--text", "第一个", "--at", "2099-01-01 00:00:00"))
        monitor = subprocess.Popen(["dbus-monitor", "--session", f"type='method_call',member='Show'"],
                                   env=self.env, stdout=subprocess.PIPE, text=True)
        try:
            time.sleep(1)
            second = self.run_program(timeout=30)
            time.sleep(0.5)
        finally:
            monitor.terminate()
        self.assertEqual(second.returncode, 0, second.stderr)
        calls = monitor.communicate(timeout=10)[0]
        self.assertIn(f"path={OBJECT_PATH}; interface={APP_ID}; member=Show", calls)
        self.assertIsNone(self.process.poll(), "the first program ended")
        self.assertEqual([row[1] for row in self.listed()], ["第一个"])

    def test_without_a_bus_a_lock_keeps_a_second_program_from_the_files(self):
        env = dict(self.env, DBUS_SESSION_BUS_ADDRESS="unix:path=" + self.path("no-bus"))
        first = subprocess.Popen([self.path("chronodesk")], env=env, cwd=self.folder,
                                 stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        with open(self.path("second.err"), "w") as err:
            second = None
            try:
                self.wait_until(lambda: os.path.exists(self.path("chronodesk.lock")), 30, "the first took no lock")
                second = subprocess.Popen([self.path("chronodesk")], env=env, cwd=self.folder,
                                          stdout=subprocess.DEVNULL, stderr=err)
                # It says so (and in a message box, which waits for its OK).
                self.wait_until(lambda: "另一个翎鹊时间管理器" in open(self.path("second.err")).read(), 30,
                                "the second program did not say that the files are in use")
                self.assertIsNone(first.poll(), "the first program ended")
            finally:
                for process in (second, first):
                    if process:
                        process.kill()
                        process.wait(10)
        self.assertIn(self.folder, open(self.path("second.err")).read())

    def test_add_and_load_start_the_program_when_none_runs(self):
        self.assertEqual(self.run_program("--list").returncode, 1)
        self.assert_ok(self.run_program("--add", "系统响铃", "--text", "内置铃声", "--at", "2099-01-01 07:00:00"))
        self.assertEqual(self.listed(), [["系统响铃", "内置铃声", "2099-1-1", "7:00:00"]])
        self.assertEqual(self.state(), "running")

        with open(self.path("week.mis"), "wb") as f:
            f.write(b"\x80".join("打开网页 https://example.org 2099-3-4 9:15:00".split(" ")[i].encode("gb18030")
                                 for i in range(4)) + b"\r\n")
        self.assert_ok(self.run_program("--load", "week.mis"))
        self.assertEqual(self.listed(), [["打开网页", "https://example.org", "2099-3-4", "9:15:00"]])
        missing = self.run_program("--load", "no such.mis")
        self.assertEqual(missing.returncode, 1)
        self.assertIn("no such.mis", missing.stderr)

    def call(self, method, *arguments):
        return subprocess.run(["gdbus", "call", "--session", "--dest", APP_ID, "--object-path", OBJECT_PATH,
                               "--method", f"{APP_ID}.{method}", *arguments],
                              env=self.env, capture_output=True, text=True, timeout=30)

    def added_id(self, *fields):
        result = self.call("Add", *fields)
        self.assert_ok(result)
        return re.fullmatch(r"\('(\d+)',\)", result.stdout.strip()).group(1)

    def quit_and_wait(self):
        self.assert_ok(self.run_program("--quit"))
        self.process.wait(30)

    def test_scripts_manage_missions_by_id_and_the_list_survives_a_restart(self):
        self.start()
        meeting = self.added_id("提示消息", "开会", "2099-12-31", "09:30:00")
        web = self.added_id("打开网页", "https://example.org", "2099-12-30", "08:00:00")
        self.assertNotEqual(meeting, web)

        missions = self.call("Missions")
        self.assert_ok(missions)
        self.assertIn(f"'id': <'{meeting}'>", missions.stdout)
        self.assertIn("'kind': <'message'>", missions.stdout)
        self.assertIn("'kindText': <'提示消息'>", missions.stdout)
        self.assertIn("'text': <'开会'>", missions.stdout)
        self.assertRegex(missions.stdout, r"'at': <'2099-12-31T09:30:00[+-]\d\d:\d\d'>")
        self.assertIn("'repeat': <''>", missions.stdout)
        self.assertIn("'lastRun': <''>", missions.stdout)
        status = self.call("Status")
        self.assert_ok(status)
        self.assertIn("'state': <'running'>", status.stdout)
        self.assertIn("'count': <2>", status.stdout)
        self.assertRegex(status.stdout, r"'next': <\{[^}]*'id': <'%s'>" % web)

        self.assert_ok(self.call("Delete", meeting))
        for unknown in [meeting, "abc"]:
            refused = self.call("Delete", unknown)
            self.assertNotEqual(refused.returncode, 0)
            self.assertIn("org.freedesktop.DBus.Error.InvalidArgs", refused.stderr)
            self.assertIn(unknown, refused.stderr)
        self.assert_ok(self.run_program("--pause"))
        before = self.listed()
        self.assertEqual(before, [["打开网页", "https://example.org", "2099-12-30", "8:00:00"]])

        # Quit, kill: either way the next start finds the list and its run state.
        self.quit_and_wait()
        self.start()
        self.assertEqual(self.listed(), before)
        self.assertEqual(self.state(), "paused")
        self.assertIn(f"'id': <'{web}'>", self.call("Missions").stdout)
        self.assertNotEqual(self.added_id("系统响铃", "内置铃声", "2099-12-29", "07:00:00"), meeting)
        self.process.kill()
        self.process.wait(10)
        self.start()
        self.assertEqual(len(self.listed()), 2)

    def test_missions_missed_while_no_program_ran_are_reported_not_run(self):
        self.start()
        moment = now().replace(microsecond=0) + datetime.timedelta(seconds=4)
        self.assert_ok(self.run_program("--add", "提示消息", "--text", "过时的提醒", "--at", moment.strftime("%H:%M:%S")))
        self.quit_and_wait()
        time.sleep(max(0.0, (moment - now()).total_seconds()) + 1.5)
        monitor = subprocess.Popen(["dbus-monitor", "--session", "interface='org.freedesktop.Notifications'",
                                    f"type='signal',interface='{APP_ID}'"],
                                   env=self.env, stdout=subprocess.PIPE, text=True)
        try:
            time.sleep(1)
            self.start()
            time.sleep(2)
        finally:
            monitor.terminate()
        output = monitor.communicate(timeout=10)[0]
        self.assertIn("程序未运行", output)
        self.assertIn("过时的提醒", output)
        self.assertNotIn("member=MissionCarriedOut", output)
        self.assertEqual(self.listed()[0][1], "过时的提醒")

    def test_carried_out_missions_are_announced_on_the_bus(self):
        self.start()
        monitor = self.monitor(f"type='signal',interface='{APP_ID}'",
                               "type='signal',interface='org.freedesktop.DBus.Properties'")
        try:
            moment = now().replace(microsecond=0) + datetime.timedelta(seconds=3)
            self.assert_ok(self.run_program("--add", "提示消息", "--text", "报告", "--at", moment.strftime("%H:%M:%S")))
            self.wait_until(lambda: self.state() == "running", 10, "the list did not start")
            time.sleep(5)
            for command in ("--pause", "--stop"):
                self.assert_ok(self.run_program(command))
            time.sleep(1)
        finally:
            monitor.terminate()
        output = monitor.communicate(timeout=10)[0]
        changes = re.findall(r'string "State"\s+variant\s+string "(\w+)"', output)
        self.assertEqual(changes, ["running", "paused", "stopped"], output)
        self.assertIn("member=MissionCarriedOut", output)
        announced = output[output.index("member=MissionCarriedOut"):]
        texts = re.findall(r'string "([^"]*)"', announced)[:4]
        self.assertEqual(texts, ["提示消息", "报告", f"{moment.year}-{moment.month}-{moment.day}",
                                 f"{moment.hour}:{moment.minute:02d}:{moment.second:02d}"])

    def test_add_prints_the_id_that_delete_takes(self):
        self.start()
        first = self.run_program("--add", "message", "--text", "第一", "--at", "+45m")
        self.assert_ok(first)
        self.assertRegex(first.stdout, r"^\d+\n$")
        second = self.run_program("--add", "ring", "--at", "tomorrow 07:30")
        self.assert_ok(second)
        ids = [mission["id"] for mission in self.missions()]
        self.assertEqual(ids, [first.stdout.strip(), second.stdout.strip()])

        self.assert_ok(self.run_program("--delete", first.stdout.strip()))
        self.assertEqual([m["id"] for m in self.missions()], [second.stdout.strip()])
        for unknown in (first.stdout.strip(), "999999"):
            result = self.run_program("--delete", unknown)
            self.assertEqual(result.returncode, 2, result.stderr)
            self.assertIn(unknown, result.stderr)
        bus = self.bus_call("Delete", "string:12345")
        self.assertIn("org.freedesktop.DBus.Error.InvalidArgs", bus.stderr)
        self.assertEqual([m["id"] for m in self.missions()], [second.stdout.strip()])

    def test_json_list_and_status_describe_each_mission(self):
        self.start()
        status = json.loads(self.run_program("--status", "--json").stdout)
        self.assertEqual(status, {"state": "stopped", "count": 0, "next": None})
        self.assert_ok(self.run_program("--add", "提示消息", "--text", "开会", "--at", "2099-12-31 09:30"))
        self.assert_ok(self.run_program("--add", "shutdown", "--at", "2099-07-01 23:00:00"))
        # The ring's default sound, as the editor's ring page gives it.
        self.assert_ok(self.run_program("--add", "系统响铃", "--at", "2099-12-31 10:00:00"))
        missions = self.missions()
        self.assertEqual([{k: v for k, v in m.items() if k != "id"} for m in missions], [
            {"kind": "message", "kindText": "提示消息", "text": "开会", "at": "2099-12-31T09:30:00+01:00",
             "repeat": None, "lastRun": None},
            {"kind": "shutdown", "kindText": "关闭计算机", "text": "关闭计算机", "at": "2099-07-01T23:00:00+02:00",
             "repeat": None, "lastRun": None},
            {"kind": "ring", "kindText": "系统响铃", "text": "内置铃声", "at": "2099-12-31T10:00:00+01:00",
             "repeat": None, "lastRun": None}])

        status = json.loads(self.run_program("--status", "--json").stdout)
        self.assertEqual(status, {"state": "running", "count": 3, "next": missions[1]})
        plain = self.run_program("--status")
        self.assert_ok(plain)
        self.assertEqual(plain.stdout.splitlines(), ["状态:正在执行(running)", "任务数:3",
                                                     "下一项:关闭计算机\t关闭计算机\t2099-07-01T23:00:00+02:00"])

        # --list's own date and time texts are taken back.
        kind, text, date, clock = self.listed()[0]
        self.assert_ok(self.run_program("--add", "message", "--text", "again", "--at", f"{date} {clock}"))
        self.assertEqual(self.missions()[-1]["at"], "2099-12-31T09:30:00+01:00")

    def test_each_path_refuses_the_same_moments_and_texts(self):
        self.start()
        self.assert_ok(self.run_program("--add", "提示消息", "--text", "留着", "--at", "+2h"))
        before = self.listed()
        gap = ("2027-03-28", "02:30:00")  # Central European clocks skip 02:00-03:00
        for arguments, named in [(["--at", gap[0] + " " + gap[1]], "不存在"),
                                 (["--at", "2020-01-01 08:00:00"], "已经过去"),
                                 (["--at", "+5x"], "+5x"),
                                 (["--at", "+"], '"+"'),
                                 (["--at", "+2h", "--text", "a\tb"], "制表符")]:
            kind = ["--add", "message"] + ([] if "--text" in arguments else ["--text", "x"])
            result = self.run_program(*kind, *arguments)
            self.assertEqual(result.returncode, 2, arguments)
            self.assertIn(named, result.stderr, arguments)
        result = self.run_program("--list", "--at", "+1h")
        self.assertEqual(result.returncode, 2)
        self.assertIn("--at", result.stderr)
        for description, date, clock, named in [("x", *gap, "不存在"), ("x", "2020-01-01", "08:00:00", "已经过去"),
                                                ("a\tb", "2099-01-01", "08:00:00", "制表符")]:
            bus = self.bus_call("Add", "string:message", f"string:{description}", f"string:{date}",
                                f"string:{clock}")
            self.assertIn("org.freedesktop.DBus.Error.InvalidArgs", bus.stderr)
            self.assertIn(named, bus.stderr)
        self.assertEqual(self.listed(), before)

    def test_a_repeating_mission_is_listed_with_its_rule_and_next_occurrence(self):
        self.start()
        # From a Saturday, a weekday rule comes first on the Monday after.
        saturday = now().date() + datetime.timedelta(days=(5 - now().weekday()) % 7 + 7)
        self.assert_ok(self.run_program("--add", "message", "--text", "站会", "--at", f"{saturday} 09:15",
                                        "--repeat", "weekdays"))
        self.assert_ok(self.run_program("--add", "message", "--text", "一次", "--at", "+2h"))
        repeating, once = self.missions()
        self.assertEqual(repeating["repeat"], "FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR")
        at = datetime.datetime.fromisoformat(repeating["at"])
        self.assertEqual((at.date(), at.hour, at.minute), (saturday + datetime.timedelta(days=2), 9, 15))
        self.assertLess(at.weekday(), 5)
        self.assertIsNone(once["repeat"])
        before = self.listed()

        bad = self.run_program("--add", "message", "--text", "x", "--at", "+1h", "--repeat", "FREQ=WEEKLY;BYDAY=XX")
        self.assertEqual(bad.returncode, 2, bad.stderr)
        self.assertIn("无法识别重复规则", bad.stderr)
        self.assertIn("BYDAY=XX", bad.stderr)
        bus = self.bus_call("AddRepeating", "string:message", "string:x", "string:2099-01-01", "string:08:00:00",
                            "string:FREQ=SOMETIMES")
        self.assertIn("org.freedesktop.DBus.Error.InvalidArgs", bus.stderr)
        self.assertIn("FREQ=SOMETIMES", bus.stderr)
        self.assertEqual(self.listed(), before)

        self.assert_ok(self.bus_call("AddRepeating", "string:web", "string:https://example.org",
                                     "string:2099-01-31", "string:08:00:00", "string:monthly"))
        self.assertEqual([m["repeat"] for m in self.missions()][-1], "FREQ=MONTHLY")

    def test_two_adds_at_once_leave_the_window_hidden(self):
        monitor = self.monitor("type='method_call',member='Show'")
        try:
            adds = [subprocess.Popen([self.path("chronodesk"), "--add", "message", "--text", f"同时{n}", "--at", "+1h"],
                                     env=self.env, cwd=self.folder, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                     text=True) for n in range(2)]
            results = [add.communicate(timeout=30) for add in adds]
            time.sleep(1)
        finally:
            monitor.terminate()
        for add, (out, err) in zip(adds, results):
            self.assertEqual(add.returncode, 0, err)
        self.assertEqual(sorted(row[1] for row in self.listed()), ["同时0", "同时1"])
        self.assertNotIn("member=Show", monitor.communicate(timeout=10)[0])

    def test_a_program_started_by_a_command_stays_hidden_until_asked(self):
        screen = VirtualScreen()
        try:
            env = dict(self.env, QT_QPA_PLATFORM="xcb", DISPLAY=screen.display)
            run = lambda *arguments: subprocess.run([self.path("chronodesk"), *arguments], env=env, cwd=self.folder,
                                                    capture_output=True, text=True, timeout=30)
            self.assert_ok(run("--add", "message", "--text", "x", "--at", "+1h"))
            self.assertEqual(run("--load", "no such.mis").returncode, 1)  # and a failed load shows no box
            time.sleep(1)
            # Minimised where no notification area is: mapped, but iconic.
            self.assertEqual([w for w in screen.windows("ChronoDesk") if w["shown"]], [])
            self.assert_ok(run())  # a launch asks for the window
            self.wait_until(lambda: any(w["shown"] for w in screen.windows("ChronoDesk")), 10,
                            "the window did not show")
            # The class the desktop entry's StartupWMClass names.
            self.assertEqual({w["class"] for w in screen.windows("ChronoDesk") if w["shown"]},
                             {'"chronodesk", "ChronoDesk"'})
            run("--quit")
        finally:
            screen.stop()

    def test_a_program_that_does_not_answer_is_given_up_within_5_seconds(self):
        self.start()
        os.kill(self.process.pid, signal.SIGSTOP)
        try:
            for arguments in (["--list"], ["--add", "message", "--text", "x", "--at", "+1h"], []):
                began = time.monotonic()
                result = self.run_program(*arguments)
                waited = time.monotonic() - began
                print(f"gave up after {waited:.2f} s: chronodesk {' '.join(arguments)}", file=sys.stderr)
                self.assertEqual(result.returncode, 1, arguments)
                self.assertIn("没有回应", result.stderr)
                self.assertLess(waited, 5.0, arguments)
        finally:
            os.kill(self.process.pid, signal.SIGCONT)

    def test_without_a_display_the_started_programs_error_is_told(self):
        env = {k: v for k, v in self.env.items() if k not in ("QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY")}
        began = time.monotonic()
        result = subprocess.run([self.path("chronodesk"), "--add", "message", "--text", "x", "--at", "+1h"],
                                env=env, cwd=self.folder, capture_output=True, text=True, timeout=30)
        waited = time.monotonic() - began
        print(f"gave up after {waited:.2f} s without a display", file=sys.stderr)
        self.assertEqual(result.returncode, 1)
        self.assertIn("无法启动", result.stderr)
        self.assertIn("display", result.stderr)  # Qt's own words
        self.assertLess(waited, 5.0)


if __name__ == "__main__":
    PROGRAM = sys.argv.pop(1)
    unittest.main()
