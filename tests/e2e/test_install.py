#!/usr/bin/env python3
"""Installs the build into a temporary prefix and checks the installed tree:
every file the desktop looks for, under the one application id, valid for
desktop-file-validate and appstreamcli, and an executable that runs."""

import gzip
import os
import re
import signal
import subprocess
import sys
import tempfile
import time
import unittest
import xml.etree.ElementTree as ElementTree

from e2e_support import PrivateBus, VirtualScreen

BUILD = None  # set from the command line
SOURCE = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
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
                     f"share/dbus-1/services/{APP_ID}.service",
                     f"share/dbus-1/interfaces/{APP_ID}.xml",
                     "share/man/man1/chronodesk.1.gz",
                     "share/doc/chronodesk/copyright",
                     "share/doc/chronodesk/README.md"]:
            self.installed(path)
        with gzip.open(self.installed("share/doc/chronodesk/changelog.gz"), "rt", encoding="utf-8") as f:
            version = subprocess.run([self.installed("bin/chronodesk"), "--version"], capture_output=True,
                                     text=True).stdout.split()[-1]
            self.assertTrue(f.readline().startswith(f"chronodesk ({version})"))
        # The sound plugin, where the program looks for it (bin/../<libdir>/chronodesk).
        plugins = [os.path.relpath(os.path.join(folder, name), self.prefix)
                   for folder, _, names in os.walk(self.prefix) for name in names if name == "chronodesk-sound.so"]
        self.assertEqual(len(plugins), 1, plugins)
        self.assertRegex(plugins[0], r"^lib[^/]*(/[^/]+)?/chronodesk/chronodesk-sound\.so$")

    def test_bus_activation_file_starts_the_installed_program(self):
        with open(self.installed(f"share/dbus-1/services/{APP_ID}.service"), encoding="utf-8") as f:
            lines = f.read().splitlines()
        self.assertEqual(lines, ["[D-BUS Service]", f"Name={APP_ID}",
                                 f"Exec={os.path.join(self.prefix, 'bin/chronodesk')} --hidden"])

    def test_interface_description_matches_the_program(self):
        described = ElementTree.parse(self.installed(f"share/dbus-1/interfaces/{APP_ID}.xml")).getroot()
        program = os.path.join(self.prefix, "bin/chronodesk")
        with tempfile.TemporaryDirectory(prefix="chronodesk-home-") as home:
            config = os.path.join(home, "session.conf")
            with open(config, "w") as f:
                f.write(f"""<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig><type>session</type><listen>unix:path={home}/bus</listen>
<servicedir>{os.path.join(self.prefix, "share/dbus-1/services")}</servicedir>
<policy context="default"><allow send_destination="*" eavesdrop="true"/><allow eavesdrop="true"/>
<allow own="*"/></policy></busconfig>""")
            # The bus starts the program with its own environment.
            address = f"unix:path={home}/bus"
            env = dict(os.environ, DBUS_SESSION_BUS_ADDRESS=address, DBUS_SYSTEM_BUS_ADDRESS=address,
                       QT_QPA_PLATFORM="offscreen", CHRONODESK_TESTING="1", HOME=home,
                       XDG_DATA_HOME=os.path.join(home, "data"), XDG_CONFIG_HOME=os.path.join(home, "config"))
            pid = subprocess.run(["dbus-daemon", f"--config-file={config}", "--fork", "--print-pid=1"], env=env,
                                 capture_output=True, text=True, check=True, timeout=30).stdout.split()[0]
            try:
                # Nothing runs: the call itself starts the program.
                introspected = subprocess.run(
                    ["dbus-send", "--session", "--print-reply=literal", f"--dest={APP_ID}",
                     "/io/github/chronodesk/ChronoDesk", "org.freedesktop.DBus.Introspectable.Introspect"],
                    env=env, capture_output=True, text=True, timeout=30)
                self.assertEqual(introspected.returncode, 0, introspected.stderr)
                subprocess.run([program, "--quit"], env=env, capture_output=True, timeout=30)
            finally:
                os.kill(int(pid), signal.SIGTERM)
        live = ElementTree.fromstring(introspected.stdout.strip())

        def members(node):
            interface = next(i for i in node.iter("interface") if i.get("name") == APP_ID)
            def types(member, direction):
                default = "out" if member.tag == "signal" else "in"
                return tuple(arg.get("type") for arg in member.iter("arg")
                             if arg.get("direction", default) == direction)

            return {(member.tag, member.get("name"), types(member, "in"), types(member, "out"), member.get("type"))
                    for member in interface if member.tag in ("method", "signal", "property")}

        self.assertEqual(members(described), members(live))

    def test_setup_asks_for_real_packages_and_calls_apt_only_for_missing_ones(self):
        setup = os.path.join(SOURCE, "scripts/setup.sh")
        packages = subprocess.run([setup, "--print"], capture_output=True, text=True, check=True).stdout.split()
        self.assertIn("qt6-svg-dev", packages)
        # A virtual package has no candidate and never counts as installed.
        policy = subprocess.run(["apt-cache", "policy", *packages], capture_output=True, text=True).stdout
        self.assertNotIn("Candidate: (none)", policy)
        self.assertEqual(len(re.findall(r"^\S+:$", policy, re.M)), len(packages), policy)
        missing = [p for p in packages if "install ok installed" not in subprocess.run(
            ["dpkg-query", "-W", "-f=${Status}", p], capture_output=True, text=True).stdout]
        if missing:
            self.skipTest(f"not installed here: {' '.join(missing)}")
        with tempfile.TemporaryDirectory(prefix="chronodesk-setup-") as bin_folder:
            calls = os.path.join(bin_folder, "calls")
            for tool in ("apt-get", "sudo"):
                with open(os.path.join(bin_folder, tool), "w") as f:
                    f.write(f"#!/bin/sh\necho {tool} \"$@\" >> {calls}\n")
                os.chmod(os.path.join(bin_folder, tool), 0o755)
            env = dict(os.environ, PATH=bin_folder + os.pathsep + os.environ["PATH"])
            result = subprocess.run([setup], env=env, capture_output=True, text=True, timeout=60)
            self.assertEqual(result.returncode, 0, result.stderr)
            self.assertFalse(os.path.exists(calls), "apt-get was called with nothing missing")

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
        page = self.installed("share/man/man1/chronodesk.1.gz")
        result = subprocess.run(["man", "-l", "-Tutf8", page], capture_output=True, text=True,
                                env=dict(os.environ, MANWIDTH="100", LANG="C.UTF-8"))
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertNotIn("warning", result.stderr)
        text = re.sub(".\b", "", result.stdout)  # bold and underline by overstriking
        for word in ("--add", "--delete", "--list", "--status", "--json", "+1h30m", "tomorrow", "--quit",
                     "EXIT STATUS", "Bad input", "翎鹊时间管理器"):
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

    def test_installed_program_keeps_its_files_per_user_without_a_word(self):
        program = os.path.join(self.prefix, "bin/chronodesk")
        bus = PrivateBus()
        screen = VirtualScreen()
        with tempfile.TemporaryDirectory(prefix="chronodesk-home-") as home:
            env = dict(os.environ, DBUS_SESSION_BUS_ADDRESS=bus.address, DBUS_SYSTEM_BUS_ADDRESS=bus.address,
                       QT_QPA_PLATFORM="xcb", DISPLAY=screen.display, CHRONODESK_TESTING="1", HOME=home,
                       XDG_DATA_HOME=os.path.join(home, "data"), XDG_CONFIG_HOME=os.path.join(home, "config"))
            try:
                # Started hidden by a script on its first start: no notice, no window.
                added = subprocess.run([program, "--add", "message", "--text", "x", "--at", "+1h"], env=env,
                                       capture_output=True, text=True, timeout=30)
                self.assertEqual(added.returncode, 0, added.stderr)
                self.assertTrue(os.path.exists(os.path.join(home, "data/ChronoDesk/chronodesk.lock")))
                time.sleep(1)
                self.assertEqual([w for w in screen.windows("ChronoDesk") if w["shown"]], [])
                # Asked for, the window comes alone.
                self.assertEqual(subprocess.run([program], env=env, capture_output=True, timeout=30).returncode, 0)
                time.sleep(2)
                self.assertEqual(len([w for w in screen.windows("ChronoDesk") if w["shown"]]), 1)
                quit = subprocess.run([program, "--quit"], env=env, capture_output=True, text=True, timeout=30)
                self.assertEqual(quit.returncode, 0, quit.stderr)
            finally:
                bus.stop()
                screen.stop()
            # Even where the user may write to the installation's bin folder.
            self.assertEqual(os.listdir(os.path.join(self.prefix, "bin")), ["chronodesk"])
            self.assertTrue(os.path.exists(os.path.join(home, "data/ChronoDesk/db.mdb")))


if __name__ == "__main__":
    BUILD = sys.argv.pop(1)
    unittest.main()
