"""A browser's keys at the desk: zooming and reloading the page, going back
and forward, finding in the page and quitting, wherever the focus is, and
the window's size across starts."""

import threading
import unittest
import urllib.parse

from accessibility import AccessibilityBus
from keys_page import KeysHandler, KeysPageTestCase
from harness import App, press, wait_until, window_states


class HeldScriptHandler(KeysHandler):
    """The page's script held until the test lets it go: a page that loads slowly."""

    def do_GET(self):
        if self.path == "/cached.js":
            self.server.script_asked.set()
            self.server.script_held.wait()
        super().do_GET()


class BrowserKeysTest(KeysPageTestCase):
    def width(self, app):
        return int([line for line in app.stderr if line.startswith("js: WIDTH ")][-1].split()[-1])

    def test_zoom_keys_and_the_window_kept_across_starts(self):
        app = self.start_page(focus=1)  # in the page's text field
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
        app = self.start_page()
        connection, window = self.focused(app)
        for keys, script_fetched in ((("F5",), 0), (("Control_L", "r"), 0),
                                     (("Control_L", "Shift_L", "r"), 1), (("Control_L", "F5"), 1)):
            loads, scripts = app.stderr.count("js: LOADED reload"), self.server.requests["/cached.js"]
            press(connection, *keys)
            app.wait_until_logged("js: LOADED reload", loads + 1)
            self.assertEqual(self.server.requests["/cached.js"] - scripts, script_fetched, keys)
        self.assertEqual(self.server.requests["/keys.html"], 5)
        self.assertEqual(self.keys_seen(app), [])
        connection.close()
        self.close(app)

    def test_find_history_and_quit_keys(self):
        bus = AccessibilityBus(self.display, self.folder / "accessibility")
        self.addCleanup(bus.close)
        self.server.RequestHandlerClass = HeldScriptHandler
        self.server.script_asked, self.server.script_held = threading.Event(), threading.Event()
        self.addCleanup(self.server.script_held.set)
        query = urllib.parse.urlencode({"lines": 3, "goto": "keys.html?lines=3"})
        app = self.start({"Server": self.server.url("/keys.html?" + query), "ShowMaximized": "0"},
                         bus.environment())
        connection, window = self.focused(app)

        def names():
            return [name for role, name in bus.nodes(app.process.pid)]

        # Typed while the page loads, found again once it has loaded.
        self.assertTrue(self.server.script_asked.wait(30))
        press(connection, "Control_L", "f")
        for character in "Line":
            press(connection, character)
        wait_until(lambda: "Not found" in names(), 20, lambda: f"loading: {names()}")
        self.server.script_held.set()
        wait_until(lambda: "1 of 3" in names(), 20, lambda: f"loaded: {names()}")
        press(connection, "Escape")
        app.wait_until_logged("js: SHOWN")
        # Each page drawn before the next key: a page left before it is drawn
        # never says SHOWN.
        press(connection, "g")  # a navigation the person made, which history keeps
        app.wait_until_logged("js: LOADED navigate", 2)
        app.wait_until_logged("js: SHOWN", 2)
        for keys, loads in ((("Alt_L", "Left"), 1), (("Alt_L", "Right"), 2)):
            press(connection, *keys)
            app.wait_until_logged("js: LOADED back_forward", loads)
            app.wait_until_logged("js: SHOWN", 2 + loads)

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
