"""A browser's keys and habits at the desk: printing, zooming and reloading
the page, and the window's size across starts."""

import collections
import subprocess
import unittest
import urllib.parse


from accessibility import AccessibilityBus
from harness import HERE, App, AppTestCase, QuietHandler, active_window, press, wait_until, window_states

IGNORED = "Print request ignored: another print is under way"


class DeskHandler(QuietHandler):
    """The desk page and its script, which the browser may cache for an hour;
    the server counts the requests for each path."""

    def do_GET(self):
        path = urllib.parse.urlsplit(self.path).path
        self.server.requests[path] += 1
        page = path == "/desk.html"
        body = (HERE / "desk.html").read_bytes() if page else b""
        self.send_body(body, "text/html" if page else "text/javascript",
                       [("Cache-Control", "max-age=3600")])


class DeskTest(AppTestCase):
    def setUp(self):
        super().setUp()
        self.server = self.serve(DeskHandler, requests=collections.Counter())

    def start_desk(self, environment=None, **query):
        """A window not maximised on the desk page, once the page is drawn."""
        address = self.server.url("/desk.html?") + urllib.parse.urlencode(query)
        app = self.start({"Server": address, "ShowMaximized": "0"},
                         environment)
        app.wait_until_logged("js: SHOWN")
        return app

    def focused(self, app, title=None):
        """The window (or dialog) with that title, once it has the focus."""
        connection, window = app.window(title=title)
        wait_until(lambda: active_window(connection) == window.id)
        return connection, window

    def keys_seen(self, app):
        """The keys that reached the page, but for the modifiers held down."""
        return [line[8:] for line in app.stderr
                if line.startswith("js: KEY ") and not line.endswith(("+Control", "+Shift", "+Alt"))]

    def width(self, app):
        return int([line for line in app.stderr if line.startswith("js: WIDTH ")][-1].split()[-1])

    def test_cancelled_print_and_a_second_request(self):
        app = self.start_desk(print=2)  # the second while the dialog is open
        connection, dialog = self.focused(app, "Print")
        app.wait_until_logged(IGNORED)
        press(connection, "Escape")
        connection.close()
        self.close(app)  # which waits for a print under way
        self.assertEqual(list(app.home.glob("*.pdf")), [])

    def test_print_to_pdf_as_laid_out_for_paper(self):
        # Pages of lines: the window is closed while the engine prints them.
        app = self.start_desk(lines=8000)
        connection, window = self.focused(app)
        press(connection, "Control_L", "p")
        connection.close()
        connection, dialog = self.focused(app, "Print")
        # Print to File (PDF), the only printer here, named after the page.
        press(connection, "Return")
        connection.close()
        self.close(app)
        text = subprocess.run(["pdftotext", str(app.home / "Desk.pdf"), "-"], check=True,
                              capture_output=True, text=True).stdout
        for line in ("Printed on paper only", "Density report 4711", "Line 7999"):
            self.assertIn(line, text)
        self.assertNotIn("Shown on screen only", text)
        self.assertEqual(self.keys_seen(app), [])

    def test_zoom_keys_and_the_window_kept_across_starts(self):
        app = self.start_desk(focus=1)  # in the page's text field
        connection, window = self.focused(app)
        natural = self.width(app)
        for keys, factor in ((("Control_L", "equal"), 1.1), (("Control_L", "Shift_L", "equal"), 1.25),
                             (("Control_L", "minus"), 1.1), (("Control_L", "0"), 1.0),
                             (("Control_L", "KP_Add"), 1.1), (("Control_L", "KP_Add"), 1.25)):
            press(connection, *keys)
            wait_until(lambda: abs(self.width(app) - natural / factor) <= 1,
                       failure=lambda: f"{keys}: width {self.width(app)}, not {natural / factor}")
        press(connection, "a")
        press(connection, "Control_L", "k")
        app.wait_until_logged("js: KEY ctrl+k")
        self.assertEqual(self.keys_seen(app), ["a", "ctrl+k"])
        window.configure(width=900, height=600)
        connection.sync()
        app.wait_until_logged(f"js: WIDTH {900 / 1.25:.0f}")
        connection.close()
        self.close(app)

        for maximised in ("0", "1"):
            again = App(self.display, app.home, dict(app.settings(), ShowMaximized=maximised),
                        {"I1SIM_TRACE": str(app.home / maximised)})
            self.addCleanup(again.stop)
            again.wait_until_logged("js: SHOWN")
            connection, window = again.window()
            if maximised == "0":
                self.assertEqual((window.get_geometry().width, window.get_geometry().height), (900, 600))
                self.assertEqual(self.width(again), 900 / 1.25)
            else:
                self.assertIn("_NET_WM_STATE_MAXIMIZED_HORZ", window_states(connection, window))
            connection.close()
            self.close(again)

    def test_reload_keys(self):
        app = self.start_desk()
        connection, window = self.focused(app)
        for keys, script_fetched in ((("F5",), 0), (("Control_L", "r"), 0),
                                     (("Control_L", "Shift_L", "r"), 1), (("Control_L", "F5"), 1)):
            loads, scripts = app.stderr.count("js: LOADED reload"), self.server.requests["/cached.js"]
            press(connection, *keys)
            app.wait_until_logged("js: LOADED reload", loads + 1)
            self.assertEqual(self.server.requests["/cached.js"] - scripts, script_fetched, keys)
        self.assertEqual(self.server.requests["/desk.html"], 5)
        self.assertEqual(self.keys_seen(app), [])
        connection.close()
        self.close(app)

    def test_find_history_and_quit_keys(self):
        bus = AccessibilityBus(self.display)
        self.addCleanup(bus.close)
        app = self.start_desk(bus.environment(), lines=3, goto="desk.html?lines=3")
        connection, window = self.focused(app)
        press(connection, "g")  # a navigation the person made, which history keeps
        app.wait_until_logged("js: LOADED navigate", 2)
        for keys, loads in ((("Alt_L", "Left"), 1), (("Alt_L", "Right"), 2)):
            press(connection, *keys)
            app.wait_until_logged("js: LOADED back_forward", loads)
        app.wait_until_logged("js: SHOWN", 3)

        press(connection, "Control_L", "f")
        for character in "Line":
            press(connection, character)
        for keys, shown in (((), "1 of 3"), (("Return",), "2 of 3"), (("Shift_L", "Return"), "1 of 3")):
            if keys:
                press(connection, *keys)
            wait_until(lambda: shown in [name for role, name in bus.nodes(app.process.pid)], 20,
                       lambda: f"{keys}: no {shown!r} in {bus.nodes(app.process.pid)}")
        press(connection, "Escape")
        press(connection, "a")
        app.wait_until_logged("js: KEY a")
        self.assertEqual(self.keys_seen(app), ["g", "a"])
        press(connection, "Control_L", "q")
        connection.close()
        self.assertEqual(app.wait(), 0)


if __name__ == "__main__":
    unittest.main()
