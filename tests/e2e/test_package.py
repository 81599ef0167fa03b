"""The Debian package: built with CPack from the build folder, listed,
checked as a distribution's maintainer checks it (lintian, the software-centre
entry, the manual page), unpacked into a scratch folder, moved, and started
from there under Xvfb with the bundled console page, as a person who unpacks
it would."""

import gzip
import os
import re
import shutil
import subprocess
import tempfile
import unittest
import xml.etree.ElementTree as ElementTree
from pathlib import Path

from harness import BUILD, ICON_SIZES, AppTestCase

SOURCE = Path(__file__).resolve().parents[2]
METAINFO = "usr/share/metainfo/example.vantrel.vantrelnut.metainfo.xml"
MANUAL = "usr/share/man/man1/vantrelnut.1.gz"
CHECK_RUNPATHS = Path(__file__).resolve().parent.parent / "support" / "check-runpaths"
QT = os.environ.get("VANTRELNUT_QT", "6")
# The Qt libraries the executable links, as Debian names their packages.
QT_PACKAGES = {
    "5": {"libqt5core5", "libqt5webenginewidgets5", "libqt5webchannel5", "libqt5network5",
          "libqt5printsupport5"},
    "6": {"libqt6core6", "libqt6webenginewidgets6", "libqt6webchannel6", "libqt6network6",
          "libqt6printsupport6"},
}
PACKAGED_FILES = {
    "usr/bin/vantrelnut",
    "usr/lib/vantrelnut/libi1sim.so",
    "usr/lib/vantrelnut/i1simctl",
    "usr/share/applications/vantrelnut.desktop",
    "usr/share/icons/hicolor/scalable/apps/vantrelnut.svg",
    METAINFO,
    MANUAL,
    "usr/share/doc/vantrelnut/copyright",
    "usr/share/doc/vantrelnut/changelog.gz",
    "usr/share/vantrelnut/translations/vantrelnut_de.qm",
    "usr/share/vantrelnut/translations/vantrelnut_fr.qm",
} | {f"usr/share/icons/hicolor/{size}x{size}/apps/vantrelnut.png" for size in ICON_SIZES}


def run(*command):
    done = subprocess.run([str(part) for part in command], capture_output=True, text=True)
    if done.returncode:
        raise AssertionError(f"{command[0]} failed:\n{done.stdout}{done.stderr}")
    return done.stdout


class PackageTest(AppTestCase):
    @classmethod
    def setUpClass(cls):
        cls.scratch = Path(tempfile.mkdtemp(prefix="vantrelnut-package-"))
        if not os.environ.get("KEEP_E2E"):
            cls.addClassCleanup(shutil.rmtree, cls.scratch, ignore_errors=True)
        run("cpack", "-G", "DEB", "--config", BUILD / "CPackConfig.cmake", "-B", cls.scratch)
        cls.package, = cls.scratch.glob("vantrelnut_*.deb")
        super().setUpClass()  # the display, once there is a package to start

    def unpack(self):
        tree = self.folder / "unpacked"
        run("dpkg-deb", "--extract", self.package, tree)
        return tree

    def test_files_and_dependencies(self):
        listing = run("dpkg-deb", "--contents", self.package).splitlines()
        files = {line.split()[-1].removeprefix("./") for line in listing if line.startswith("-")}
        self.assertEqual(files, PACKAGED_FILES)

        depends = run("dpkg-deb", "--field", self.package, "Depends")
        # Debian 13 names the libraries built with a 64-bit time_t with a "t64" suffix,
        # which replaced the "a" of Debian 12's libqt5core5a.
        packages = {re.sub(r"t64$|(?<=^libqt5core5)a$", "", alternative.split()[0])
                    for clause in depends.split(",") for alternative in clause.split("|")}
        self.assertTrue({"libc6"} | QT_PACKAGES[QT] <= packages, depends)
        other_qt = {package for package in packages if package.startswith("libqt") and f"qt{QT}" not in package}
        self.assertFalse(other_qt, depends)
        # Qt's translations, the engine's included, for the dialogs and menus.
        recommends = run("dpkg-deb", "--field", self.package, "Recommends").strip()
        self.assertEqual(recommends, {"5": "qttranslations5-l10n", "6": "qt6-translations-l10n"}[QT])

    def test_desktop_entry_names_the_executable_and_an_installed_icon(self):
        tree = self.unpack()
        entry = tree / "usr/share/applications/vantrelnut.desktop"
        run("desktop-file-validate", entry)
        fields = dict(line.split("=", 1) for line in entry.read_text().splitlines() if "=" in line)
        self.assertTrue((tree / "usr/bin" / fields["Exec"]).is_file())
        for size in ICON_SIZES:
            icon = tree / f"usr/share/icons/hicolor/{size}x{size}/apps/{fields['Icon']}.png"
            self.assertEqual(png_size(icon), (size, size))
        # The window's class, which the desktop matches with this entry.
        self.assertEqual(fields["StartupWMClass"], "VantrelNut")

    def test_lintian_finds_no_error_or_warning(self):
        checked = subprocess.run(["lintian", "--fail-on", "error,warning", self.package],
                                 capture_output=True, text=True)
        self.assertEqual(checked.returncode, 0, checked.stdout + checked.stderr)
        self.assertNotRegex(checked.stdout, r"(?m)^[EW]: ")
        # No maintainer scripts: the only library is private, so ldconfig has nothing to do.
        control = run("dpkg-deb", "--info", self.package)
        self.assertNotIn("postinst", control)
        self.assertNotIn("postrm", control)

    def test_changelog_and_executable_carry_the_package_version(self):
        tree = self.unpack()
        version = run("dpkg-deb", "--field", self.package, "Version").strip()
        changelog = gzip.decompress((tree / "usr/share/doc/vantrelnut/changelog.gz").read_bytes())
        self.assertTrue(changelog.startswith(f"vantrelnut ({version}) ".encode()), changelog)
        answer = run(tree / "usr/bin/vantrelnut", "--version")
        self.assertEqual(answer.splitlines()[0], f"vantrelnut {version}")
        self.assertIn("All rights reserved.", (tree / "usr/share/doc/vantrelnut/copyright").read_text())

    def test_software_centre_entry(self):
        tree = self.unpack()
        validated = subprocess.run(["appstreamcli", "validate", "--no-net", tree / METAINFO],
                                   capture_output=True, text=True)
        self.assertEqual(validated.returncode, 0, validated.stdout + validated.stderr)
        self.assertNotRegex(validated.stdout, r"(?m)^[EW]: ")
        entry = ElementTree.parse(tree / METAINFO).getroot()
        self.assertTrue((tree / "usr/share/applications" / entry.findtext("launchable")).is_file())
        self.assertEqual(entry.findtext("provides/binary"), "vantrelnut")
        # The screenshot is published from the repository's copy, the demo's.
        image = entry.find("screenshots/screenshot/image")
        committed = SOURCE / "data/screenshots" / Path(image.text).name
        self.assertEqual(png_size(committed), (int(image.get("width")), int(image.get("height"))))

    def test_manual_page_reads_with_man(self):
        tree = self.unpack()
        shown = subprocess.run(["man", "--warnings", "-l", tree / MANUAL], capture_output=True, text=True,
                               env=dict(os.environ, MANWIDTH="80", MAN_KEEP_FORMATTING="", PAGER="cat"))
        self.assertEqual((shown.returncode, shown.stderr), (0, ""))
        text = " ".join(shown.stdout.split())  # as justified, words stand apart by several spaces
        self.assertIn("vantrelnut - desktop shell of the Mird", text)
        # Every option, and every key of the README's settings table.
        readme = (SOURCE / "README.md").read_text()
        settings = readme.split("\n## Settings\n")[1].split("\n## ")[0]
        for word in ["--help", "--version", "--verbose", "--webEngineArgs", "QTWEBENGINE_REMOTE_DEBUGGING",
                     "https_proxy", "Mird.ini", "vantrelnut.lock", "vantrelnut.log", "XDG_STATE_HOME",
                     "AT-SPI"] + re.findall(r"(?m)^\| `(\w+)`", settings):
            self.assertIn(word, text)

    def test_unpacked_tree_runs_wherever_it_lies(self):
        moved = self.folder / "somewhere" / "else"
        moved.parent.mkdir()
        self.unpack().rename(moved)
        executable = moved / "usr/bin/vantrelnut"
        app = self.start({"Server": "qrc:/console/index.html"}, executable=executable,
                         environment={"LD_LIBRARY_PATH": ""})
        app.wait_for_line("js: Connected to vizEveDivuzaviz.")
        maps = Path(f"/proc/{app.process.pid}/maps").read_text()
        self.assertIn(str(moved / "usr/lib/vantrelnut/libi1sim.so"), maps)
        self.assertIn("I1_OpenDevice dev1", app.trace_lines())
        status = subprocess.run([moved / "usr/lib/vantrelnut/i1simctl", "status"], capture_output=True,
                                text=True, env=dict(os.environ, XDG_RUNTIME_DIR=str(app.home / "runtime")))
        self.assertEqual(status.returncode, 0, status.stderr)
        self.assertIn("  I1_OpenDevice dev1\n", status.stdout)
        self.close(app)


    def test_no_run_path_looks_in_the_working_folder(self):
        # The build tree's programs run in place with the run path they are
        # installed with, so neither has an entry left empty for rewriting.
        run(CHECK_RUNPATHS, BUILD / "bin", BUILD / "lib", self.unpack())


def png_size(path):
    header = Path(path).read_bytes()[:24]
    assert header[:8] == b"\x89PNG\r\n\x1a\n", path
    return int.from_bytes(header[16:20], "big"), int.from_bytes(header[20:24], "big")


if __name__ == "__main__":
    unittest.main()
