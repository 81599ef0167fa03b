"""Report downloads from the page of the real application, against a local
HTTP server."""

import http.server
import os
import threading
import unittest
from pathlib import Path

from harness import AppTestCase, calls_page, wait_until


class ReportHandler(http.server.BaseHTTPRequestHandler):
    """Serves the server's one report (body); holds each answer until
    released is set, or with sent_first set, holds back only what follows
    that many bytes."""

    def do_GET(self):
        self.server.requests.append(self.path)
        if not self.server.sent_first:
            self.server.released.wait(30)
        self.send_response(200)
        self.send_header("Content-Type", "application/pdf")
        self.send_header("Content-Length", str(len(self.server.body)))
        self.end_headers()
        first = self.server.sent_first
        self.wfile.write(self.server.body[:first])
        self.wfile.flush()
        self.server.released.wait(30)
        try:
            self.wfile.write(self.server.body[first:])
        except OSError:
            pass  # the application has gone

    def log_message(self, *arguments):
        pass


class ReportDownloadTest(AppTestCase):
    window_manager = False

    def setUp(self):
        super().setUp()
        self.server = self.serve_report(os.urandom(3 * 1024 * 1024 + 17))

    def serve_report(self, body, sent_first=0):
        server = self.serve(ReportHandler, body=body, sent_first=sent_first,
                            released=threading.Event(), requests=[])
        self.addCleanup(server.released.set)  # before the server stops
        return server

    def test_save_report_under_given_name(self):
        target = self.folder / "reports" / "Report 1.pdf"
        target.parent.mkdir()
        url = self.server.url("/reports/report%201.pdf?session=7")
        app = self.start({"Server": calls_page(["doDownloadSaveReport", url, str(target), False])})

        # The answer comes while the server still holds the report back.
        self.assertEqual(app.results(), [["doDownloadSaveReport", str(target)]])
        wait_until(lambda: self.server.requests)
        self.assertEqual(self.server.requests, ["/reports/report%201.pdf?session=7"])
        self.assertFalse(target.exists())
        self.server.released.set()

        expected = f"Download of {url} succeeded (saved to {target})\n".encode()
        wait_until(lambda: bytes(app.stdout) == expected)
        self.assertEqual(bytes(app.stdout), expected)
        self.assertEqual(target.read_bytes(), self.server.body)
        self.assertEqual(sorted(p.name for p in target.parent.iterdir()), ["Report 1.pdf"])
        self.close(app)

    def test_closing_the_window_while_reports_arrive(self):
        # Half of each report has arrived when the person closes the window.
        server = self.serve_report(os.urandom(4 * 1024 * 1024), sent_first=2 * 1024 * 1024)
        reports = self.folder / "reports"
        reports.mkdir()
        earlier = reports / "earlier.pdf"
        earlier.write_bytes(b"the report saved before")
        calls = [["doDownloadSaveReport", server.url(f"/{name}.pdf"), str(reports / f"{name}.pdf"), True]
                 for name in ("earlier", "new")]
        app = self.start({"Server": calls_page(*calls)})
        app.results()
        # Both temporary files are open and hold the first half.
        wait_until(lambda: len(open_files_in(app.process.pid, reports)) == 2
                   and all(size >= 2 * 1024 * 1024 for size in open_files_in(app.process.pid, reports)))
        self.assertEqual(len(open_files_in(app.process.pid, reports)), 2)

        self.close(app)
        self.assertEqual(sorted(p.name for p in reports.iterdir()), ["earlier.pdf"])
        self.assertEqual(earlier.read_bytes(), b"the report saved before")
        self.assertEqual(bytes(app.stdout), b"")
        self.assertEqual(app.stderr.count("Disconnect"), 1)
        self.assertEqual(sum(line.endswith(" failed: Operation canceled") for line in app.stderr), 2)


def open_files_in(pid, folder):
    """The sizes of the files, named or not, that the process holds open in folder."""
    sizes = []
    for descriptor in Path(f"/proc/{pid}/fd").iterdir():
        try:
            if os.readlink(descriptor).startswith(f"{folder}/"):
                sizes.append(os.stat(descriptor).st_size)
        except OSError:
            pass
    return sizes


if __name__ == "__main__":
    unittest.main()
