"""requests.html, a page that asks the window for what the address tells it
(permissions, a login, a question before it closes, reports), served for
the tests of what the page asks and what the person sees."""

import base64
import urllib.parse

from harness import HERE, AppTestCase, QuietHandler

USER, PASSWORD = "ana", "s3cret"
REALM = "Mird <b>lab</b>"


class RequestsHandler(QuietHandler):
    def do_GET(self):
        path = urllib.parse.urlsplit(self.path).path
        if path == "/requests.html":
            self.send_body((HERE / "requests.html").read_bytes(), "text/html")
        elif path == "/frame.html":
            self.send_body(b"<script>Notification.requestPermission()"
                           b".then(value => console.log('ANSWER frame ' + value))</script>", "text/html")
        elif path == "/secret.html":
            expected = "Basic " + base64.b64encode(f"{USER}:{PASSWORD}".encode()).decode()
            if self.headers.get("Authorization") == expected:
                self.send_body(b"<title>Secret</title><script>console.log('LOGGED IN')</script>",
                               "text/html")
            else:
                self.server.refusals += 1
                self.send_response(401)
                self.send_header("WWW-Authenticate", f'Basic realm="{REALM}"')
                self.send_header("Content-Length", "0")
                self.end_headers()
        else:
            self.send_response(500)
            self.send_header("Content-Length", "0")
            self.end_headers()


class RequestsPageTestCase(AppTestCase):
    """A test with requests.html served for it; address() makes its addresses."""

    def setUp(self):
        super().setUp()
        self.server = self.serve(RequestsHandler, refusals=0)
        self.port = self.server.port

    def address(self, path, **query):
        return f"http://127.0.0.1:{self.port}/{path}?" + urllib.parse.urlencode(query, doseq=True)
