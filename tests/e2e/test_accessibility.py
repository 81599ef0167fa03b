"""A screen reader on the desktop's accessibility bus (AT-SPI) reaches the
page's heading, named button and text and the window's own widget, with
nothing set by the person; the keyboard is in the page from the start."""

import unittest

from Xlib import XK

from accessibility import AccessibilityBus
from harness import HERE, AppTestCase, active_window, press_key, wait_until


class AccessibilityTest(AppTestCase):
    def test_screen_reader_reaches_the_page_and_the_window(self):
        page = (HERE / "accessible.html").as_uri()
        for desktop, switches in [("toolkit accessibility on", {"IsEnabled": True, "ScreenReaderEnabled": False}),
                                  ("screen reader running", {"IsEnabled": False, "ScreenReaderEnabled": True})]:
            with self.subTest(desktop):
                bus = AccessibilityBus(self.display, self.folder / f"{desktop} buses", switches)
                self.addCleanup(bus.close)
                if bus.missing:
                    self.skipTest(f"this desktop has no {', '.join(bus.missing)}")
                app = self.start({"Server": page}, bus.environment(), name=desktop)
                wanted = {("heading", "Density check"), ("push button", "Measure now"),
                          ("label", "Place the instrument on the patch."), ("application", "VantrelNut")}
                # The window's own widget, named with its title once the page has given it.
                window_widget = {("filler", "Density desk"), ("frame", "Density desk")}
                tree = []

                def reached():
                    tree[:] = bus.nodes(app.process.pid)
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
