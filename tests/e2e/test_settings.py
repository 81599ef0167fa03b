"""The real application under Xvfb as its settings make it: the first start
without a settings file, a person's settings and a deployer's written by hand,
the context menu, high-DPI scaling (not handed on to the report viewer) and
the page's storage across starts."""

import os
import unittest

from harness import App, AppTestCase, calls_page, wait_until, window_states


class SettingsTest(AppTestCase):
    def test_first_start_without_settings_file(self):
        app = self.start()
        self.assertEqual(app.wait_for_line('"settings.ini"', 30), "")
        connection, window = app.window()
        self.assertIn("_NET_WM_STATE_MAXIMIZED_HORZ", window_states(connection, window))
        connection.close()
        self.close(app)
        self.assertEqual(app.ini.read_text(), "[General]\nHello=World\n")
        self.assertEqual(app.stderr[:2], ["Number of connected devices:  1", '"settings.ini"'])
        # Nothing of the toolkit's own logging either, which has more to say in Qt 6.
        self.assertFalse([line for line in app.stderr if line.startswith("qt.")], app.stderr)

    def test_settings_of_a_person(self):
        # Hello is written back on every start; "true" is not "1".
        settings = {"Server": calls_page(["setIni", "Hello", "Changed"], ["getIni", "Hello"]),
                    "ShowMaximized": "true", "appName": "Mird Lab"}
        first = self.start(settings, name="first")
        self.assertEqual(first.results(), [["setIni", "ok"], ["getIni", "Changed"]])
        connection, window = first.window()
        self.assertNotIn("_NET_WM_STATE_MAXIMIZED_HORZ", window_states(connection, window))
        self.assertEqual(window.get_wm_class()[1], "Mird Lab")
        connection.close()
        self.close(first)
        self.assertEqual(first.settings()["Hello"], "Changed")

        # The next start with a page that only reads: one that wrote Hello again
        # would race with the start's own writing.
        kept = dict(first.settings(), Server=calls_page(["getIni", "Hello"]))
        second = App(self.display, first.home, kept,
                     environment={"I1SIM_TRACE": str(first.home / "second-trace")})
        self.addCleanup(second.stop)
        self.assertEqual(second.results(), [["getIni", "World"]])
        self.close(second)
        self.assertEqual(second.settings()["Hello"], "World")

    def test_settings_for_every_person_of_the_machine(self):
        # A deployer's file for all: $XDG_CONFIG_DIRS/Vantrel/Mird.ini, by
        # default /etc/xdg. It gives what a person's own file lacks and is
        # never written; the person's own value wins.
        system = self.folder / "xdg" / "Vantrel"
        system.mkdir(parents=True)
        (system / "Mird.ini").write_text(
            "[General]\nServer=" + calls_page(["getIni", "SignInOrigins"])
            + "\nSignInOrigins=https://login.example\n")
        environment = {"XDG_CONFIG_DIRS": str(self.folder / "xdg")}
        app = self.start({}, environment, name="system")
        self.assertEqual(app.results(), [["getIni", "https://login.example"]])
        self.close(app)
        self.assertEqual(app.settings(), {"Hello": "World"})
        app = self.start({"Server": calls_page(["getIni", "Hello"])}, environment, name="own")
        self.assertEqual(app.results(), [["getIni", "World"]])
        self.close(app)
        self.assertIn("SignInOrigins=https://login.example", (system / "Mird.ini").read_text())

    def test_server_written_by_hand_with_commas(self):
        # Unquoted, as a deployer writes it; the page ignores the extra parameter.
        server = calls_page(["getIni", "Server"]) + "&filter=1,2"
        app = self.start({"Server": server})
        self.assertEqual(app.results(), [["getIni", server]])
        self.close(app)
        # The start wrote the file back in QSettings' own form; it still reads the same.
        again = App(self.display, app.home, environment={"I1SIM_TRACE": str(app.home / "again")})
        self.addCleanup(again.stop)
        self.assertEqual(again.results(), [["getIni", server]])
        self.close(again)

    def test_context_menu_setting(self):
        for setting, expected in (("0", False), ("1", True)):
            with self.subTest(ContextMenu=setting):
                app = self.start({"Server": calls_page(["Connected"]), "ContextMenu": setting},
                                 name="menu" + setting)
                app.results()
                self.assertEqual(app.right_click_shows_menu(), expected)
                self.close(app)

    def test_high_dpi_setting(self):
        # A desktop at twice and at one and a half times the usual resolution:
        # scaled by whole factors when asked, not at all otherwise.
        self.addCleanup(self.display.set_xft_dpi, None)
        for dpi, setting, scale in ((192, "1", "2"), (192, "0", "1"), (144, "1", "2"), (144, "0", "1")):
            with self.subTest(dpi=dpi, EnableHighDpi=setting):
                self.display.set_xft_dpi(dpi)
                app = self.start({"Server": calls_page(["Connected"]), "EnableHighDpi": setting},
                                 name=f"dpi{dpi}-{setting}")
                self.assertEqual(app.wait_for_line("js: SCALE "), scale)
                self.close(app)

    def test_scaling_off_is_not_handed_to_the_report_viewer(self):
        self.addCleanup(self.display.set_xft_dpi, None)
        self.display.set_xft_dpi(192)
        programs = self.folder / "bin"
        programs.mkdir()
        opener = programs / "xdg-open"  # the desktop's opener, which starts the viewer
        opener.write_text('#!/bin/sh\nenv > "$0.env.part" && mv "$0.env.part" "$0.env"\n')
        opener.chmod(0o755)
        report = self.folder / "report.pdf"
        report.write_bytes(b"%PDF-1.4\n")
        app = self.start(
            {"Server": calls_page(["doDownloadSaveReport", report.as_uri(), str(self.folder / "saved.pdf"), True]),
             "EnableHighDpi": "0"},
            {"PATH": f"{programs}:{os.environ['PATH']}"})
        self.assertEqual(app.wait_for_line("js: SCALE "), "1")
        app.results()
        opened = programs / "xdg-open.env"
        wait_until(opened.exists)
        environment = dict(line.split("=", 1) for line in opened.read_text().splitlines() if "=" in line)
        self.assertEqual(environment["HOME"], str(app.home))
        self.assertIsNone(environment.get("QT_ENABLE_HIGHDPI_SCALING"))
        self.close(app)

    def test_page_storage_kept_across_starts(self):
        first = self.start({"Server": calls_page(["Connected"], remember="first run")}, name="storage")
        self.assertEqual(first.wait_for_line("js: REMEMBERED "), "null")
        first.results()
        self.close(first)
        # Where the browser has always kept it, so every build finds it.
        self.assertTrue((first.home / "data/VantrelNut/QtWebEngine/Default/Local Storage").is_dir())

        second = App(self.display, first.home, {"Server": calls_page(["Connected"], remember="second run")},
                     {"I1SIM_TRACE": str(first.home / "second-trace")})
        self.addCleanup(second.stop)
        self.assertEqual(second.wait_for_line("js: REMEMBERED "), '"first run"')
        second.results()
        self.close(second)


if __name__ == "__main__":
    unittest.main()
