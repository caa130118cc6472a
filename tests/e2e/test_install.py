#!/usr/bin/env python3
"""Installs the build into a temporary prefix and checks the installed tree:
every file the desktop looks for, under the one application id, valid for
desktop-file-validate and appstreamcli, and an executable that runs."""

import os
import re
import signal
import subprocess
import sys
import tempfile
import time
import unittest
import xml.etree.ElementTree as ElementTree

BUILD = None  # set from the command line
APP_ID = "io.github.chronodesk.ChronoDesk"


class InstallTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.scratch = tempfile.TemporaryDirectory(prefix="chronodesk-install-")
        cls.prefix = cls.scratch.name
        subprocess.run(["cmake", "--install", BUILD, "--prefix", cls.prefix], check=True,
                       stdout=subprocess.DEVNULL)

    @classmethod
    def tearDownClass(cls):
        cls.scratch.cleanup()

    def installed(self, path):
        full = os.path.join(self.prefix, path)
        self.assertTrue(os.path.isfile(full), f"{path} is not installed")
        return full

    def test_every_file_is_in_its_place(self):
        self.assertTrue(os.access(self.installed("bin/chronodesk"), os.X_OK))
        for path in [f"share/applications/{APP_ID}.desktop",
                     f"share/metainfo/{APP_ID}.metainfo.xml",
                     f"share/icons/hicolor/scalable/apps/{APP_ID}.svg",
                     "share/man/man1/chronodesk.1"]:
            self.installed(path)
        # The sound plugin, where the program looks for it (bin/../<libdir>/chronodesk).
        plugins = [os.path.relpath(os.path.join(folder, name), self.prefix)
                   for folder, _, names in os.walk(self.prefix) for name in names if name == "chronodesk-sound.so"]
        self.assertEqual(len(plugins), 1, plugins)
        self.assertRegex(plugins[0], r"^lib[^/]*(/[^/]+)?/chronodesk/chronodesk-sound\.so$")

    def test_png_icons_have_their_size(self):
        for size in (48, 256):
            with open(self.installed(f"share/icons/hicolor/{size}x{size}/apps/{APP_ID}.png"), "rb") as f:
                header = f.read(24)
            self.assertEqual(header[:8], b"\x89PNG\r\n\x1a\n")
            self.assertEqual(int.from_bytes(header[16:20], "big"), size)
            self.assertEqual(int.from_bytes(header[20:24], "big"), size)

    def test_desktop_entry_is_valid_and_starts_the_installed_program(self):
        entry = self.installed(f"share/applications/{APP_ID}.desktop")
        result = subprocess.run(["desktop-file-validate", entry], capture_output=True, text=True)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        self.assertEqual(result.stdout.strip(), "", "desktop-file-validate has remarks")
        with open(entry, encoding="utf-8") as f:
            lines = f.read().splitlines()
        self.assertIn("Exec=chronodesk", lines)
        self.assertIn(f"Icon={APP_ID}", lines)
        self.assertIn("Name[zh_CN]=翎鹊时间管理器", lines)

    def test_metadata_is_valid_and_speaks_both_languages(self):
        metainfo = self.installed(f"share/metainfo/{APP_ID}.metainfo.xml")
        result = subprocess.run(["appstreamcli", "validate", "--no-net", "--explain", metainfo],
                                capture_output=True, text=True)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        root = ElementTree.parse(metainfo).getroot()
        self.assertEqual(root.findtext("id"), APP_ID)
        lang = "{http://www.w3.org/XML/1998/namespace}lang"
        summaries = {s.get(lang): s.text for s in root.findall("summary")}
        self.assertIn(None, summaries)
        self.assertIn("zh-CN", summaries)
        self.assertEqual(root.find("launchable").text, f"{APP_ID}.desktop")
        self.assertTrue(root.find("screenshots/screenshot/image").text.startswith("https://"))
        version = subprocess.run([os.path.join(self.prefix, "bin/chronodesk"), "--version"],
                                 capture_output=True, text=True).stdout.split()[-1]
        self.assertEqual(root.find("releases/release").get("version"), version)

    def test_manual_page_renders(self):
        page = self.installed("share/man/man1/chronodesk.1")
        result = subprocess.run(["man", "-l", "-Tutf8", page], capture_output=True, text=True,
                                env=dict(os.environ, MANWIDTH="100", LANG="C.UTF-8"))
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertNotIn("warning", result.stderr)
        text = re.sub(".\b", "", result.stdout)  # bold and underline by overstriking
        for word in ("--add", "--list", "--quit", "EXIT STATUS", "翎鹊时间管理器"):
            self.assertIn(word, text)

    def test_installed_program_answers_on_its_own(self):
        program = os.path.join(self.prefix, "bin/chronodesk")
        env = {k: v for k, v in os.environ.items() if k != "DBUS_SESSION_BUS_ADDRESS"}
        env["DBUS_SESSION_BUS_ADDRESS"] = "unix:path=/nonexistent"
        version = subprocess.run([program, "--version"], capture_output=True, text=True, env=env)
        self.assertEqual(version.returncode, 0)
        self.assertRegex(version.stdout, r"^chronodesk \d+\.\d+\n$")
        # Without a bus no program can be reached; a clear status, no hang.
        listing = subprocess.run([program, "--list"], capture_output=True, text=True, env=env, timeout=30)
        self.assertEqual(listing.returncode, 1)
        self.assertIn("会话总线", listing.stderr)

    def test_installed_program_keeps_its_files_per_user(self):
        program = os.path.join(self.prefix, "bin/chronodesk")
        with tempfile.TemporaryDirectory(prefix="chronodesk-home-") as home:
            bus = subprocess.run(["dbus-daemon", "--session", "--fork", "--print-address=1", "--print-pid=1"],
                                 capture_output=True, text=True, check=True, timeout=30).stdout.split("\n")
            env = dict(os.environ, DBUS_SESSION_BUS_ADDRESS=bus[0], DBUS_SYSTEM_BUS_ADDRESS=bus[0],
                       QT_QPA_PLATFORM="offscreen", CHRONODESK_TESTING="1", HOME=home,
                       XDG_DATA_HOME=os.path.join(home, "data"), XDG_CONFIG_HOME=os.path.join(home, "config"))
            process = subprocess.Popen([program], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            try:
                deadline = time.monotonic() + 30
                while subprocess.run([program, "--list"], env=env, capture_output=True).returncode != 0:
                    self.assertLess(time.monotonic(), deadline, "the installed program did not answer")
                    time.sleep(0.1)
                self.assertTrue(os.path.exists(os.path.join(home, "data/ChronoDesk/chronodesk.lock")))
                subprocess.run([program, "--quit"], env=env, capture_output=True, timeout=30)
                self.assertEqual(process.wait(15), 0)
            finally:
                if process.poll() is None:
                    process.kill()
                os.kill(int(bus[1]), signal.SIGTERM)
            # Even where the user may write to the installation's bin folder.
            self.assertEqual(os.listdir(os.path.join(self.prefix, "bin")), ["chronodesk"])
            self.assertTrue(os.path.exists(os.path.join(home, "data/ChronoDesk/db.mdb")))


if __name__ == "__main__":
    BUILD = sys.argv.pop(1)
    unittest.main()
