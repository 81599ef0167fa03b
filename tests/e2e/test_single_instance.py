"""One application at a time in a desktop session: a second start brings the
first window forward and ends, in another session it opens its own window, a
crash leaves nothing in the way, and of starts at the same moment one opens
the window."""

import signal
import unittest

from Xlib import X, protocol

from downloads_page import DownloadsPageTestCase
from harness import App, Display, active_window, wait_until, window_states


def minimise(connection, window):
    """Asks the window manager to iconify the window, as its minimise button does."""
    event = protocol.event.ClientMessage(window=window, client_type=connection.intern_atom("WM_CHANGE_STATE"),
                                         data=(32, [3, 0, 0, 0, 0]))  # IconicState
    connection.screen().root.send_event(
        event, event_mask=X.SubstructureRedirectMask | X.SubstructureNotifyMask)
    connection.sync()


class SingleInstanceTest(DownloadsPageTestCase):
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


if __name__ == "__main__":
    unittest.main()
