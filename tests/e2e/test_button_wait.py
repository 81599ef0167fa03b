"""The window while the page waits for the instrument's button: it answers
the desktop, paints (Qt 6), closes at once, and the calls the page makes
meanwhile are answered and reach the instrument in the page's order."""

import json
import os
import signal
import time
import unittest
import urllib.parse

from Xlib import X, XK, protocol

from harness import HERE, App, AppTestCase, active_window, press_key, simctl, wait_for_button_wait, wait_until

QT6 = os.environ.get("VANTRELNUT_QT") == "6"
REGISTERED = "I1_RegisterDeviceEventHandler handler"
UNREGISTERED = "I1_RegisterDeviceEventHandler null"
RED, GREEN = (255, 0, 0), (0, 255, 0)


def wait_page(calls=(), reload=False):
    query = {"calls": json.dumps(calls)}
    if reload:
        query["reload"] = "1"
    return (HERE / "wait.html").as_uri() + "?" + urllib.parse.urlencode(query)


def colour_in_middle(connection, window):
    """The colour on screen in the middle of the window, as (red, green, blue)."""
    geometry = window.get_geometry()
    pixel = window.get_image(geometry.width // 2, geometry.height // 2, 1, 1,
                             X.ZPixmap, 0xffffffff).data
    return pixel[2], pixel[1], pixel[0]  # a 24-bit screen keeps blue, green, red


def answers_ping(connection, window, timeout=5):
    """Whether the window answers the window manager's "are you alive"
    message (_NET_WM_PING) within the time, as a responsive one does."""
    root = connection.screen().root
    # The answer goes to the root window, for whoever selects its structure events.
    root.change_attributes(event_mask=X.StructureNotifyMask)
    ping = connection.intern_atom("_NET_WM_PING")
    stamp = int(time.monotonic() * 1000) & 0xffffffff
    event = protocol.event.ClientMessage(
        window=window, client_type=connection.intern_atom("WM_PROTOCOLS"),
        data=(32, [ping, stamp, window.id, 0, 0]))
    window.send_event(event, event_mask=X.NoEventMask)
    connection.sync()
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        while connection.pending_events():
            answer = connection.next_event()
            if (answer.type == X.ClientMessage and answer.window == root
                    and list(answer.data[1][:2]) == [ping, stamp]):
                return True
        time.sleep(0.02)
    return False


class ButtonWaitTest(AppTestCase):
    def test_window_lives_while_waiting_for_the_button(self):
        calls = [["getIni", "Hello"], ["getDeviceID"], ["doOneScanNow"], ["isConnected"]]
        app = self.start({"Server": wait_page(calls)})
        wait_for_button_wait(app)
        connection, window = app.window()
        self.assertTrue(answers_ping(connection, window))
        if QT6:
            # The instruction shown just before the call, and a change during it.
            wait_until(lambda: colour_in_middle(connection, window) == RED, 10,
                       lambda: f"the window shows {colour_in_middle(connection, window)}")
            wait_until(lambda: colour_in_middle(connection, window) == GREEN, 10,
                       lambda: f"the window shows {colour_in_middle(connection, window)}")
            self.assertIn('js: ANSWER ["getIni","World"]', app.stderr)
        wait_for_button_wait(app)  # still waiting
        connection.close()

        self.assertEqual(simctl(app, "press")[0], 0)
        line = "1.420000|1.380000|1.050000|0.910000"
        instrument_answers = [["doCalibrate", "DONE"], ["getDeviceID", "SIM0001"],
                              ["doOneScanNow", line], ["isConnected", True]]
        settings_answer = ["getIni", "World"]
        # Qt 6 answers the settings during the wait, the instrument calls after
        # it; Qt 5's engine hands on no call until the waiting one has returned.
        expected = ([settings_answer] + instrument_answers if QT6
                    else instrument_answers[:1] + [settings_answer] + instrument_answers[1:])
        self.assertEqual(app.results(), expected)
        trace = app.trace_lines()
        registered = trace.index(REGISTERED)
        self.assertEqual(trace[registered + 1], UNREGISTERED)
        self.assertEqual(trace[registered + 2:], [
            'I1_SetOption dev1 "MeasurementMode" "ReflectanceSpot"',
            'I1_SetOption dev1 "Colorimetric.DensityFilterMode" "Auto"',
            'I1_SetOption dev1 "Colorimetric.WhiteBase" "Absolute"',
            'I1_GetOptionD dev1 "MeasurementMode"', "I1_Calibrate dev1",
            'I1_GetOptionD dev1 "SerialNumber"', "I1_TriggerMeasurement dev1",
            "I1_GetDensities dev1 0", "I1_GetDevices", "I1_OpenDevice dev1"])
        self.close(app)

    def test_close_while_waiting_ends_at_once(self):
        # As a person closes the window, and as the system ends the session.
        for end in ("close", "SIGTERM"):
            with self.subTest(end=end):
                app = self.start({"Server": wait_page([["getDeviceID"]])}, name=end)
                wait_for_button_wait(app)
                # A second start brings the waiting window forward.
                second = App(self.display, app.home,
                             environment={"I1SIM_TRACE": str(app.home / "second")})
                self.addCleanup(second.stop)
                self.assertEqual(second.wait(), 0)

                ended_at = time.monotonic()
                if end == "close":
                    app.close_window()
                else:
                    app.process.send_signal(signal.SIGTERM)
                self.assertEqual(app.wait(), 0)
                self.assertLess(time.monotonic() - ended_at, 3)
                trace = app.trace_lines()
                self.assertEqual(trace[trace.index(REGISTERED):], [
                    REGISTERED, UNREGISTERED, "I1_GetDevices", "I1_OpenDevice dev1",
                    "I1_CloseDevice dev1", 'I1_SetGlobalOption "Reset" "All"'])

    @unittest.skipUnless(QT6, "Qt 5's engine starts the reload only once the waiting call returns")
    def test_reloaded_page_is_not_stuck_behind_the_wait(self):
        app = self.start({"Server": wait_page([["getDeviceID"]], reload=True)})
        self.assert_reloaded_after_ended_wait(app)

    def test_reload_key_ends_the_wait(self):
        app = self.start({"Server": wait_page([["getDeviceID"], ["getIni", "Hello"]])})
        wait_for_button_wait(app)
        # The button's handler says only that doCalibrate waits: getDeviceID may
        # still be on its way, and would then run after the key. Qt 6 answers the
        # settings during the wait, so their answer says getDeviceID, sent
        # before them, is queued.
        if QT6:
            app.wait_until_logged('js: ANSWER ["getIni","World"]')
        connection, window = app.window()
        wait_until(lambda: active_window(connection) == window.id)
        press_key(connection, XK.XK_F5)
        connection.close()
        self.assert_reloaded_after_ended_wait(app)

    def assert_reloaded_after_ended_wait(self, app):
        """The next page's call is answered; the wait ended as not pressed and
        the call queued behind it was dropped. Qt 5's engine holds the old
        page's call until the wait has returned, and hands it on before the
        reload: then it runs."""
        self.assertEqual(app.wait_for_line("js: AFTER RELOAD "), '"SIM0001"')
        trace = app.trace_lines()
        serial_number = 'I1_GetOptionD dev1 "SerialNumber"'
        self.assertEqual(trace[trace.index(REGISTERED):],
                         [REGISTERED, UNREGISTERED] + [serial_number] * (1 if QT6 else 2))
        self.assertRegex("\n".join(line for line in app.stderr if " III " in line), r"^\d+ III 0$")
        self.close(app)

if __name__ == "__main__":
    unittest.main()
