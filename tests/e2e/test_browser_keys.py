"""A browser's keys at the desk: zooming and reloading the page, going back
and forward, finding in the page and quitting, wherever the focus is, and
the window's size across starts."""

import unittest

from accessibility import AccessibilityBus
from keys_page import KeysPageTestCase
from harness import App, press, wait_until, window_states


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
        app = self.start_page(bus.environment(), lines=3, goto="keys.html?lines=3")
        connection, window = self.focused(app)
        # Each page drawn before the next key, so that the find below is made
        # in the page the person sees: a page left before it is drawn never
        # says SHOWN, and typed while a page still loads, the find ends at
        # "Not found" however many matches the page then has.
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
