"""A desktop's accessibility for a test: a private session bus with the
accessibility bus launched and switched on, as a desktop does for a screen
reader, and a walk of what applications show on it, as a screen reader walks
it from the registry (with Gio's synchronous calls, which need no main loop)."""

import os
import subprocess
import time

import gi

gi.require_version("Gio", "2.0")
from gi.repository import Gio, GLib  # noqa: E402

FLAGS = Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION
ACCESSIBLE = "org.a11y.atspi.Accessible"
PROPERTIES = "org.freedesktop.DBus.Properties"
# Both switches on, as a desktop sets them while a screen reader runs.
SCREEN_READER = {"IsEnabled": True, "ScreenReaderEnabled": True}


def _bus_call(connection, name, path, interface, method, arguments=None, answer=None, timeout=10000):
    reply = connection.call_sync(name, path, interface, method, arguments,
                                 GLib.VariantType(answer) if answer else None,
                                 Gio.DBusCallFlags.NONE, timeout, None)
    return reply.unpack() if reply else None


def _owner_pid(connection, name):
    """The process that owns name on the bus; asking starts nothing."""
    return _bus_call(connection, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                     "GetConnectionUnixProcessID", GLib.Variant("(s)", (name,)), "(u)")[0]


class AccessibilityBus:
    """A session bus of the test's own, with AT-SPI's bus on it and its switches
    set as given (the ones the desktop has; missing lists those asked on that
    it lacks)."""

    def __init__(self, display, folder, switches=SCREEN_READER):
        # On the test's display, as a desktop session starts it: the launcher
        # marks the accessibility bus on the root window (AT_SPI_BUS), where
        # Qt 5.15 finds it at once. Found only through the session bus, Qt
        # 5.15's bridge sometimes registers before its own connection to the
        # bus exists, and never shows on the registry. The services started
        # on the buses keep their settings in memory and their files in
        # folder, the desktop's settings the switches write to included,
        # never the person's own.
        runtime = folder / "runtime"
        runtime.mkdir(parents=True, mode=0o700)
        environment = dict(os.environ, DISPLAY=display.name, HOME=str(folder),
                           XDG_CONFIG_HOME=str(folder / "config"), XDG_CACHE_HOME=str(folder / "cache"),
                           XDG_RUNTIME_DIR=str(runtime), GSETTINGS_BACKEND="memory")
        self.session_daemon = subprocess.Popen(
            ["dbus-daemon", "--session", "--nofork", "--print-address=1"], env=environment,
            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        self.session_address = self.session_daemon.stdout.readline().strip()
        environment["DBUS_SESSION_BUS_ADDRESS"] = self.session_address
        self.launcher = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                                         env=environment, stdout=subprocess.DEVNULL,
                                         stderr=subprocess.DEVNULL)
        self.session = Gio.DBusConnection.new_for_address_sync(self.session_address, FLAGS, None, None)
        self.accessibility = None

        # Nothing may ask for org.a11y.Bus before this launcher holds it: the
        # session bus would start one of its own for the name (the system's
        # service file), without the display, and if that one wins, the
        # accessibility bus is never published there. Asking who owns a name
        # starts nothing.
        deadline = time.monotonic() + 10
        while True:
            try:
                if _owner_pid(self.session, "org.a11y.Bus") == self.launcher.pid:
                    break
                failure = "another process holds org.a11y.Bus"
            except GLib.Error as error:  # not yet owned
                failure = error.message
            if self.launcher.poll() is not None or time.monotonic() > deadline:
                self.close()
                raise AssertionError("the accessibility bus launcher did not start: " + failure)
            time.sleep(0.05)
        address = _bus_call(self.session, "org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress",
                            answer="(s)")[0]
        status = _bus_call(self.session, "org.a11y.Bus", "/org/a11y/bus", PROPERTIES, "GetAll",
                           GLib.Variant("(s)", ("org.a11y.Status",)), "(a{sv})")[0]
        # at-spi2-core 2.61 and later have only IsEnabled.
        self.missing = [name for name, value in switches.items() if value and name not in status]
        for name, value in switches.items():
            if name in status:
                _bus_call(self.session, "org.a11y.Bus", "/org/a11y/bus", PROPERTIES, "Set",
                          GLib.Variant("(ssv)", ("org.a11y.Status", name, GLib.Variant("b", value))))
        self.accessibility = Gio.DBusConnection.new_for_address_sync(address, FLAGS, None, None)

    def environment(self):
        """What an application started on this desktop finds in its environment."""
        return {"DBUS_SESSION_BUS_ADDRESS": self.session_address}

    def close(self):
        for connection in (self.accessibility, self.session):
            if connection:
                connection.close_sync(None)
        for process in (self.launcher, self.session_daemon):
            process.terminate()
            process.wait(10)
        self.session_daemon.stdout.close()

    def _call(self, name, path, interface, method, arguments=None, answer=None):
        """The answer's values, or None where the node went away meanwhile."""
        try:
            return _bus_call(self.accessibility, name, path, interface, method, arguments, answer)
        except GLib.Error:
            return None

    def nodes(self, pid=None, depth=30):
        """Every (role, name) that an application on the bus shows, with pid only
        that process's, walking down to depth levels; empty while none is
        registered."""
        found = []
        applications = self._call("org.a11y.atspi.Registry", "/org/a11y/atspi/accessible/root",
                                  ACCESSIBLE, "GetChildren", answer="(a(so))")
        for name, path in (applications[0] if applications else []):
            if pid is not None:
                owner = self._call("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                                   "GetConnectionUnixProcessID", GLib.Variant("(s)", (name,)), "(u)")
                if owner != (pid,):
                    continue
            self._walk(name, path, depth, found)
        return found

    def _walk(self, name, path, depth, found):
        role = self._call(name, path, ACCESSIBLE, "GetRoleName", answer="(s)")
        label = self._call(name, path, PROPERTIES, "Get", GLib.Variant("(ss)", (ACCESSIBLE, "Name")), "(v)")
        found.append((role[0] if role else None, label[0] if label else None))
        if depth == 0:
            return
        children = self._call(name, path, ACCESSIBLE, "GetChildren", answer="(a(so))")
        for child_name, child_path in (children[0] if children else []):
            self._walk(child_name, child_path, depth - 1, found)
