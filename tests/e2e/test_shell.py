"""The real application under Xvfb: start-up settings, the window, the object
the page sees, and what closing the window does."""

import os
import signal
import unittest
from pathlib import Path

from harness import (ICON_SIZES, App, AppTestCase, calls_page, wait_until, window_icon_sizes,
                     window_states)

RESET = 'I1_SetGlobalOption "Reset" "All"'


def renderer_processes(pid):
    """The browser's renderer processes among the descendants of pid: named
    so on their command line, or forked by the browser's zygote, which leaves
    the zygote's command line in place."""
    parents, arguments = {}, {}
    for entry in Path("/proc").iterdir():
        try:
            status = (entry / "status").read_text()
            parents[int(entry.name)] = int(status.split("PPid:")[1].split()[0])
            arguments[int(entry.name)] = (entry / "cmdline").read_bytes().split(b"\0")
        except (ValueError, OSError, IndexError):
            continue
    descendants, found = {pid}, True
    while found:
        found = {child for child, parent in parents.items()
                 if parent in descendants and child not in descendants}
        descendants |= found
    return [child for child in descendants - {pid}
            if b"--type=renderer" in arguments[child]
            or b"--type=zygote" in arguments.get(parents[child], [])]


class ShellTest(AppTestCase):
    def test_page_calls_slots_and_closing_disconnects_once(self):
        app = self.start({"Server": calls_page(
            ["isConnected"], ["Connected"], ["getDeviceID"], ["getOption", "MeasurementMode"],
            ["getOption", ""], ["getDeviceInfo"], ["getIni", "Hello"], ["getIni", "Missing"],
            ["setIni", "FromPage", "gr\u00fcn"], ["getIni", "FromPage"])})
        self.assertEqual(app.results(), [
            ["isConnected", True], ["Connected", True], ["getDeviceID", "SIM0001"],
            ["getOption", "ReflectanceSpot"], ["getOption", ""],
            ["getDeviceInfo",
             "\nSERIAL_NUMBER:               SIM0001"
             "\nMEASUREMENT_MODE:            ReflectanceSpot"
             "\nLAST_ERROR:                  "
             "\nAVAILABLE_MEASUREMENT_MODES: EmissionSpot;ReflectanceSpot;ReflectanceScan;AmbientLightSpot"],
            ["getIni", "World"], ["getIni", "KO"], ["setIni", "ok"], ["getIni", "gr\u00fcn"]])

        connection, window = app.window()
        self.assertIn("_NET_WM_STATE_MAXIMIZED_VERT", window_states(connection, window))
        self.assertIn("_NET_WM_STATE_MAXIMIZED_HORZ", window_states(connection, window))
        self.assertEqual(window.get_wm_class()[1], "VantrelNut")
        self.assertEqual(sorted(window_icon_sizes(connection, window)),
                         [(size, size) for size in ICON_SIZES])
        connection.close()

        self.close(app)
        trace = app.trace_lines()
        self.assertEqual(trace.count(RESET), 1)
        self.assertEqual(trace[-4:], ["I1_GetDevices", "I1_OpenDevice dev1", "I1_CloseDevice dev1", RESET])
        self.assertEqual(app.stderr.count("Disconnect"), 1)
        self.assertEqual(app.settings()["Hello"], "World")

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

    def test_page_comes_back_after_its_renderer_is_killed(self):
        app = self.start({"Server": calls_page(["getDeviceID"], ["setIni", "FromPage", "yes"])})
        self.assertEqual(app.results(), [["getDeviceID", "SIM0001"], ["setIni", "ok"]])
        renderers = renderer_processes(app.process.pid)
        self.assertTrue(renderers)
        for renderer in renderers:
            os.kill(renderer, signal.SIGKILL)

        self.assertEqual(app.wait_for_line("Renderer process ended: "),
                         "QWebEnginePage::KilledTerminationStatus 9")
        # The page runs again in a new renderer, and its calls are answered.
        self.assertEqual(app.results(), [["getDeviceID", "SIM0001"], ["setIni", "ok"]])
        self.close(app)
        self.assertEqual(app.stderr.count("Disconnect"), 1)
        self.assertEqual(app.trace_lines().count(RESET), 1)

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

    def test_no_instrument(self):
        app = self.start({"Server": calls_page(["isConnected"], ["getDeviceID"], ["Disconnect"])},
                         {"I1SIM_DEVICES": "0"})
        self.assertEqual(app.results(), [["isConnected", False], ["getDeviceID", ""], ["Disconnect", True]])
        self.close(app)
        trace = app.trace_lines()
        self.assertEqual(trace.count(RESET), 2)  # the page's Disconnect and the one on quit
        self.assertFalse([line for line in trace if line.startswith("I1_CloseDevice dev")])
        self.assertEqual(app.stderr[0], "No device connected")


if __name__ == "__main__":
    unittest.main()
