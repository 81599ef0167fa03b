"""Runs the real application under Xvfb as a person would: a display of its
own, a settings store and SDK trace of its own, and closing the window
through the window manager protocol."""

import http.server
import json
import os
import queue
import re
import shutil
import subprocess
import tempfile
import threading
import time
import unittest
import urllib.parse
from pathlib import Path

from Xlib import X, XK, Xatom, display as xdisplay, error as xerror, protocol
from Xlib.ext import xtest

EXECUTABLE = os.environ.get("VANTRELNUT", "build/bin/vantrelnut")
I1SIMCTL = Path(EXECUTABLE).parent / "i1simctl"
BUILD = Path(os.environ.get("VANTRELNUT_BUILD", "build"))
ICON_SIZES = (16, 32, 48, 64, 128, 256)
HERE = Path(__file__).resolve().parent


class QuietHandler(http.server.BaseHTTPRequestHandler):
    """A test server's request handler that logs nothing and answers in one call."""

    def send_body(self, body, content_type, headers=()):
        self.send_response(200)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        for name, value in headers:
            self.send_header(name, value)
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *arguments):
        pass


class LocalServer(http.server.ThreadingHTTPServer):
    """A test's HTTP server on 127.0.0.1 and a port of its own, each request
    answered in a thread of its own by handler. The port is bound from the
    start; with late=True connections are refused until come_up(), as by a
    server that is not up yet. An ssl context makes it HTTPS. The keywords
    in state become attributes, which handlers read as self.server.NAME.
    server_close() (and leaving a with block) stops it, within the serving
    loop's twentieth of a second between looks, so a test can stop many."""

    def __init__(self, handler, late=False, context=None, **state):
        super().__init__(("127.0.0.1", 0), handler, bind_and_activate=False)
        self.server_bind()  # bound, not listening: connections are refused
        if context:
            # The handshake in each request's thread: a refused one fails there.
            self.socket = context.wrap_socket(self.socket, server_side=True,
                                              do_handshake_on_connect=False)
        self.context = context
        self.port = self.server_address[1]
        self.origin = f"{'https' if context else 'http'}://127.0.0.1:{self.port}"
        for name, value in state.items():
            setattr(self, name, value)
        self._serving = None
        if not late:
            self.come_up()

    def url(self, path="/"):
        return self.origin + path

    def come_up(self):
        self.server_activate()
        self._serving = threading.Thread(target=self.serve_forever, args=(0.05,), daemon=True)
        self._serving.start()

    def server_close(self):
        if self._serving:
            self.shutdown()
            self._serving.join()
            self._serving = None
        super().server_close()

    def handle_error(self, request, client_address):
        if not self.context:  # over TLS: a handshake the application broke off
            super().handle_error(request, client_address)


def wait_until(condition, timeout=30, failure="timed out"):
    """Polls condition until it holds; fails with failure (a text, or a function
    that makes one) if it does not within timeout seconds."""
    deadline = time.monotonic() + timeout
    while not condition():
        if time.monotonic() > deadline:
            raise AssertionError(failure() if callable(failure) else failure)
        time.sleep(0.05)


def project_version():
    """The version the build was configured with: the CMake project's."""
    cache = (BUILD / "CMakeCache.txt").read_text()
    return re.search(r"^CMAKE_PROJECT_VERSION:STATIC=(.*)$", cache, re.MULTILINE).group(1)


def recording_opener(folder):
    """A stand-in for xdg-open, which Qt runs to open addresses and files: it
    appends its argument to folder/opened. Returns the environment that puts
    it first on the PATH, and a function that reads what it was given."""
    program = folder / "bin" / "xdg-open"
    program.parent.mkdir(parents=True, exist_ok=True)
    record = folder / "opened"
    program.write_text(f"#!/bin/sh\nprintf '%s\\n' \"$*\" >> '{record}'\n")
    program.chmod(0o755)
    return ({"PATH": f"{program.parent}:{os.environ['PATH']}"},
            lambda: record.read_text().splitlines() if record.exists() else [])


def system_store_holding(folder, *certificates):
    """The program and arguments that run the application with a system store
    of authorities holding only these certificates: a private mount namespace
    (root only) with a folder of the test's own over /etc/ssl/certs, where
    Debian's OpenSSL (its cert.pem and certs lead there) and Qt's network
    layer look. The machine's own store stays as it is."""
    store = folder / "certs"
    store.mkdir(parents=True)
    for certificate in certificates:
        shutil.copy(certificate, store / certificate.name)
    subprocess.run(["openssl", "rehash", str(store)], check=True)
    (store / "ca-certificates.crt").write_bytes(b"".join(c.read_bytes() for c in certificates))
    return "unshare", ["--mount", "--propagation", "private", "sh", "-c",
                       'mount --bind "$0" /etc/ssl/certs && exec "$@"', str(store), EXECUTABLE]


class Display:
    """An Xvfb server on a display number it picks itself, with openbox."""

    def __init__(self, window_manager=True, size="1280x800"):
        read_end, write_end = os.pipe()
        self.server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{size}x24", "-nolisten", "tcp"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as numbers:
            self.name = ":" + numbers.readline().strip()
        self.window_manager = None
        if window_manager:
            self.window_manager = subprocess.Popen(
                ["openbox", "--sm-disable"], env=dict(os.environ, DISPLAY=self.name),
                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            self._wait_for_window_manager()

    def _wait_for_window_manager(self):
        connection = xdisplay.Display(self.name)
        atom = connection.intern_atom("_NET_SUPPORTING_WM_CHECK")
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline:
            if connection.screen().root.get_full_property(atom, X.AnyPropertyType):
                break
            time.sleep(0.05)
        connection.close()

    def set_xft_dpi(self, dpi):
        """The font resolution that desktops publish and Qt scales by; None
        removes it. Applications started afterwards see it."""
        connection = xdisplay.Display(self.name)
        root, resources = connection.screen().root, connection.intern_atom("RESOURCE_MANAGER")
        if dpi is None:
            root.delete_property(resources)
        else:
            root.change_property(resources, Xatom.STRING, 8, f"Xft.dpi:\t{dpi}\n".encode())
        connection.sync()
        connection.close()

    def close(self):
        for process in (self.window_manager, self.server):
            if process:
                process.terminate()
                process.wait(10)


class App:
    """One run of the application with an isolated home and settings."""

    def __init__(self, display, home, settings=None, environment=None, executable=EXECUTABLE,
                 arguments=()):
        self.home = Path(home)
        self.display = display
        self.trace = self.home / "sdk-trace"
        config = self.home / "config"
        self.ini = config / "Vantrel" / "Mird.ini"
        if settings is not None:
            self.ini.parent.mkdir(parents=True, exist_ok=True)
            self.ini.write_text("[General]\n" + "".join(f"{k}={v}\n" for k, v in settings.items()))
        runtime = self.home / "runtime"
        runtime.mkdir(parents=True, exist_ok=True)
        runtime.chmod(0o700)
        env = {k: v for k, v in os.environ.items() if not k.startswith("I1SIM_")}
        self.log = self.home / "state" / "Vantrel" / "vantrelnut.log"
        env.update(HOME=str(self.home), XDG_CONFIG_HOME=str(config),
                   XDG_DATA_HOME=str(self.home / "data"), XDG_CACHE_HOME=str(self.home / "cache"),
                   XDG_STATE_HOME=str(self.home / "state"), XDG_RUNTIME_DIR=str(runtime),
                   DISPLAY=display.name,
                   QTWEBENGINE_DISABLE_SANDBOX="1", QT_LOGGING_RULES="js.info=true",
                   I1SIM_TRACE=str(self.trace), I1SIM_PRESS_MS="never")
        env.pop("QT_QPA_PLATFORM", None)
        env.pop("WAYLAND_DISPLAY", None)  # the display is the test's, and so is the session
        env.update(environment or {})
        self.started_at = time.time()  # the wall clock, as pages read it
        self.process = subprocess.Popen([str(executable), *arguments], env=env,
                                        stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        self.stdout = bytearray()
        self.stderr_lines = queue.Queue()
        self.stderr = []
        self.readers = [threading.Thread(target=self._read_stdout, daemon=True),
                        threading.Thread(target=self._read_stderr, daemon=True)]
        for reader in self.readers:
            reader.start()

    def _read_stdout(self):
        for chunk in iter(lambda: self.process.stdout.read1(65536), b""):
            self.stdout += chunk

    def _read_stderr(self):
        for line in self.process.stderr:
            text = line.decode("utf-8", "replace").rstrip("\n")
            self.stderr.append(text)
            self.stderr_lines.put(text)

    def wait_for_line(self, prefix, timeout=30):
        """The first standard-error line that starts with prefix, without it."""
        deadline = time.monotonic() + timeout
        while True:
            remaining = deadline - time.monotonic()
            if remaining <= 0:
                raise AssertionError(f"no line {prefix!r} in:\n" + "\n".join(self.stderr))
            try:
                line = self.stderr_lines.get(timeout=remaining)
            except queue.Empty:
                continue
            if line.startswith(prefix):
                return line[len(prefix):]

    def results(self, timeout=30):
        """The answers that the calls page reported, as [slot, answer] pairs."""
        return json.loads(self.wait_for_line("js: RESULT ", timeout))

    def window(self, timeout=10, title=None):
        """The application's top-level client window (the one with that title,
        if given), once it is mapped."""
        connection = xdisplay.Display(self.display.name)
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            try:
                for window in shown_windows(connection, self.process.pid):
                    if window.get_wm_class() and title in (None, window_name(connection, window)):
                        return connection, window
            except xerror.XError:
                pass  # a window went away while the tree was walked; walk it again
            time.sleep(0.05)
        connection.close()
        raise AssertionError("the application's window never appeared on screen")

    def close_window(self, title=None):
        """Asks the window (the one with that title, if given) to close, as
        the window manager's close button does."""
        connection, window = self.window(title=title)
        protocols = connection.intern_atom("WM_PROTOCOLS")
        delete = connection.intern_atom("WM_DELETE_WINDOW")
        event = protocol.event.ClientMessage(window=window, client_type=protocols,
                                             data=(32, [delete, X.CurrentTime, 0, 0, 0]))
        window.send_event(event, event_mask=X.NoEventMask)
        connection.sync()  # a flush alone may lose the message
        connection.close()

    def wait(self, timeout=30):
        """The exit code; the process is killed if it has not ended by then."""
        try:
            return self.process.wait(timeout)
        finally:
            self.stop()

    def stop(self):
        self.process.kill()
        self.process.wait()
        for reader in self.readers:
            reader.join(5)
        self.process.stdout.close()
        self.process.stderr.close()

    def click(self, pointer_line, button=1):
        """Clicks the middle of the window as a person does: the pointer moves
        there, and the button goes down only once the page logged pointer_line
        for that move. Before the engine has seen the pointer over the page it
        may not hand a press to it."""
        moves = self.stderr.count(pointer_line)
        connection, window = self.window()
        x, y = _middle(connection, window)
        # Two moves: the pointer may already rest on the middle, left there
        # by an earlier run on this display.
        xtest.fake_input(connection, X.MotionNotify, x=x - 1, y=y)
        xtest.fake_input(connection, X.MotionNotify, x=x, y=y)
        connection.sync()
        self.wait_until_logged(pointer_line, moves + 1)
        xtest.fake_input(connection, X.ButtonPress, button)
        xtest.fake_input(connection, X.ButtonRelease, button)
        connection.sync()
        connection.close()

    def wait_until_logged(self, line, count=1, timeout=30):
        """Until the standard error holds the line count times, whatever else was read."""
        wait_until(lambda: self.stderr.count(line) >= count, timeout,
                   lambda: f"{line!r} not {count} times in:\n" + "\n".join(self.stderr))

    def right_click_shows_menu(self, wait=5.0):
        """Right-clicks the middle of the calls page once it is drawn, and once
        the page has the click, waits for a popup menu of the application's."""
        self.wait_until_logged("js: SHOWN")  # a page gets input only once it is drawn
        clicks = self.stderr.count("js: CONTEXTMENU")
        connection, window = self.window()
        x, y = _middle(connection, window)
        xtest.fake_input(connection, X.MotionNotify, x=x, y=y)
        xtest.fake_input(connection, X.ButtonPress, 3)
        xtest.fake_input(connection, X.ButtonRelease, 3)
        connection.sync()
        self.wait_until_logged("js: CONTEXTMENU", clicks + 1)
        # A menu is a window of the application's that bypasses the window
        # manager (Qt 5 also marks it as a popup menu, Qt 6 does not).
        deadline = time.monotonic() + wait
        shown = False
        while not shown and time.monotonic() < deadline:
            try:
                shown = any(window.get_attributes().override_redirect
                            for window in shown_windows(connection, self.process.pid))
            except xerror.XError:
                pass
            time.sleep(0.05)
        if shown:
            xtest.fake_input(connection, X.KeyPress, connection.keysym_to_keycode(0xff1b))  # Escape
            xtest.fake_input(connection, X.KeyRelease, connection.keysym_to_keycode(0xff1b))
            connection.sync()
        connection.close()
        return shown

    def trace_lines(self):
        return self.trace.read_text().splitlines() if self.trace.exists() else []

    def settings(self):
        """The INI file's [General] section as a dict."""
        values = {}
        if self.ini.exists():
            for line in self.ini.read_text().splitlines():
                if "=" in line:
                    key, value = line.split("=", 1)
                    values[key] = value
        return values


def _middle(connection, window):
    """The middle of the window in screen coordinates."""
    geometry = window.get_geometry()
    origin = window.translate_coords(connection.screen().root, 0, 0)
    return -origin.x + geometry.width // 2, -origin.y + geometry.height // 2


def _all_windows(window):
    for child in window.query_tree().children:
        yield child
        yield from _all_windows(child)


def shown_windows(connection, pid):
    """The windows of the process with that id that are on screen."""
    pid_atom = connection.intern_atom("_NET_WM_PID")
    for window in _all_windows(connection.screen().root):
        owner = window.get_full_property(pid_atom, X.AnyPropertyType)
        if owner and owner.value[0] == pid and window.get_attributes().map_state == X.IsViewable:
            yield window


def calls_page(*calls, remember=None):
    """The address of the test page that makes these calls and reports them,
    and keeps the text to remember in its local storage."""
    parameters = {"calls": json.dumps(calls)}
    if remember is not None:
        parameters["remember"] = remember
    query = urllib.parse.urlencode(parameters)
    return (HERE / "calls.html").as_uri() + "?" + query


def simctl(app, *arguments):
    """Runs i1simctl in the application's session: exit code, stdout, stderr."""
    environment = {k: v for k, v in os.environ.items() if not k.startswith("I1SIM_")}
    environment["XDG_RUNTIME_DIR"] = str(app.home / "runtime")
    done = subprocess.run([str(I1SIMCTL), *arguments], env=environment, capture_output=True,
                          text=True, timeout=30)
    return done.returncode, done.stdout, done.stderr


def wait_for_button_wait(app, timeout=30):
    """Returns once the page's call waits for the button: its handler is registered."""
    def waiting():
        code, status, _ = simctl(app, "status")
        return code == 0 and "event handler: registered\n" in status

    wait_until(waiting, timeout, "the application never waited for the button")


def window_states(connection, window):
    state = connection.intern_atom("_NET_WM_STATE")
    value = window.get_full_property(state, X.AnyPropertyType)
    return {connection.get_atom_name(atom) for atom in (value.value if value else [])}


def window_name(connection, window):
    """The title the window shows (_NET_WM_NAME), or None."""
    value = window.get_full_property(connection.intern_atom("_NET_WM_NAME"),
                                     connection.intern_atom("UTF8_STRING"))
    return value.value.decode() if value else None


def active_window(connection):
    """The id of the window the window manager calls active, or 0."""
    value = connection.screen().root.get_full_property(
        connection.intern_atom("_NET_ACTIVE_WINDOW"), X.AnyPropertyType)
    return value.value[0] if value and len(value.value) else 0


def press_key(connection, *keysyms):
    """Keys pressed in turn and released the other way round, as from the
    keyboard, to the focused window: press_key(c, Control_L, r) is Ctrl+R."""
    keycodes = [connection.keysym_to_keycode(keysym) for keysym in keysyms]
    for keycode in keycodes:
        xtest.fake_input(connection, X.KeyPress, keycode)
    for keycode in reversed(keycodes):
        xtest.fake_input(connection, X.KeyRelease, keycode)
    connection.sync()


def press(connection, *names):
    """press_key by the keys' names: press(c, "Control_L", "r") is Ctrl+R."""
    press_key(connection, *(XK.string_to_keysym(name) for name in names))


def window_icon_sizes(connection, window):
    """The square sizes of the icon images the window offers the desktop."""
    value = window.get_full_property(connection.intern_atom("_NET_WM_ICON"), X.AnyPropertyType)
    data, sizes = list(value.value) if value else [], []
    while len(data) >= 2:
        width, height = data[0], data[1]
        sizes.append((width, height))
        data = data[2 + width * height:]
    return sizes


class AppTestCase(unittest.TestCase):
    """A display for the test class, a temporary folder for each test (kept
    when KEEP_E2E is set), and runs of the application inside it."""

    window_manager = True

    @classmethod
    def setUpClass(cls):
        cls.display = Display(cls.window_manager)

    @classmethod
    def tearDownClass(cls):
        cls.display.close()

    def setUp(self):
        self.folder = Path(tempfile.mkdtemp(prefix="vantrelnut-e2e-"))
        if not os.environ.get("KEEP_E2E"):
            self.addCleanup(shutil.rmtree, self.folder, ignore_errors=True)

    def serve(self, handler, **options):
        """A LocalServer for this test, stopped when it ends."""
        server = LocalServer(handler, **options)
        self.addCleanup(server.server_close)
        return server

    def start(self, settings=None, environment=None, name="run", executable=EXECUTABLE,
              arguments=()):
        app = App(self.display, self.folder / name, settings, environment, executable, arguments)
        self.addCleanup(app.stop)
        return app

    def version_lines(self):
        """What the executable answers to --version, line by line."""
        answer = App(self.display, self.folder / "version", arguments=["--version"])
        self.addCleanup(answer.stop)
        self.assertEqual(answer.wait(), 0)
        return bytes(answer.stdout).decode().splitlines()

    def close(self, app):
        """Closes the window as a person does; the application must end well."""
        app.close_window()
        self.assertEqual(app.wait(), 0)
