"""Only the web application's own documents reach the bridge, and nothing the
page downloads runs: the real application against a local HTTP server that
answers under two origins, 127.0.0.1 and localhost on the same port, with a
stand-in for the desktop's opener that records what it is given."""

import unittest
import urllib.parse

from Xlib import display as xdisplay

from harness import (HERE, AppTestCase, LocalServer, QuietHandler, calls_page, recording_opener,
                     shown_windows, wait_until)

PAGE = """<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>{name}</title></head>
<body>{body}
<script src="qrc:///qtwebchannel/qwebchannel.js"></script>
<script>
"use strict";
const report = text => console.log("PAGE {name} " + text);
if (typeof qt === "undefined") {{
    let parentTransport = false;
    try {{ parentTransport = Boolean(parent.qt.webChannelTransport); }} catch (error) {{}}
    report(parentTransport ? "parent's transport" : "no transport");
}} else {{
    new QWebChannel(qt.webChannelTransport, async channel => {{
        report("bridge " + await channel.objects.vizEveDivuzaviz.getIni("Hello"));
        // Shows the server that this document is still the one shown.
        setInterval(() => fetch("/alive/{name}"), 50);
        {action}
    }});
}}
</script></body></html>
"""

ELF_HEAD = open("/bin/true", "rb").read(4096)


class TwoOriginServer(LocalServer):
    """Pages, redirects and files by path; records every request with the
    origin it was made to."""

    def __init__(self):
        super().__init__(Handler, pages={}, redirects={}, files={}, requests=[])
        self.trusted = self.origin
        self.foreign = f"http://localhost:{self.port}"

    def page(self, path, name, action="", body=""):
        self.pages[path] = PAGE.format(name=name, action=action, body=body)

    def requested(self, origin, path):
        return (origin, path) in self.requests

    def pings(self, name):
        return self.requests.count((self.trusted, "/alive/" + name))


class Handler(QuietHandler):
    def do_GET(self):
        server = self.server
        server.requests.append(("http://" + self.headers["Host"], self.path))
        if self.path in server.redirects:
            self.send_response(302)
            self.send_header("Location", server.redirects[self.path])
            self.send_header("Content-Length", "0")
            self.end_headers()
            return
        if self.path in server.pages:
            content_type, body = "text/html; charset=utf-8", server.pages[self.path].encode()
        elif self.path in server.files:
            content_type, body = "application/octet-stream", server.files[self.path]
        else:
            self.send_response(204)
            self.end_headers()
            return
        self.send_body(body, content_type)


class SecurityTest(AppTestCase):
    window_manager = False

    def setUp(self):
        super().setUp()
        self.server = TwoOriginServer()
        self.addCleanup(self.server.server_close)

    def start(self, settings, name="run"):
        """A run whose desktop opener is the stand-in."""
        environment, self.opened = recording_opener(self.folder / name)
        self.temporary = self.folder / name / "tmp"
        self.temporary.mkdir()
        environment["TMPDIR"] = str(self.temporary)
        return super().start(settings, environment, name)

    def wait_for_opened(self, *addresses):
        wait_until(lambda: len(self.opened()) >= len(addresses),
                   failure=lambda: f"opened only {self.opened()}")
        self.assertEqual(sorted(self.opened()), sorted(addresses))

    def wait_for_line(self, app, line):
        wait_until(lambda: line in app.stderr,
                   failure=lambda: f"no line {line!r} in:\n" + "\n".join(app.stderr))

    def assert_still_shown(self, name):
        """The document keeps running: it pings the server again."""
        pings = self.server.pings(name)
        wait_until(lambda: self.server.pings(name) > pings, failure=f"{name} is gone")

    def test_foreign_navigation_stays_and_reaches_the_browser(self):
        server = self.server
        server.page("/foreign.html", "foreign")
        server.redirects["/out"] = server.foreign + "/foreign.html"
        starts = {
            "script": f'location.href = "{server.foreign}/foreign.html";',
            "link": 'document.getElementById("out").click();',
            "server redirect": 'location.href = "/out";',
        }
        for how, action in starts.items():
            with self.subTest(how):
                name = how.replace(" ", "-")
                server.page(f"/{name}.html", name, action,
                            f'<a id="out" href="{server.foreign}/foreign.html">out</a>')
                app = self.start({"Server": f"{server.trusted}/{name}.html"}, name)
                self.wait_for_line(app, f"js: PAGE {name} bridge World")
                self.wait_for_opened(server.foreign + "/foreign.html")
                self.assert_still_shown(name)
                self.assertIn(f'Navigation to "{server.foreign}/foreign.html" handed to the '
                              "desktop's browser", app.stderr)
                self.assertFalse(server.requested(server.foreign, "/foreign.html"))
                self.close(app)
        self.assertEqual(server.requests.count((server.trusted, "/out")), 1)

    def test_server_redirecting_to_a_foreign_origin_at_start_loads_nothing_foreign(self):
        server = self.server
        server.redirects["/start"] = server.foreign + "/foreign.html"
        server.page("/foreign.html", "foreign")
        app = self.start({"Server": f"{server.trusted}/start"})
        self.wait_for_opened(server.foreign + "/foreign.html")
        self.assertTrue(server.requested(server.trusted, "/start"))
        self.assertFalse([request for request in server.requests if request[0] == server.foreign])
        self.assertNotIn("js: PAGE foreign bridge World", app.stderr)
        self.close(app)

    def test_trusted_navigation_keeps_the_bridge(self):
        server = self.server
        server.page("/first.html", "first", 'location.href = "/via";')
        server.redirects["/via"] = server.trusted + "/second.html"
        server.page("/second.html", "second")
        app = self.start({"Server": f"{server.trusted}/first.html"})
        self.wait_for_line(app, "js: PAGE first bridge World")
        self.wait_for_line(app, "js: PAGE second bridge World")
        self.assertEqual(self.opened(), [])
        self.close(app)

    def test_listed_origin_gets_the_bridge(self):
        server = self.server
        server.page("/app.html", "app", f'location.href = "{server.foreign}/reports.html";')
        server.page("/reports.html", "reports")
        app = self.start({"Server": f"{server.trusted}/app.html",
                          "TrustedOrigins": f"https://reports.example {server.foreign}"})
        self.wait_for_line(app, "js: PAGE reports bridge World")
        self.assertTrue(server.requested(server.foreign, "/reports.html"))
        self.assertEqual(self.opened(), [])
        self.close(app)

    def test_foreign_frame_loads_and_finds_no_transport(self):
        server = self.server
        server.page("/app.html", "app", body=f'<iframe src="{server.foreign}/frame.html"></iframe>')
        server.page("/frame.html", "frame")
        app = self.start({"Server": f"{server.trusted}/app.html"})
        self.wait_for_line(app, "js: PAGE frame no transport")
        self.wait_for_line(app, "js: PAGE app bridge World")
        self.assertEqual(self.opened(), [])
        self.close(app)

    def test_popups_open_no_window_and_reach_the_browser(self):
        server = self.server
        server.page("/app.html", "app", """
            window.open("%s/opened.html");
            document.getElementById("blank").click();
            window.open("qrc:/console/index.html");
            const later = window.open("");
            later.location = "%s/later.html";
        """ % (server.foreign, server.foreign),
            f'<a id="blank" target="_blank" href="{server.trusted}/blank.html">new</a>')
        app = self.start({"Server": f"{server.trusted}/app.html"})
        self.wait_for_line(app, "js: PAGE app bridge World")
        self.wait_for_opened(server.foreign + "/opened.html", server.trusted + "/blank.html",
                             server.foreign + "/later.html")
        self.wait_for_line(app, 'Window for "qrc:/console/index.html" dropped')
        self.assert_still_shown("app")
        self.assertEqual(self.mapped_windows(app), 1)
        self.assertIn(f'Window for "{server.foreign}/opened.html" handed to the desktop\'s browser',
                      app.stderr)
        self.assertFalse([path for _, path in server.requests
                          if path in ("/opened.html", "/blank.html", "/later.html")])
        self.close(app)

    def test_clicked_address_of_an_unknown_scheme_is_dropped(self):
        # The desktop's opener may run a program for such an address (on
        # Windows some schemes start one at once). A frame's link is clicked:
        # frames navigate freely. The click then sends the window elsewhere,
        # which shows when it has been handled.
        server = self.server
        # The engine drops clicks until the page's and the frame's first text
        # is painted.
        server.page("/app.html", "app", """new PerformanceObserver(list => {
                if (list.getEntriesByName("first-contentful-paint").length)
                    report("ready");
            }).observe({type: "paint", buffered: true});""", f"""app
            <iframe src="{server.foreign}/frame.html" style="position: fixed; inset: 0;
                    width: 100%; height: 100%; border: 0"></iframe>""")
        server.pages["/frame.html"] = f"""<!DOCTYPE html>
            <body><a href="vantrelnut-test:run" style="position: fixed; inset: 0"
               onclick="setTimeout(() => top.location = '{server.foreign}/after.html', 100)">run</a>
            <script>
            new PerformanceObserver(list => {{
                if (list.getEntriesByName("first-contentful-paint").length)
                    console.log("FRAME ready");
            }}).observe({{type: "paint", buffered: true}});
            document.addEventListener("mousemove", () => console.log("FRAME pointer"));
            </script></body>"""
        app = self.start({"Server": f"{server.trusted}/app.html"})
        self.wait_for_line(app, "js: PAGE app ready")
        self.wait_for_line(app, "js: FRAME ready")
        app.click("js: FRAME pointer")
        self.wait_for_opened(server.foreign + "/after.html")
        self.close(app)
        self.assertEqual(self.opened(), [server.foreign + "/after.html"])

    def mapped_windows(self, app):
        connection = xdisplay.Display(self.display.name)
        count = len(list(shown_windows(connection, app.process.pid)))
        connection.close()
        return count

    def test_downloaded_programs_are_saved_and_never_opened(self):
        server = self.server
        pdf = b"%PDF-1.4\n1 0 obj\n<< /Type /Catalog >>\nendobj\n%%EOF\n"
        programs = {
            "setup.exe": b"MZ\x90\x00" + bytes(60),
            "Install.BAT. ": b"@echo off\r\n",
            "tool.js": b"WScript.Echo(1);\n",
            "launcher.desktop": b"[Desktop Entry]\nType=Application\nExec=true\n",
            "program.pdf": ELF_HEAD,
            "script.pdf": b"#!/bin/sh\ntrue\n",
            "entry.pdf": b"[Desktop Entry]\nType=Application\nExec=true\n",
            "windows.pdf": b"MZ\x90\x00" + bytes(60),
        }
        for name, content in programs.items():
            server.files["/files/" + urllib.parse.quote(name)] = content
        server.files["/files/report.pdf"] = pdf
        calls = [["doOpen", f"{server.trusted}/files/{urllib.parse.quote(name)}"]
                 for name in [*programs, "report.pdf"]]
        app = self.start({"Server": calls_page(*calls)})
        results = app.results()
        self.assertEqual(results, [["doOpen", str(self.temporary / name)]
                                   for name in [*programs, "report.pdf"]])

        for name in programs:
            self.wait_for_line(app, f"Not opening {self.temporary / name}: it could run a program")
        self.wait_for_opened((self.temporary / "report.pdf").as_uri())
        for name, content in programs.items():
            self.assertEqual((self.temporary / name).read_bytes(), content)
        self.assertEqual((self.temporary / "report.pdf").read_bytes(), pdf)
        successes = bytes(app.stdout).decode().splitlines()
        self.assertEqual(len(successes), len(programs) + 1)
        self.assertTrue(all(" succeeded (saved to " in line for line in successes))
        self.close(app)
        self.assertEqual(self.opened(), [(self.temporary / "report.pdf").as_uri()])

    def test_page_given_names_that_could_run_are_refused(self):
        server = self.server
        home = self.folder / "run"
        (home / "bin").mkdir(parents=True)
        (home / "Documents").mkdir()
        bashrc = home / ".bashrc"
        bashrc.write_bytes(b"# the person's own\n")
        (home / "Documents" / "latest.pdf").symlink_to("../.bashrc")
        refused = {  # name: what the refusal says of it
            home / "config/autostart/evil.desktop": " could run a program, which a page may not save",
            bashrc: " is a shell's start-up file, which a page may not write",
            home / "bin/tool": f" lies in {home}/bin, from which the shell runs programs by name;"
                               " a page may not save there",
            home / "Documents/latest.pdf": f" (which leads to {bashrc}) is a shell's start-up file,"
                                           " which a page may not write",
        }
        saved = home / "Documents/report.pdf"
        names = [*refused, saved]
        for number in range(len(names)):
            server.files[f"/files/{number}.pdf"] = b"%PDF-1.4\n%%EOF\n"
        calls = [["doDownloadSaveReport", f"{server.trusted}/files/{number}.pdf", str(name), True]
                 for number, name in enumerate(names)]
        app = self.start({"Server": calls_page(*calls)})
        self.assertEqual(app.results(), [["doDownloadSaveReport", str(name)] for name in names])
        for number, (name, why) in enumerate(refused.items()):
            self.wait_for_line(app, f"Download of {server.trusted}/files/{number}.pdf failed: {name}{why}")
        wait_until(lambda: saved.exists())
        self.close(app)
        self.assertEqual([path for _, path in server.requests if path.startswith("/files/")],
                         [f"/files/{len(refused)}.pdf"])
        self.assertEqual(bashrc.read_bytes(), b"# the person's own\n")
        self.assertFalse((home / "config/autostart").exists() or (home / "bin/tool").exists())
        self.assertEqual(self.opened(), [saved.as_uri()])


class LoopHandler(QuietHandler):
    """The web application's server for the loop: loop.html (also as the
    answer to a form's post), and /nothing, which answers 204."""

    def do_GET(self):
        if self.path.startswith("/loop.html"):
            page = (HERE / "loop.html").read_text().replace("HOSTILE", self.server.hostile)
            self.send_body(page.replace("ROUNDS", str(self.server.rounds)).encode(), "text/html")
        else:
            self.send_response(204)
            self.end_headers()

    def do_POST(self):
        self.rfile.read(int(self.headers["Content-Length"]))
        self.do_GET()


class HostileHandler(QuietHandler):
    """The sign-in origin's server: hostile.html, attack.js, keeper.html, and
    /bounce?to=ADDRESS, a redirect there."""

    def do_GET(self):
        path, _, query = self.path.partition("?")
        if path == "/bounce":
            self.send_response(302)
            self.send_header("Location", urllib.parse.parse_qs(query)["to"][0])
            self.send_header("Content-Length", "0")
            self.end_headers()
            return
        if path not in ("/hostile.html", "/keeper.html", "/attack.js"):
            self.send_error(404)
            return
        page = (HERE / path.lstrip("/")).read_text().replace("TRUSTED", self.server.trusted)
        self.send_body(page.encode(), "text/javascript" if path.endswith(".js") else "text/html")


class SignInOriginTest(AppTestCase):
    """A hostile page on a listed sign-in origin, of the same site as the web
    application (127.0.0.1 on another port): the window shows it, and it
    never reaches a slot, whichever way the main frame goes."""

    def test_hostile_sign_in_page_never_reaches_a_slot(self):
        rounds = 12  # each way back three times
        trusted = self.serve(LoopHandler, rounds=rounds)
        hostile = self.serve(HostileHandler)
        trusted.hostile, hostile.trusted = hostile.origin, trusted.origin
        environment, opened = recording_opener(self.folder)
        app = self.start({"Server": trusted.url("/loop.html?round=0"),
                          "SignInOrigins": hostile.origin}, environment)
        app.wait_until_logged("js: TRUSTED 0 World")
        trace = app.trace_lines()

        # The bridge at its first try each time the web application is back.
        app.wait_until_logged(f"js: TRUSTED {rounds} World", timeout=120)
        for round in range(rounds):
            self.assertIn(f"js: HOSTILE {round}", app.stderr)
            self.assertIn(f"js: TRUSTED {round} World", app.stderr)
            if round % 4 == 2:  # the address that answered 204 left it shown
                self.assertIn(f"js: HOSTILE STAYED {round}", app.stderr)
        self.assertFalse([line for line in app.stderr if "HOSTILE FOUND" in line])
        self.assertNotIn("Pwned", app.settings())
        self.assertEqual(app.trace_lines(), trace)
        self.assertEqual(opened(), [])
        app.window(title="Keeper")[0].close()  # kept the main window all along
        app.close_window(title="Loop")
        self.assertEqual(app.wait(), 0)


if __name__ == "__main__":
    unittest.main()
