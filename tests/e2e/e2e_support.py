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


class ProgramTestCase(unittest.TestCase):
    def wait_until(self, condition, timeout, what):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if condition():
                return
            time.sleep(0.1)
        self.fail(what)
