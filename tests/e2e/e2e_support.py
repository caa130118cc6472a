"""What the end-to-end tests share: a private D-Bus daemon and waiting for a
condition with a deadline, so that no test can hang."""

import os
import signal
import subprocess
import time
import unittest


class PrivateBus:
    """A dbus-daemon of the test's own, used as the session bus (and, for the
    program under test, as the system bus)."""

    def __init__(self):
        result = subprocess.run(["dbus-daemon", "--session", "--fork", "--print-address=1", "--print-pid=1"],
                                capture_output=True, text=True, timeout=30, check=True)
        address, pid = result.stdout.split()[:2]
        self.address, self.pid = address, int(pid)

    def stop(self):
        try:
            os.kill(self.pid, signal.SIGTERM)
        except ProcessLookupError:
            pass


class VirtualScreen:
    """An Xvfb server of the test's own, to see the program's X11 windows as
    a desktop would."""

    def __init__(self):
        read, write = os.pipe()
        self.process = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1024x768x24",
                                         "-nolisten", "tcp"], pass_fds=(write,), stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as pipe:
            self.display = ":" + pipe.readline().strip()

    def windows(self, window_class):
        """The top-level windows of `window_class`: id, WM_CLASS, and whether
        it is shown (mapped and not iconic)."""
        env = dict(os.environ, DISPLAY=self.display)
        found = subprocess.run(["xdotool", "search", "--class", window_class], env=env, capture_output=True,
                               text=True, timeout=30).stdout.split()
        windows = []
        for window in found:
            info = subprocess.run(["xwininfo", "-id", window], env=env, capture_output=True, text=True,
                                  timeout=30).stdout
            properties = subprocess.run(["xprop", "-id", window, "WM_CLASS", "WM_HINTS"], env=env,
                                        capture_output=True, text=True, timeout=30).stdout
            if "WM_CLASS" not in properties or "not found" in properties.split("\n")[0]:
                continue
            wm_class = properties.split("\n")[0].split("=", 1)[1].strip()
            windows.append({"id": window, "class": wm_class,
                            "shown": "IsViewable" in info and "Iconic" not in properties})
        return windows

    def stop(self):
        self.process.terminate()
        self.process.wait(10)


class ProgramTestCase(unittest.TestCase):
    def wait_until(self, condition, timeout, what):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if condition():
                return
            time.sleep(0.1)
        self.fail(what)
