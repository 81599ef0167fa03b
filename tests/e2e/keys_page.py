"""keys.html, a page of the web application as the person at the desk uses
it, served with its script for the tests of a browser's keys and habits."""

import collections
import urllib.parse

from harness import HERE, AppTestCase, QuietHandler, active_window, wait_until


class KeysHandler(QuietHandler):
    """keys.html and its script, which the browser may cache for an hour;
    the server counts the requests for each path."""

    def do_GET(self):
        path = urllib.parse.urlsplit(self.path).path
        self.server.requests[path] += 1
        page = path == "/keys.html"
        body = (HERE / "keys.html").read_bytes() if page else b""
        self.send_body(body, "text/html" if page else "text/javascript",
                       [("Cache-Control", "max-age=3600")])


class KeysPageTestCase(AppTestCase):
    """A test with keys.html served for it and run in a window not maximised."""

    def setUp(self):
        super().setUp()
        self.server = self.serve(KeysHandler, requests=collections.Counter())

    def start_page(self, environment=None, **query):
        """A window not maximised on keys.html, once the page is drawn."""
        address = self.server.url("/keys.html?") + urllib.parse.urlencode(query)
        app = self.start({"Server": address, "ShowMaximized": "0"}, environment)
        app.wait_until_logged("js: SHOWN")
        return app

    def focused(self, app, title=None):
        """The window (or dialog) with that title, once it has the focus."""
        connection, window = app.window(title=title)
        wait_until(lambda: active_window(connection) == window.id)
        return connection, window

    def keys_seen(self, app):
        """The keys that reached the page, but for the modifiers held down."""
        return [line[8:] for line in app.stderr
                if line.startswith("js: KEY ") and not line.endswith(("+Control", "+Shift", "+Alt"))]
