"""What the page asks of the window: permissions, a login, leaving unsaved
work."""

import unittest

from Xlib import XK, display as xdisplay, error as xerror

from harness import press, press_key, shown_windows, wait_until
from requests_page import PASSWORD, USER, RequestsPageTestCase


def type_text(connection, text):
    for character in text:
        press_key(connection, XK.string_to_keysym(character))


def windows_shown(connection, app):
    """How many windows the application shows; a window that goes while the
    tree is walked has the tree walked again."""
    while True:
        try:
            return len(list(shown_windows(connection, app.process.pid)))
        except xerror.XError:
            continue


class PageRequestsTest(RequestsPageTestCase):
    def answers(self, app, names):
        wait_until(lambda: all(any(line.startswith(f"js: ANSWER {name} ") for line in app.stderr)
                               for name in names), 10,
                   lambda: "unanswered:\n" + "\n".join(app.stderr))
        return {line.split()[2]: " ".join(line.split()[3:]) for line in app.stderr
                if line.startswith("js: ANSWER ")}

    def test_every_permission_request_is_answered(self):
        # A frame of another origin (localhost is not 127.0.0.1) gets nothing;
        # with no microphone or camera here the engine may refuse before asking.
        rows = {"notifications": "granted", "location": "refused 1", "microphone": "refused",
                "camera": "refused", "screen": "refused", "clipboardRead": "refused",
                "clipboardWrite": "granted", "frame": "denied"}
        app = self.start({"Server": self.address(
            "requests.html", permissions=",".join(name for name in rows if name != "frame"),
            frame=f"http://localhost:{self.port}/frame.html")})
        answers = self.answers(app, rows)
        for name, expected in rows.items():
            with self.subTest(name):
                self.assertTrue(answers[name].startswith(expected), answers[name])
        origin = f"http://127.0.0.1:{self.port}"
        self.assertIn(f"Permission refused: location for {origin}", app.stderr)
        self.assertIn(f"Permission refused: notifications for http://localhost:{self.port}", app.stderr)
        self.close(app)

    def test_permission_answers_follow_the_trusted_origins_of_each_start(self):
        # The frame's origin is trusted at the first start and no longer at the
        # second; nothing the engine could keep from the first start (Qt 6.8
        # keeps permission answers on disk unless told otherwise) answers for
        # the window at the second.
        frame = f"http://localhost:{self.port}"
        for trusted, answer in ((frame, "granted"), ("", "denied")):
            with self.subTest(trusted=trusted):
                app = self.start({"Server": self.address("requests.html", frame=frame + "/frame.html"),
                                  "TrustedOrigins": trusted})
                self.assertEqual(self.answers(app, ["frame"])["frame"], answer)
                self.close(app)
        self.assertIn(f"Permission refused: notifications for {frame}", app.stderr)

    def test_login_asks_again_after_a_wrong_password(self):
        app = self.start({"Server": self.address("secret.html")})
        for password in ("wrong", PASSWORD):
            connection, dialog = app.window(title="Log In")
            dialog.set_input_focus(0, 0)
            type_text(connection, USER)
            press(connection, "Tab")
            type_text(connection, password)
            press(connection, "Return")
            connection.close()
            if password == "wrong":
                wait_until(lambda: self.server.refusals >= 2)
        app.wait_until_logged("js: LOGGED IN")
        self.assertFalse([line for line in app.stderr if PASSWORD in line])
        self.close(app)

    def test_unsaved_work_asks_before_the_window_closes(self):
        app = self.start({"Server": self.address("requests.html", unsaved=1)})
        app.wait_until_logged("js: SHOWN")
        app.click("js: POINTER")  # a page the person never touched is not asked
        for keys, stays in ((("Escape",), True), (("Alt_L", "l"), False)):
            app.close_window()
            connection, dialog = app.window(title="VantrelNut")
            dialog.set_input_focus(0, 0)
            press(connection, *keys)
            connection.close()
            if stays:
                watcher = xdisplay.Display(app.display.name)
                wait_until(lambda: windows_shown(watcher, app) == 1)
                watcher.close()
                self.assertIsNone(app.process.poll())
        self.assertEqual(app.wait(10), 0)


if __name__ == "__main__":
    unittest.main()
