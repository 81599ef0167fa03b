"""The real application under Xvfb: start-up settings, the window, the object
the page sees, and what closing the window does."""

import unittest

from harness import ICON_SIZES, App, AppTestCase, calls_page, window_icon_sizes, window_states

RESET = 'I1_SetGlobalOption "Reset" "All"'


class ShellTest(AppTestCase):
    def test_page_calls_slots_and_closing_disconnects_once(self):
        app = self.start({"Server": calls_page(
            ["isConnected"], ["Connected"], ["getDeviceID"], ["getOption", "MeasurementMode"],
            ["getOption", ""], ["getDeviceInfo"], ["getIni", "Hello"], ["getIni", "Missing"],
            ["setIni", "FromPage", "gr\u00fcn"], ["getIni", "FromPage"])})
        self.assertEqual(app.results(), [
            ["isConnected", True], ["Connected", True], ["getDeviceID", "SIM0001"],
            ["getOption", "ReflectanceSpot"], ["getOption", ""],
            ["getDeviceInfo",
             "\nSERIAL_NUMBER:               SIM0001"
             "\nMEASUREMENT_MODE:            ReflectanceSpot"
             "\nLAST_ERROR:                  "
             "\nAVAILABLE_MEASUREMENT_MODES: EmissionSpot;ReflectanceSpot;ReflectanceScan;AmbientLightSpot"],
            ["getIni", "World"], ["getIni", "KO"], ["setIni", "ok"], ["getIni", "gr\u00fcn"]])

        connection, window = app.window()
        self.assertIn("_NET_WM_STATE_MAXIMIZED_VERT", window_states(connection, window))
        self.assertIn("_NET_WM_STATE_MAXIMIZED_HORZ", window_states(connection, window))
        self.assertEqual(window.get_wm_class()[1], "VantrelNut")
        self.assertEqual(sorted(window_icon_sizes(connection, window)),
                         [(size, size) for size in ICON_SIZES])
        connection.close()

        self.close(app)
        trace = app.trace_lines()
        self.assertEqual(trace.count(RESET), 1)
        self.assertEqual(trace[-4:], ["I1_GetDevices", "I1_OpenDevice dev1", "I1_CloseDevice dev1", RESET])
        self.assertEqual(app.stderr.count("Disconnect"), 1)
        self.assertEqual(app.settings()["Hello"], "World")

    def test_first_start_without_settings_file(self):
        app = self.start()
        self.assertEqual(app.wait_for_line('"settings.ini"', 30), "")
        connection, window = app.window()
        self.assertIn("_NET_WM_STATE_MAXIMIZED_HORZ", window_states(connection, window))
        connection.close()
        self.close(app)
        self.assertEqual(app.ini.read_text(), "[General]\nHello=World\n")
        self.assertEqual(app.stderr[0], "Number of connected devices:  1")

    def test_settings_of_a_person(self):
        # Hello is written back on every start; "true" is not "1".
        settings = {"Server": calls_page(["setIni", "Hello", "Changed"], ["getIni", "Hello"]),
                    "ShowMaximized": "true", "appName": "Mird Lab"}
        first = self.start(settings, name="first")
        self.assertEqual(first.results(), [["setIni", "ok"], ["getIni", "Changed"]])
        connection, window = first.window()
        self.assertNotIn("_NET_WM_STATE_MAXIMIZED_HORZ", window_states(connection, window))
        self.assertEqual(window.get_wm_class()[1], "Mird Lab")
        connection.close()
        self.close(first)
        self.assertEqual(first.settings()["Hello"], "Changed")

        # The second page only reads, so that nothing but the start writes Hello.
        second = App(self.display, first.home,
                     {"Server": calls_page(["getIni", "Hello"]), "Hello": "Changed"},
                     environment={"I1SIM_TRACE": str(first.home / "second-trace")})
        self.addCleanup(second.stop)
        self.assertEqual(second.results(), [["getIni", "World"]])
        self.close(second)
        self.assertEqual(second.settings()["Hello"], "World")

    def test_context_menu_setting(self):
        for setting, expected in (("0", False), ("1", True)):
            with self.subTest(ContextMenu=setting):
                app = self.start({"Server": calls_page(["Connected"]), "ContextMenu": setting},
                                 name="menu" + setting)
                app.results()
                self.assertEqual(app.right_click_shows_menu(), expected)
                self.close(app)

    def test_no_instrument(self):
        app = self.start({"Server": calls_page(["isConnected"], ["getDeviceID"], ["Disconnect"])},
                         {"I1SIM_DEVICES": "0"})
        self.assertEqual(app.results(), [["isConnected", False], ["getDeviceID", ""], ["Disconnect", True]])
        self.close(app)
        trace = app.trace_lines()
        self.assertEqual(trace.count(RESET), 2)  # the page's Disconnect and the one on quit
        self.assertFalse([line for line in trace if line.startswith("I1_CloseDevice dev")])
        self.assertEqual(app.stderr[0], "No device connected")


if __name__ == "__main__":
    unittest.main()
