"""What the person at the desk and a web developer see of the running
application: one application at a time, the window's title, the page's own
downloads, the browser's developer tools and the command line."""

import http.server
import json
import signal
import socket
import threading
import unittest
import urllib.parse
import urllib.request

from Xlib import X, XK, display as xdisplay, protocol

from harness import (HERE, App, AppTestCase, Display, active_window, press_key,
                     project_version, recording_opener, wait_until, window_name, window_states)

PAGE = (HERE / "desktop.html").read_bytes()
REPORT = bytes(range(256)) * 4096  # 1 MiB


class PageHandler(http.server.BaseHTTPRequestHandler):
    """Serves the test page and files to download from the page's own origin.
    /files/NAME: a report, of which the second half waits for the server's
    released; /attachment: a report sent as an attachment; /drop: a report
    whose connection breaks halfway, every time it is asked for."""

    def do_GET(self):
        path = urllib.parse.urlsplit(self.path).path
        if path == "/desktop.html":
            self._send(PAGE, "text/html")
        elif path.startswith("/files/"):
            self._send(REPORT, "application/pdf", hold=True)
        elif path == "/attachment":
            self._send(REPORT, "application/pdf", {"Content-Disposition": 'attachment; filename="Report 7.pdf"'})
        elif path == "/drop":
            self._send(REPORT, "application/pdf", drop=True)
        else:
            self.send_error(404)

    def _send(self, body, content_type, headers=None, hold=False, drop=False):
        self.send_response(200)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        for name, value in (headers or {}).items():
            self.send_header(name, value)
        self.end_headers()
        half = len(body) // 2
        self.wfile.write(body[:half])
        self.wfile.flush()
        if drop:
            self.close_connection = True
            self.connection.shutdown(socket.SHUT_RDWR)
            return
        if hold:
            self.server.half_sent.set()
            self.server.released.wait(30)
        self.wfile.write(body[half:])

    def log_message(self, *arguments):
        pass


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def minimise(connection, window):
    """Asks the window manager to iconify the window, as its minimise button does."""
    event = protocol.event.ClientMessage(window=window, client_type=connection.intern_atom("WM_CHANGE_STATE"),
                                         data=(32, [3, 0, 0, 0, 0]))  # IconicState
    connection.screen().root.send_event(
        event, event_mask=X.SubstructureRedirectMask | X.SubstructureNotifyMask)
    connection.sync()


class DesktopTest(AppTestCase):
    def setUp(self):
        super().setUp()
        self.server = self.serve(PageHandler, half_sent=threading.Event(), released=threading.Event())
        self.addCleanup(self.server.released.set)  # before the server stops

    def page(self, **query):
        return self.server.url("/desktop.html?" + urllib.parse.urlencode(query))

    def test_second_start_brings_the_first_window_forward(self):
        # The same desktop session, whether or not the display names its screen.
        for name, display in (("same display", self.display.name),
                              ("screen named", self.display.name + ".0")):
            with self.subTest(name):
                first = self.start({"Server": self.page(alive=1)}, name=name)
                first.wait_for_line("js: ALIVE World")
                connection, window = first.window()
                minimise(connection, window)
                wait_until(lambda: "_NET_WM_STATE_HIDDEN" in window_states(connection, window))
                wait_until(lambda: active_window(connection) != window.id)
                settings_written = first.ini.stat().st_mtime_ns

                second_trace = first.home / "second-trace"
                second = App(self.display, first.home,
                             environment={"I1SIM_TRACE": str(second_trace), "DISPLAY": display})
                self.addCleanup(second.stop)
                self.assertEqual(second.wait(), 0)
                self.assertFalse(second_trace.exists() and second_trace.read_text())
                self.assertNotIn('"settings.ini"', second.stderr)
                self.assertEqual(first.ini.stat().st_mtime_ns, settings_written)

                wait_until(lambda: active_window(connection) == window.id)
                self.assertNotIn("_NET_WM_STATE_HIDDEN", window_states(connection, window))
                connection.close()
                self.assert_still_answering(first)
                self.close(first)

    def test_second_start_in_another_session_opens_its_own_window(self):
        # A remote session of the same user beside the desk's: another
        # display, the same home and runtime folder.
        first = self.start({"Server": self.page(alive=1)})
        first.wait_for_line("js: ALIVE World")
        other = Display()
        self.addCleanup(other.close)
        second = App(other, first.home, environment={"I1SIM_TRACE": str(first.home / "second-trace")})
        self.addCleanup(second.stop)
        second.wait_for_line("js: ALIVE World")
        second.window()[0].close()
        self.assert_still_answering(first)
        self.close(second)
        self.close(first)

    def assert_still_answering(self, app):
        """A fresh "ALIVE" line: the window still answers its page."""
        while not app.stderr_lines.empty():
            app.stderr_lines.get()
        app.wait_for_line("js: ALIVE World")

    def test_start_after_a_crash(self):
        crashed = self.start({"Server": self.page()})
        crashed.window()[0].close()
        crashed.process.send_signal(signal.SIGKILL)
        crashed.process.wait()
        socket_name = "vantrelnut-" + self.display.name.replace(":", "_") + ".socket"
        self.assertTrue((crashed.home / "runtime" / socket_name).exists())

        again = App(self.display, crashed.home, environment={"I1SIM_TRACE": str(crashed.home / "again-trace")})
        self.addCleanup(again.stop)
        again.window()[0].close()
        self.close(again)

    def test_starts_at_the_same_moment(self):
        # A double click on the menu entry: one of them opens the window.
        home = self.folder / "run"
        runs = [App(self.display, home, {"Server": self.page()}, {"I1SIM_TRACE": str(home / f"trace{n}")})
                for n in range(3)]
        for run in runs:
            self.addCleanup(run.stop)
        wait_until(lambda: sum(run.process.poll() is not None for run in runs) == 2)
        self.assertEqual(sorted(str(run.process.poll()) for run in runs), ["0", "0", "None"])
        first = next(run for run in runs if run.process.poll() is None)
        first.window()[0].close()
        self.close(first)

    def test_window_title_follows_the_page(self):
        # A click has the page drop its title; the engine then names the
        # page after its address, which must not show.
        app = self.start({"Server": self.page(title="Mird Desk \u2013 Scan", untitle=1), "appName": "Mird Lab"})
        connection, window = app.window(title="Mird Desk \u2013 Scan")
        app.wait_until_logged("js: SHOWN")
        app.click("js: POINTER")
        wait_until(lambda: window_name(connection, window) == "Mird Lab")
        connection.close()
        self.close(app)

    def save_dialog(self, app, key):
        """Answers the save dialog with one key once it has the focus."""
        connection, dialog = app.window(title="Save File")
        wait_until(lambda: active_window(connection) == dialog.id)
        press_key(connection, XK.string_to_keysym(key))
        connection.close()

    def start_downloading(self, name, **query):
        """A run whose page starts a download at once, a folder for what it
        saves and a record of what it would open."""
        downloads = self.folder / name / "Downloads"
        downloads.mkdir(parents=True)
        environment, self.opened = recording_opener(self.folder / name)
        app = self.start({"Server": self.page(**query)}, environment, name=name)
        return app, downloads

    def test_page_downloads_saved_where_proposed(self):
        for name, query, url, saved in (
                ("link", {"save": "/files/summary%202.pdf"}, "/files/summary%202.pdf", "summary 2.pdf"),
                ("attachment", {"open": "/attachment"}, "/attachment", "Report 7.pdf")):
            with self.subTest(name):
                self.server.half_sent.clear()
                self.server.released.clear()
                app, downloads = self.start_downloading(name, **query)
                self.save_dialog(app, "Return")
                if name == "link":  # the file appears only once complete
                    self.assertTrue(self.server.half_sent.wait(30))
                    self.assertFalse((downloads / saved).exists())
                    self.server.released.set()
                expected = f"Download of {self.server.url(url)} succeeded (saved to {downloads / saved})\n"
                wait_until(lambda: bytes(app.stdout))
                self.assertEqual(bytes(app.stdout).decode(), expected)
                self.assertEqual((downloads / saved).read_bytes(), REPORT)
                self.assertEqual([p.name for p in downloads.iterdir()], [saved])
                self.close(app)
                self.assertEqual(self.opened(), [])

    def test_page_downloads_that_do_not_happen(self):
        # Cancelled: nothing is fetched to disk, nothing printed.
        app, downloads = self.start_downloading("cancelled", save="/files/cancelled.pdf")
        self.server.released.set()
        self.save_dialog(app, "Escape")
        wait_until(lambda: not self._dialog_shown(app))
        self.close(app)
        self.assertEqual(list(downloads.iterdir()), [])
        self.assertEqual(bytes(app.stdout), b"")
        self.assertFalse([line for line in app.stderr if line.startswith("Download of")])

        # Dropped halfway: the failure with the engine's reason, and no file
        # nor partial file left behind.
        app, downloads = self.start_downloading("dropped", save="/drop")
        self.save_dialog(app, "Return")
        reason = app.wait_for_line(f"Download of {self.server.url('/drop')} failed: ")
        self.assertTrue(reason)
        wait_until(lambda: not list(downloads.iterdir()))  # while it runs, not only at quit
        self.close(app)
        self.assertEqual(list(downloads.iterdir()), [])
        self.assertEqual(bytes(app.stdout), b"")

    def _dialog_shown(self, app):
        try:
            app.window(timeout=0.1, title="Save File")[0].close()
            return True
        except AssertionError:
            return False

    def test_developer_tools_list_the_page(self):
        # Asked for by the variable, or by the engine's switch on the command
        # line, beside one of Qt's own options.
        for name, environment, arguments in (
                ("variable", {"QTWEBENGINE_REMOTE_DEBUGGING": "{port}"}, []),
                ("switch", {}, ["-style", "Fusion", "--webEngineArgs", "--remote-debugging-port={port}"])):
            with self.subTest(name):
                port = free_port()
                page = self.page(title="Console")
                app = self.start({"Server": page}, {k: v.format(port=port) for k, v in environment.items()},
                                 name, arguments=[a.format(port=port) for a in arguments])
                app.wait_for_line("js: LOADED")
                with urllib.request.urlopen(f"http://127.0.0.1:{port}/json", timeout=10) as answer:
                    targets = json.load(answer)
                self.assertIn((page, "page"), [(target["url"], target["type"]) for target in targets])
                self.close(app)

    def test_command_line_answered_before_anything_starts(self):
        # On a display of its own, where nothing else makes windows, every
        # window made is heard of, also one gone again.
        display = Display(window_manager=False)
        self.addCleanup(display.close)
        watch = xdisplay.Display(display.name)
        self.addCleanup(watch.close)
        watch.screen().root.change_attributes(event_mask=X.SubstructureNotifyMask)
        watch.sync()
        for arguments, code, output, error in (
                (["--help"], 0, "Usage: ", ""),
                (["--version"], 0, f"vantrelnut {project_version()}\n", ""),
                (["-style", "Fusion", "--frobnicate"], 1, "",
                 "vantrelnut: Unknown option 'frobnicate'.\n\nUsage: ")):
            with self.subTest(arguments):
                app = App(display, self.folder / arguments[-1].strip("-"), arguments=arguments)
                self.addCleanup(app.stop)
                self.assertEqual(app.wait(), code)
                written, errors = bytes(app.stdout).decode(), "\n".join(app.stderr)
                self.assertTrue(written.startswith(output) and bool(written) == bool(output), written)
                self.assertTrue(errors.startswith(error) and bool(errors) == bool(error), errors)
                watch.sync()
                made = [watch.next_event() for _ in range(watch.pending_events())]
                self.assertFalse([event for event in made if event.type == X.CreateNotify])
                # No settings, no instance lock, no call to the instrument.
                self.assertFalse(app.ini.parent.exists())
                self.assertEqual(list((app.home / "runtime").glob("vantrelnut*")), [])
                self.assertEqual(app.trace_lines(), [])


if __name__ == "__main__":
    unittest.main()
