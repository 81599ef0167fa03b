"""Report downloads from the page of the real application, against a local
HTTP server."""

import http.server
import os
import threading
import time
import unittest

from harness import AppTestCase, calls_page


def wait_until(condition, timeout=30):
    deadline = time.monotonic() + timeout
    while not condition() and time.monotonic() < deadline:
        time.sleep(0.05)


class ReportServer(http.server.ThreadingHTTPServer):
    """Serves one report; holds each answer until release() is called."""

    def __init__(self, body):
        self.body = body
        self.released = threading.Event()
        self.requests = []
        super().__init__(("127.0.0.1", 0), ReportHandler)
        threading.Thread(target=self.serve_forever, daemon=True).start()

    def url(self, path):
        return f"http://127.0.0.1:{self.server_address[1]}{path}"


class ReportHandler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        self.server.requests.append(self.path)
        self.server.released.wait(30)
        self.send_response(200)
        self.send_header("Content-Type", "application/pdf")
        self.send_header("Content-Length", str(len(self.server.body)))
        self.end_headers()
        self.wfile.write(self.server.body)

    def log_message(self, *arguments):
        pass


class DownloadTest(AppTestCase):
    window_manager = False

    def setUp(self):
        super().setUp()
        self.server = ReportServer(os.urandom(3 * 1024 * 1024 + 17))
        self.addCleanup(self.server.shutdown)
        self.addCleanup(self.server.released.set)

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


if __name__ == "__main__":
    unittest.main()
