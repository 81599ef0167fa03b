"""The page's own downloads in the real application: a link's and an
attachment's saved where the save dialog proposes, complete or not at all,
and never opened; a cancelled or broken one leaves nothing."""

import unittest

from Xlib import XK

from accessibility import AccessibilityBus
from downloads_page import REPORT, DownloadsPageTestCase
from harness import active_window, press_key, recording_opener, wait_until


class PageDownloadsTest(DownloadsPageTestCase):
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

        # Dropped halfway, with a length, compressed or in chunks: the
        # failure with the engine's reason, in the message bar too, and no
        # file nor partial file left behind.
        for path in ("/drop", "/drop-gzip", "/drop-chunked"):
            with self.subTest(path):
                bus = AccessibilityBus(self.display, self.folder / path.strip("/") / "accessibility")
                self.addCleanup(bus.close)
                downloads = self.folder / path.strip("/") / "Downloads"
                downloads.mkdir(parents=True)
                app = self.start({"Server": self.page(save=path)}, bus.environment(),
                                 name=path.strip("/"))
                self.save_dialog(app, "Return")
                reason = app.wait_for_line(f"Download of {self.server.url(path)} failed: ")
                self.assertTrue(reason)
                shown = f"The download {downloads / path.strip('/')} failed: {reason}."
                wait_until(lambda: shown in [name for role, name in bus.nodes(app.process.pid, depth=8)],
                           20, f"not shown: {shown}")
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


if __name__ == "__main__":
    unittest.main()
