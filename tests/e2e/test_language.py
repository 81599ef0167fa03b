"""The person's language: Qt's own texts and the shell's in it, the web
application asked for in it (or in the deployer's languages), and what the
system fixes, standard error's lines, as written in every language."""

import json
import os
import re
import shutil
import subprocess
import tempfile
import unittest
import xml.etree.ElementTree as ElementTree
from pathlib import Path

from harness import EXECUTABLE, AppTestCase, QuietHandler

SOURCE = Path(__file__).resolve().parents[2]
PAGE = b"""<!DOCTYPE html><html><head><meta charset="utf-8"><title>Mird</title></head>
<body><script>console.log("LANGUAGES " + JSON.stringify(navigator.languages));</script></body></html>"""


class LanguageHandler(QuietHandler):
    """Records the Accept-Language of every request."""

    def do_GET(self):
        self.server.accepted.append(self.headers.get("Accept-Language"))
        self.send_body(PAGE, "text/html; charset=utf-8")


def desktop(language, languages=None):
    """The environment of a desktop in that locale, with LANGUAGE's list if given."""
    return {"LANG": language, "LC_ALL": "", "LANGUAGE": languages or ""}


class LanguageTest(AppTestCase):
    window_manager = False

    def test_shell_and_page_follow_the_language(self):
        rows = [
            ("German desktop", desktop("de_DE.UTF-8"), {}, "Nicht erreichbar: ",
             "de-DE,de;q=0.9", ["de-DE", "de"]),
            ("French first in the list", desktop("de_DE.UTF-8", "fr_CH:fr"), {}, "Inaccessible\u00a0: ",
             "fr-CH,fr;q=0.9,", ["fr-CH", "fr"]),
            ("the deployer's languages", desktop("de_DE.UTF-8"), {"Languages": "it-CH, it"},
             "Nicht erreichbar: ", "it-CH,it;q=0.9", ["it-CH", "it"]),
        ]
        for row, environment, settings, title, accepted, languages in rows:
            with self.subTest(row):
                server = self.serve(LanguageHandler, late=True, accepted=[])
                app = self.start({"Server": server.url(), **settings}, environment, name=row)
                # Standard error as written, the waiting page in the language.
                self.assertEqual(app.wait_for_line(f"Could not load {server.url()}: "),
                                 "the server refused the connection")
                app.window(title=title + server.url())

                server.come_up()
                self.assertEqual(json.loads(app.wait_for_line("js: LANGUAGES "))[:2], languages)
                self.assertTrue(server.accepted[0].startswith(accepted), server.accepted)
                self.close(app)

    def test_help_in_the_language(self):
        for environment, usage, ours in [
                (desktop("C.UTF-8"), "Usage: ", "Shows the version and exits."),
                (desktop("de_DE.UTF-8"), "Aufruf: ", "Zeigt die Version an und beendet das Programm."),
                (desktop("de_DE.UTF-8", "fr"), "Utilisation : ", "Affiche la version et quitte.")]:
            with self.subTest(environment):
                shown = subprocess.run([EXECUTABLE, "--help"], capture_output=True, text=True,
                                       env=dict(os.environ, **environment))
                self.assertEqual(shown.returncode, 0, shown.stderr)
                # Qt's own words (the usage), and the shell's.
                # Qt 6.8's French puts a no-break space before the colon.
                self.assertTrue(shown.stdout.replace("\u00a0", " ").startswith(usage), shown.stdout)
                self.assertIn(ours, shown.stdout)


class TranslationSourcesTest(unittest.TestCase):
    """The .ts files hold every text of the shell's, each translated, and
    none of the report downloader's fixed "DownloadManager" texts."""

    def messages(self, ts):
        root = ElementTree.parse(ts).getroot()
        return {(context.findtext("name"), message.findtext("source")): message.find("translation")
                for context in root.iter("context") for message in context.iter("message")}

    def test_every_text_translated(self):
        lupdate = os.environ.get("VANTRELNUT_LUPDATE", "/usr/lib/qt6/bin/lupdate")
        scratch = Path(tempfile.mkdtemp(prefix="vantrelnut-ts-"))
        self.addCleanup(shutil.rmtree, scratch, ignore_errors=True)
        for ts in sorted((SOURCE / "translations").glob("vantrelnut_*.ts")):
            with self.subTest(ts.name):
                committed = self.messages(ts)
                updated = scratch / ts.name
                shutil.copy(ts, updated)
                subprocess.run([lupdate, "-silent", "-locations", "none", "-no-obsolete",
                                SOURCE / "app", SOURCE / "download" / "reportfailure.cpp", "-ts", updated], check=True)
                self.assertEqual(set(self.messages(updated)), set(committed),
                                 "run scripts/update-translations and translate what is new")
                unfinished = [source for source, translation in committed.items()
                              if translation.get("type") or not (translation.text or "").strip()]
                self.assertEqual(unfinished, [])
                self.assertFalse([source for source in committed if source[0] == "DownloadManager"])
                language = ElementTree.parse(ts).getroot().get("language")
                self.assertEqual(committed[("UnreachablePage", "en")].text, language)


if __name__ == "__main__":
    unittest.main()
