"""The object the page sees in the real application under Xvfb: its slots
answered, with and without an instrument and after the page's renderer is
killed, and the instrument disconnected once when the window closes."""

import os
import signal
import unittest
from pathlib import Path

from harness import ICON_SIZES, AppTestCase, calls_page, window_icon_sizes, window_states

RESET = 'I1_SetGlobalOption "Reset" "All"'


def renderer_processes(pid):
    """The browser's renderer processes among the descendants of pid: named
    so on their command line, or forked by the browser's zygote, which leaves
    the zygote's command line in place."""
    parents, arguments = {}, {}
    for entry in Path("/proc").iterdir():
        try:
            status = (entry / "status").read_text()
            parents[int(entry.name)] = int(status.split("PPid:")[1].split()[0])
            arguments[int(entry.name)] = (entry / "cmdline").read_bytes().split(b"\0")
        except (ValueError, OSError, IndexError):
            continue
    descendants, found = {pid}, True
    while found:
        found = {child for child, parent in parents.items()
                 if parent in descendants and child not in descendants}
        descendants |= found
    return [child for child in descendants - {pid}
            if b"--type=renderer" in arguments[child]
            or b"--type=zygote" in arguments.get(parents[child], [])]


class SlotCallsTest(AppTestCase):
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

    def test_page_comes_back_after_its_renderer_is_killed(self):
        app = self.start({"Server": calls_page(["getDeviceID"], ["setIni", "FromPage", "yes"])})
        self.assertEqual(app.results(), [["getDeviceID", "SIM0001"], ["setIni", "ok"]])
        renderers = renderer_processes(app.process.pid)
        self.assertTrue(renderers)
        for renderer in renderers:
            os.kill(renderer, signal.SIGKILL)

        self.assertEqual(app.wait_for_line("Renderer process ended: "),
                         "QWebEnginePage::KilledTerminationStatus 9")
        # The page runs again in a new renderer, and its calls are answered.
        self.assertEqual(app.results(), [["getDeviceID", "SIM0001"], ["setIni", "ok"]])
        self.close(app)
        self.assertEqual(app.stderr.count("Disconnect"), 1)
        self.assertEqual(app.trace_lines().count(RESET), 1)

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
