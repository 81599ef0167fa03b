"""downloads.html served from its own origin with reports to download, for the
tests of what the person at the desk and a web developer see of the running
application."""

import gzip
import http.server
import socket
import threading
import urllib.parse

from harness import HERE, AppTestCase

PAGE = (HERE / "downloads.html").read_bytes()
REPORT = bytes(range(256)) * 4096  # 1 MiB


class DownloadsHandler(http.server.BaseHTTPRequestHandler):
    """Serves the test page and files to download from the page's own origin.
    /files/NAME: a report, of which the second half waits for the server's
    released; /attachment: a report sent as an attachment; /drop,
    /drop-gzip and /drop-chunked: a report whose connection breaks halfway,
    every time it is asked for (with its length, compressed with the length
    of what is compressed, in chunks)."""

    def do_GET(self):
        path = urllib.parse.urlsplit(self.path).path
        if path == "/downloads.html":
            self._send(PAGE, "text/html")
        elif path.startswith("/files/"):
            self._send(REPORT, "application/pdf", hold=True)
        elif path == "/attachment":
            self._send(REPORT, "application/pdf", {"Content-Disposition": 'attachment; filename="Report 7.pdf"'})
        elif path == "/drop":
            self._send(REPORT, "application/pdf", drop=True)
        elif path == "/drop-gzip":
            self._send(gzip.compress(REPORT), "application/pdf", {"Content-Encoding": "gzip"}, drop=True)
        elif path == "/drop-chunked":
            self._send_chunks_then_drop(REPORT)
        else:
            self.send_error(404)

    def _send(self, body, content_type, headers=None, hold=False, drop=False):
        self.send_response(200)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        for name, value in (headers or {}).items():
            self.send_header(name, value)
        self.end_headers()
        half = len(body) // 2
        self.wfile.write(body[:half])
        self.wfile.flush()
        if drop:
            self.close_connection = True
            self.connection.shutdown(socket.SHUT_RDWR)
            return
        if hold:
            self.server.half_sent.set()
            self.server.released.wait(30)
        self.wfile.write(body[half:])

    def _send_chunks_then_drop(self, body):
        self.protocol_version = "HTTP/1.1"
        self.send_response(200)
        self.send_header("Content-Type", "application/pdf")
        self.send_header("Transfer-Encoding", "chunked")
        self.end_headers()
        half = body[:len(body) // 2]
        self.wfile.write(b"%x\r\n%s\r\n" % (len(half), half))
        self.wfile.flush()
        self.close_connection = True
        self.connection.shutdown(socket.SHUT_RDWR)

    def log_message(self, *arguments):
        pass


class DownloadsPageTestCase(AppTestCase):
    """A test with downloads.html served for it; page() is its address."""

    def setUp(self):
        super().setUp()
        self.server = self.serve(DownloadsHandler, half_sent=threading.Event(), released=threading.Event())
        self.addCleanup(self.server.released.set)  # before the server stops

    def page(self, **query):
        return self.server.url("/downloads.html?" + urllib.parse.urlencode(query))
