"""A screen reader on the desktop's accessibility bus (AT-SPI) reaches the
page's heading, named button and text and the window's own widget, with
nothing set by the person; the keyboard is in the page from the start."""

import os
import subprocess
import unittest

import gi

gi.require_version("Gio", "2.0")
from gi.repository import Gio, GLib  # noqa: E402
from Xlib import XK  # noqa: E402

from harness import HERE, AppTestCase, active_window, press_key, wait_until  # noqa: E402

FLAGS = Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION
ROOT = "/org/a11y/atspi/accessible/root"
ACCESSIBLE = "org.a11y.atspi.Accessible"


def call(connection, name, path, interface, method, arguments=None, answer=None):
    reply = connection.call_sync(name, path, interface, method, arguments,
                                 GLib.VariantType(answer) if answer else None,
                                 Gio.DBusCallFlags.NONE, 5000, None)
    return reply.unpack() if reply else None


class DesktopBuses:
    """A session bus of its own with the desktop's accessibility bus launched
    on it, and its switches set as a desktop sets them."""

    def __init__(self, display, folder, switches):
        # On the test's display, as a desktop session starts it: the launcher
        # marks the accessibility bus on the root window (AT_SPI_BUS), where
        # Qt 5.15 finds it at once. Found only through the session bus, Qt
        # 5.15's bridge sometimes registers before its own connection to the
        # bus exists, and never again. The services started on the buses keep
        # their settings in memory and their files in the test's folder.
        environment = dict(os.environ, DISPLAY=display.name)
        runtime = folder / "runtime"
        runtime.mkdir(parents=True, mode=0o700)
        environment.update(HOME=str(folder), XDG_CONFIG_HOME=str(folder / "config"),
                           XDG_CACHE_HOME=str(folder / "cache"), XDG_RUNTIME_DIR=str(runtime),
                           GSETTINGS_BACKEND="memory")
        self.session_daemon = subprocess.Popen(
            ["dbus-daemon", "--session", "--nofork", "--print-address=1"], env=environment,
            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        self.session_address = self.session_daemon.stdout.readline().strip()
        environment["DBUS_SESSION_BUS_ADDRESS"] = self.session_address
        self.launcher = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                                         env=environment, stdout=subprocess.DEVNULL,
                                         stderr=subprocess.DEVNULL)
        self.session = Gio.DBusConnection.new_for_address_sync(self.session_address, FLAGS, None, None)

        # The bus is this launcher's alone: a call to org.a11y.Bus before it
        # holds the name has the session bus start another one (the system's
        # service file), which may win it. Asking who owns a name starts nothing.
        def launched():
            try:
                owner = call(self.session, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                             "org.freedesktop.DBus", "GetConnectionUnixProcessID",
                             GLib.Variant("(s)", ("org.a11y.Bus",)), "(u)")[0]
            except GLib.Error:
                return False
            return owner == self.launcher.pid
        wait_until(launched, 10, "the accessibility bus was not launched")
        address = call(self.session, "org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress",
                       answer="(s)")
        status = call(self.session, "org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties",
                      "GetAll", GLib.Variant("(s)", ("org.a11y.Status",)), "(a{sv})")[0]
        # The switches on that this desktop does not have (at-spi2-core 2.61 and
        # later have only IsEnabled).
        self.missing = [name for name, value in switches.items() if value and name not in status]
        for name, value in ((name, value) for name, value in switches.items() if name in status):
            call(self.session, "org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties",
                 "Set", GLib.Variant("(ssv)", ("org.a11y.Status", name, GLib.Variant("b", value))))
        self.accessibility = Gio.DBusConnection.new_for_address_sync(address[0], FLAGS, None, None)

    def close(self):
        self.accessibility.close_sync(None)
        self.session.close_sync(None)
        for process in (self.launcher, self.session_daemon):
            process.terminate()
            process.wait(10)
        self.session_daemon.stdout.close()

    def application_tree(self, pid):
        """The (role, name) of every node of the process's application, as a
        screen reader walks it from the registry; empty while it is not
        registered."""
        bus = self.accessibility
        registered = call(bus, "org.a11y.atspi.Registry", ROOT, ACCESSIBLE, "GetChildren",
                          answer="(a(so))")[0]
        for name, path in registered:
            owner = call(bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                         "GetConnectionUnixProcessID", GLib.Variant("(s)", (name,)), "(u)")[0]
            if owner == pid:
                return self.walk(name, path)
        return []

    def walk(self, name, path):
        bus = self.accessibility
        role = call(bus, name, path, ACCESSIBLE, "GetRoleName", answer="(s)")[0]
        label = call(bus, name, path, "org.freedesktop.DBus.Properties", "Get",
                     GLib.Variant("(ss)", (ACCESSIBLE, "Name")), "(v)")[0]
        nodes = [(role, label)]
        for child in call(bus, name, path, ACCESSIBLE, "GetChildren", answer="(a(so))")[0]:
            nodes += self.walk(*child)
        return nodes


class AccessibilityTest(AppTestCase):
    def test_screen_reader_reaches_the_page_and_the_window(self):
        page = (HERE / "accessible.html").as_uri()
        for desktop, switches in [("toolkit accessibility on", {"IsEnabled": True, "ScreenReaderEnabled": False}),
                                  ("screen reader running", {"IsEnabled": False, "ScreenReaderEnabled": True})]:
            with self.subTest(desktop):
                buses = DesktopBuses(self.display, self.folder / f"{desktop} buses", switches)
                self.addCleanup(buses.close)
                if buses.missing:
                    self.skipTest(f"this desktop has no {', '.join(buses.missing)}")
                app = self.start({"Server": page}, {"DBUS_SESSION_BUS_ADDRESS": buses.session_address},
                                 name=desktop)
                wanted = {("heading", "Density check"), ("push button", "Measure now"),
                          ("label", "Place the instrument on the patch."), ("application", "VantrelNut")}
                # The window's own widget, named with its title once the page has given it.
                window_widget = {("filler", "Density desk"), ("frame", "Density desk")}
                tree = []

                def reached():
                    try:
                        tree[:] = buses.application_tree(app.process.pid)
                    except GLib.Error:
                        return False  # a node went away while the tree was walked
                    return wanted <= set(tree) and window_widget & set(tree)
                wait_until(reached, failure=lambda: f"not all of {wanted} and the window in {tree}")

                # Typed keys go to the page without a click.
                app.wait_until_logged("js: SHOWN")
                connection, window = app.window()
                wait_until(lambda: active_window(connection) == window.id)
                press_key(connection, XK.string_to_keysym("a"))
                connection.close()
                app.wait_until_logged("js: KEY a")
                self.close(app)


if __name__ == "__main__":
    unittest.main()
