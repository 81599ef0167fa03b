"""A desktop's accessibility for a test: a private session bus with the
accessibility bus launched and switched on, as a desktop does for a screen
reader, and a walk of what applications show on it (with gdbus, which needs
no main loop)."""

import ast
import os
import re
import subprocess
import time


class AccessibilityBus:
    """A session bus of the test's own, with AT-SPI's bus on it, switched on as
    for a screen reader."""

    def __init__(self, display, folder):
        # In folder, the desktop's settings the switches write to included,
        # never the person's own.
        runtime = folder / "runtime"
        runtime.mkdir(parents=True, mode=0o700)
        environment = dict(os.environ, HOME=str(folder), XDG_CONFIG_HOME=str(folder / "config"),
                           XDG_CACHE_HOME=str(folder / "cache"), XDG_RUNTIME_DIR=str(runtime),
                           GSETTINGS_BACKEND="memory")
        self.session = subprocess.Popen(
            ["dbus-daemon", "--session", "--nofork", "--print-address=1"], env=environment,
            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        self.session_address = self.session.stdout.readline().strip()
        # On the display too, as a desktop's launcher publishes it there.
        environment.update(DBUS_SESSION_BUS_ADDRESS=self.session_address, DISPLAY=display.name)
        self.launcher = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                                         env=environment, stdout=subprocess.DEVNULL,
                                         stderr=subprocess.DEVNULL)
        # Nothing may ask for org.a11y.Bus before this launcher holds it: the
        # session bus would start one of its own for the name (the system's
        # service file), without the display, and if that one wins, the
        # accessibility bus is never published there. Qt 5's bridge then finds
        # it only through the session bus, may register before its connection
        # exists, and never shows on the registry. Asking who owns a name
        # starts nothing.
        deadline = time.monotonic() + 10
        while True:
            owner = subprocess.run(
                ["gdbus", "call", "--address", self.session_address, "--dest", "org.freedesktop.DBus",
                 "--object-path", "/org/freedesktop/DBus", "--method",
                 "org.freedesktop.DBus.GetConnectionUnixProcessID", "org.a11y.Bus"],
                capture_output=True, text=True)
            if owner.stdout.strip() == f"(uint32 {self.launcher.pid},)":
                break
            if self.launcher.poll() is not None or time.monotonic() > deadline:
                raise AssertionError("the accessibility bus launcher did not start: " + owner.stderr)
            time.sleep(0.05)
        result = subprocess.run(
            ["gdbus", "call", "--address", self.session_address, "--dest", "org.a11y.Bus",
             "--object-path", "/org/a11y/bus", "--method", "org.a11y.Bus.GetAddress"],
            check=True, capture_output=True, text=True)
        self.address = ast.literal_eval(result.stdout)[0]
        # As a desktop sets them while a screen reader runs; at-spi2-core 2.61
        # and later have only IsEnabled.
        status = subprocess.run(["gdbus", "call", "--address", self.session_address, "--dest",
                                 "org.a11y.Bus", "--object-path", "/org/a11y/bus", "--method",
                                 "org.freedesktop.DBus.Properties.GetAll", "org.a11y.Status"],
                                check=True, capture_output=True, text=True).stdout
        for switch in (name for name in ("IsEnabled", "ScreenReaderEnabled") if f"'{name}'" in status):
            subprocess.run(["gdbus", "call", "--address", self.session_address, "--dest",
                            "org.a11y.Bus", "--object-path", "/org/a11y/bus", "--method",
                            "org.freedesktop.DBus.Properties.Set", "org.a11y.Status", switch,
                            "<true>"], check=True, capture_output=True)

    def environment(self):
        """What an application started on this desktop finds in its environment."""
        return {"DBUS_SESSION_BUS_ADDRESS": self.session_address}

    def close(self):
        for process in (self.launcher, self.session):
            process.terminate()
            process.wait(10)
        self.session.stdout.close()

    def _call(self, name, path, method, *arguments):
        result = subprocess.run(["gdbus", "call", "--address", self.address, "--dest", name,
                                 "--object-path", path, "--method", method, *arguments],
                                capture_output=True, text=True, timeout=10)
        if result.returncode != 0:
            return None
        # gdbus prints GVariant text: typed values and "<...>" boxes around variants.
        text = re.sub(r"\b(?:objectpath|uint32|int32|@\w+) ", "", result.stdout)
        text = text.replace("<", "").replace(">", "")
        try:
            return ast.literal_eval(text)
        except (ValueError, SyntaxError):
            return None

    def nodes(self, pid=None, depth=30):
        """Every (role, name) that an application on the bus shows, with pid only
        that process's, walking down to depth levels."""
        found = []
        applications = self._call("org.a11y.atspi.Registry", "/org/a11y/atspi/accessible/root",
                                  "org.a11y.atspi.Accessible.GetChildren")
        for name, path in (applications[0] if applications else []):
            if pid is not None:
                owner = subprocess.run(
                    ["gdbus", "call", "--address", self.address, "--dest", "org.freedesktop.DBus",
                     "--object-path", "/org/freedesktop/DBus", "--method",
                     "org.freedesktop.DBus.GetConnectionUnixProcessID", name],
                    capture_output=True, text=True)
                if f"{pid}," not in owner.stdout:
                    continue
            self._walk(name, path, depth, found)
        return found

    def _walk(self, name, path, depth, found):
        role = self._call(name, path, "org.a11y.atspi.Accessible.GetRoleName")
        label = self._call(name, path, "org.freedesktop.DBus.Properties.Get",
                           "org.a11y.atspi.Accessible", "Name")
        found.append((role[0] if role else None, label[0] if label else None))
        if depth == 0:
            return
        children = self._call(name, path, "org.a11y.atspi.Accessible.GetChildren")
        for child_name, child_path in (children[0] if children else []):
            self._walk(child_name, child_path, depth - 1, found)
