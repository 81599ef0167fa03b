"""Signing in through the company's identity provider inside the window: a
real OpenID provider (oidc-provider) on an origin of its own, listed in
SignInOrigins, and the web application's page with a real browser client
(oidc-client-ts), signing in by redirect in the main frame and by popup in
a sign-in window. The bridge answers the web application's own documents
only."""

import json
import unittest
import urllib.parse

from harness import HERE, AppTestCase, QuietHandler, active_window, press, recording_opener, wait_until
from identityprovider import BROWSER_CLIENT, IdentityProvider

SIGNIN_PAGE = (HERE / "signin.html").read_bytes()
CALLBACKS = ("/signin.html", "/callback-redirect", "/callback-page", "/popup-callback.html")


class ApplicationHandler(QuietHandler):
    """The web application's server: its page, the browser client, the page
    the popup is sent back to, and the provider's form post answered by a
    redirect to the page with the answer in its address, or by the page at
    once with the answer in it."""

    def do_GET(self):
        path = urllib.parse.urlsplit(self.path).path
        if path == "/signin.html":
            self.send_body(SIGNIN_PAGE, "text/html; charset=utf-8")
        elif path == "/popup-callback.html":
            self.send_body((HERE / "popup-callback.html").read_bytes(), "text/html; charset=utf-8")
        elif path == "/oidc-client-ts.js":
            self.send_body(BROWSER_CLIENT.read_bytes(), "text/javascript")
        else:
            self.send_error(404)

    def do_POST(self):
        answer = "?" + self.rfile.read(int(self.headers["Content-Length"])).decode()
        self.server.posts.append(self.path)
        if self.path == "/callback-redirect":
            self.send_response(303)
            self.send_header("Location", "/signin.html" + answer)
            self.send_header("Content-Length", "0")
            self.end_headers()
        else:
            script = f"<script>var signinAnswer = {json.dumps(answer)};</script>".encode()
            self.send_body(SIGNIN_PAGE.replace(b"<head>", b"<head>" + script), "text/html; charset=utf-8")


class SignInTest(AppTestCase):
    def setUp(self):
        super().setUp()
        self.server = self.serve(ApplicationHandler, posts=[])

    def provider(self, by_hand=False):
        provider = IdentityProvider([self.server.url(path) for path in CALLBACKS], by_hand)
        self.addCleanup(provider.close)
        return provider

    def start_signing_in(self, provider, name, **query):
        """A run of the web application that signs in as query says, with a
        stand-in for the desktop's opener."""
        environment, self.opened = recording_opener(self.folder / name)
        address = self.server.url("/signin.html?" + urllib.parse.urlencode(
            dict(authority=provider.origin, **query)))
        return self.start({"Server": address, "SignInOrigins": provider.origin}, environment, name)

    def assert_signed_in(self, app):
        """Signed in, the bridge answering the page that came back, nothing
        handed away, and no page of the provider with a transport."""
        app.wait_until_logged("js: APP SAVED ok")
        self.assertEqual(app.settings().get("SignedInAs"), "ana")
        provider_pages = [line for line in app.stderr if line.startswith("js: PROVIDER PAGE ")]
        self.assertTrue(any(" login " in line for line in provider_pages), provider_pages)
        self.assertTrue(any(" consent " in line for line in provider_pages), provider_pages)
        self.assertFalse([line for line in provider_pages if line.endswith(" with transport")])
        self.assertFalse([line for line in app.stderr if "handed to the desktop's browser" in line])
        self.assertEqual(self.opened(), [])

    def test_redirect_sign_in_in_the_main_frame(self):
        provider = self.provider()
        for name, query, posts in (
                ("answer in the address", {}, []),
                ("form post answered by a redirect",
                 {"mode": "form_post", "callback": "/callback-redirect"}, ["/callback-redirect"]),
                ("form post answered by the page",
                 {"mode": "form_post", "callback": "/callback-page"}, ["/callback-page"])):
            with self.subTest(name):
                self.server.posts.clear()
                app = self.start_signing_in(provider, name.replace(" ", "-"), flow="redirect", **query)
                self.assert_signed_in(app)
                # The tab kept what the web application left in it.
                self.assertIn("js: APP SIGNED IN ana KEPT what the tab held before", app.stderr)
                # At the first try, before the sign-in and after it.
                self.assertEqual(app.stderr.count("js: APP BRIDGE World"), 2)
                self.assertEqual(self.server.posts, posts)
                self.close(app)

    def test_popup_sign_in_in_a_window_over_the_main_one(self):
        provider = self.provider(by_hand=True)
        app = self.start_signing_in(provider, "popup", flow="popup")
        app.wait_until_logged("js: APP BRIDGE World")
        for step in ("login", "consent"):
            app.wait_until_logged(f"js: PROVIDER PAGE {step} SHOWN")
            connection, popup = app.window(title=f"Vantrel Lab sign-in: {step}")
            _, main = app.window(title="Mird")
            self.assertEqual(popup.get_wm_transient_for().id, main.id)
            wait_until(lambda: active_window(connection) == popup.id)
            press(connection, "Return")
            connection.close()
        self.assert_signed_in(app)
        self.assertIn("js: CALLBACK without transport", app.stderr)
        # The web application closed its popup once the answer was in.
        wait_until(lambda: self.windows_titled(app, "Signed in") == 0)
        self.close(app)

        # Closed by the person before the sign-in ends: the page hears so.
        app = self.start_signing_in(provider, "closed", flow="popup")
        app.wait_until_logged("js: PROVIDER PAGE login SHOWN")
        app.close_window(title="Vantrel Lab sign-in: login")
        app.wait_until_logged("js: APP ERROR Popup closed by user")
        self.assertEqual(self.windows_titled(app, "Vantrel Lab sign-in: login"), 0)
        self.close(app)

    def windows_titled(self, app, title):
        try:
            app.window(timeout=0.1, title=title)[0].close()
            return 1
        except AssertionError:
            return 0


if __name__ == "__main__":
    unittest.main()
