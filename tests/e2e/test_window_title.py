"""The window's title: the page's, and the application's name while the page
has none."""

import unittest

from downloads_page import DownloadsPageTestCase
from harness import wait_until, window_name


class WindowTitleTest(DownloadsPageTestCase):
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


if __name__ == "__main__":
    unittest.main()
