"""The real executable's command line: --help, --version and an unknown
option answered before anything starts, and the browser engine's switch after
--webEngineArgs (or its variable) opening the developer tools on the page."""

import json
import re
import socket
import unittest
import urllib.request

from Xlib import X, display as xdisplay

from downloads_page import DownloadsPageTestCase
from harness import App, Display, project_version


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


class CommandLineTest(DownloadsPageTestCase):
    def test_developer_tools_list_the_page(self):
        # Asked for by the variable, or by the engine's switch on the command
        # line, beside one of Qt's own options.
        for name, environment, arguments in (
                ("variable", {"QTWEBENGINE_REMOTE_DEBUGGING": "{port}"}, []),
                ("switch", {}, ["-style", "Fusion", "--webEngineArgs", "--remote-debugging-port={port}"])):
            with self.subTest(name):
                port = free_port()
                page = self.page(title="Console")
                app = self.start({"Server": page}, {k: v.format(port=port) for k, v in environment.items()},
                                 name, arguments=[a.format(port=port) for a in arguments])
                app.wait_for_line("js: LOADED")
                with urllib.request.urlopen(f"http://127.0.0.1:{port}/json", timeout=10) as answer:
                    targets = json.load(answer)
                self.assertIn((page, "page"), [(target["url"], target["type"]) for target in targets])
                self.close(app)

    def test_version_names_the_engine_that_runs(self):
        # What --version names against what the running engine tells its
        # developer tools: "QtWebEngine/6.8.2 Chrome/122.0.6261.171".
        named = self.version_lines()
        port = free_port()
        app = self.start({"Server": self.page(title="Console")}, {"QTWEBENGINE_REMOTE_DEBUGGING": str(port)})
        app.wait_for_line("js: LOADED")
        with urllib.request.urlopen(f"http://127.0.0.1:{port}/json/version", timeout=10) as version:
            agent = json.load(version)["User-Agent"]
        self.close(app)
        engine, chromium = re.search(r"QtWebEngine/([\d.]+) Chrome/([\d.]+)", agent).groups()
        # Later engines tell only the major version there: "Chrome/140.0.0.0".
        chromium = re.escape(chromium) if not chromium.endswith(".0.0.0") \
            else re.escape(chromium.removesuffix("0.0.0")) + r"\d+\.\d+\.\d+"
        self.assertEqual(named[0], f"vantrelnut {project_version()}")
        self.assertRegex(named[1], rf"^Qt \d+\.\d+\.\d+, QtWebEngine {re.escape(engine)}, "
                                   rf"Chromium {chromium}( \(security fixes up to [\d.]+\))?$")

    def test_command_line_answered_before_anything_starts(self):
        # On a display of its own, where nothing else makes windows, every
        # window made is heard of, also one gone again.
        display = Display(window_manager=False)
        self.addCleanup(display.close)
        watch = xdisplay.Display(display.name)
        self.addCleanup(watch.close)
        watch.screen().root.change_attributes(event_mask=X.SubstructureNotifyMask)
        watch.sync()
        for arguments, code, output, error in (
                (["--help"], 0, "Usage: ", ""),
                (["--version"], 0, f"vantrelnut {project_version()}\n", ""),
                (["-style", "Fusion", "--frobnicate"], 1, "",
                 "vantrelnut: Unknown option 'frobnicate'.\n\nUsage: ")):
            with self.subTest(arguments):
                app = App(display, self.folder / arguments[-1].strip("-"), arguments=arguments)
                self.addCleanup(app.stop)
                self.assertEqual(app.wait(), code)
                written, errors = bytes(app.stdout).decode(), "\n".join(app.stderr)
                self.assertTrue(written.startswith(output) and bool(written) == bool(output), written)
                self.assertTrue(errors.startswith(error) and bool(errors) == bool(error), errors)
                watch.sync()
                made = [watch.next_event() for _ in range(watch.pending_events())]
                self.assertFalse([event for event in made if event.type == X.CreateNotify])
                # No settings, no instance lock, no call to the instrument.
                self.assertFalse(app.ini.parent.exists())
                self.assertEqual(list((app.home / "runtime").glob("vantrelnut*")), [])
                self.assertEqual(app.trace_lines(), [])


if __name__ == "__main__":
    unittest.main()
