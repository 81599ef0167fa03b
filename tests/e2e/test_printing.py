"""Printing from the real application: the print dialog for the page's
window.print() and for Ctrl+P, a cancelled print and a second request, and
printing to a PDF file as the engine lays the page out for paper."""

import subprocess
import unittest

from keys_page import KeysPageTestCase
from harness import press

IGNORED = "Print request ignored: another print is under way"


class PrintingTest(KeysPageTestCase):
    def test_cancelled_print_and_a_second_request(self):
        app = self.start_page(print=2)  # the second while the dialog is open
        connection, dialog = self.focused(app, "Print")
        app.wait_until_logged(IGNORED)
        press(connection, "Escape")
        connection.close()
        self.close(app)  # which waits for a print under way
        self.assertEqual(list(app.home.glob("*.pdf")), [])

    def test_print_to_pdf_as_laid_out_for_paper(self):
        # Pages of lines: the window is closed while the engine prints them.
        app = self.start_page(lines=8000)
        connection, window = self.focused(app)
        press(connection, "Control_L", "p")
        connection.close()
        connection, dialog = self.focused(app, "Print")
        # Print to File (PDF), the only printer here, named after the page.
        press(connection, "Return")
        connection.close()
        self.close(app)
        text = subprocess.run(["pdftotext", str(app.home / "Desk.pdf"), "-"], check=True,
                              capture_output=True, text=True).stdout
        for line in ("Printed on paper only", "Density report 4711", "Line 7999"):
            self.assertIn(line, text)
        self.assertNotIn("Shown on screen only", text)
        self.assertEqual(self.keys_seen(app), [])


if __name__ == "__main__":
    unittest.main()
