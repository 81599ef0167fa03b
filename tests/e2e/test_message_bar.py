"""What the person sees in the window's message bar when a report fails: the
failures read as a screen reader reads them."""

import unittest

from accessibility import AccessibilityBus
from harness import wait_until
from requests_page import RequestsPageTestCase


class MessageBarTest(RequestsPageTestCase):
    def test_failed_reports_show_in_the_window(self):
        bus = AccessibilityBus(self.display, self.folder / "accessibility")
        self.addCleanup(bus.close)
        report = f"http://127.0.0.1:{self.port}/report.pdf"
        failed, refused = self.folder / "report.pdf", self.folder / ".bashrc"
        app = self.start({"Server": self.address("requests.html", report=report,
                                                 file=[str(failed), str(refused)])},
                         environment=bus.environment())
        app.wait_until_logged("js: ASKED")
        expected = [f"The report {failed} could not be downloaded: the server answered 500.",
                    f"The report {refused} was not saved: a page may not save files there."]
        shown = []

        def all_shown():
            shown[:] = [name for role, name in bus.nodes(app.process.pid, depth=8)]
            return all(message in shown for message in expected)
        wait_until(all_shown, 20, lambda: f"not shown: {expected} in {shown}")
        self.assertIn("Close this message", shown)
        # Standard error says it as it always did.
        self.assertIn(f"Download of {report} failed: Error transferring {report} - server replied: "
                      "Internal Server Error", app.stderr)
        self.close(app)


if __name__ == "__main__":
    unittest.main()
