"""The web application's server away when the window opens, or when a form is
sent: the real application shows its bundled page, tries again by itself and
loads the web application once the server answers."""

import unittest

from Xlib import display as xdisplay

from harness import AppTestCase, QuietHandler, shown_windows, wait_until, window_name

PAGE = """<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>{name}</title>
<script src="qrc:///qtwebchannel/qwebchannel.js"></script></head>
<body><form method="post" action="/submit"><input name="sample" value="7"></form>
<script>
new QWebChannel(qt.webChannelTransport, async channel => {{
    console.log("PAGE {name} bridge " + await channel.objects.vizEveDivuzaviz.getIni("Hello"));
    {action}
}});
</script></body></html>"""


class Handler(QuietHandler):
    """Answers a request whose path is in the server's hang_up by closing the
    connection, as often as counted there; records every request."""

    def do_GET(self):
        self.answer()

    def do_POST(self):
        self.rfile.read(int(self.headers["Content-Length"]))
        self.answer()

    def answer(self):
        server = self.server
        path = self.path.split("?")[0]
        server.requests.append((self.command, path))
        if server.hang_up.get((self.command, path)):
            server.hang_up[self.command, path] -= 1
            self.close_connection = True
            return
        action = 'document.forms[0].submit();' if path == "/form.html" else ""
        body = PAGE.format(name=path.strip("/"), action=action).encode()
        # A fresh connection for every request: the engine itself sends a
        # request once more when a connection it reused closes unanswered.
        self.send_body(body, "text/html; charset=utf-8", [("Connection", "close")])


class UnreachableTest(AppTestCase):
    window_manager = False

    def setUp(self):
        super().setUp()
        self.server = self.serve(Handler, late=True, requests=[], hang_up={})

    def failures(self, app):
        return [line for line in app.stderr if line.startswith("Could not load ")]

    def titles_until_logged(self, app, line):
        """The window's titles seen until the standard error holds line."""
        connection = xdisplay.Display(self.display.name)
        titles = []

        def logged():
            for window in shown_windows(connection, app.process.pid):
                title = window_name(connection, window)
                if title and title not in titles:
                    titles.append(title)
            return line in app.stderr
        try:
            wait_until(logged, failure=lambda: f"{line!r} not in:\n" + "\n".join(app.stderr))
        finally:
            connection.close()
        return titles

    def test_server_coming_up_after_the_start(self):
        # Markup in the address stays text: as markup it would name the window "IMG".
        address = self.server.url("/app.html?desk=<img src=x onerror=document.title=this.tagName>")
        app = self.start({"Server": address})
        encoded = address.replace("<", "%3C").replace(">", "%3E").replace(" ", "%20")
        self.assertEqual(app.wait_for_line(f"Could not load {encoded}: "),
                         "the server refused the connection")
        app.window(title="Not reachable: " + address)

        self.server.come_up()
        self.assertNotIn("IMG", self.titles_until_logged(app, "js: PAGE app.html bridge World"))
        app.window(title="app.html")  # the web application's page is shown again
        self.assertEqual(len(self.failures(app)), 1)
        self.close(app)

    def test_failed_post_is_not_sent_again(self):
        server = self.server
        server.hang_up = {("POST", "/submit"): 1, ("GET", "/submit"): 1}
        server.come_up()
        app = self.start({"Server": server.url("/form.html")})
        app.wait_until_logged("js: PAGE form.html bridge World")
        app.wait_until_logged("js: PAGE submit bridge World")
        sent = [method for method, path in server.requests if path == "/submit"]
        self.assertEqual(sent.count("POST"), 1)
        self.assertGreaterEqual(sent.count("GET"), 2)
        self.assertEqual(self.failures(app), [f"Could not load {server.url('/submit')}: the server "
                                              "closed the connection without answering"])
        self.close(app)


if __name__ == "__main__":
    unittest.main()
