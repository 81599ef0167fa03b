"""The Windows executable's resources: the icon file, the manifest, and the
resource script as the MinGW resource compiler builds it with the build's
version header, read back from its binary form."""

import os
import re
import shutil
import struct
import subprocess
import tempfile
import unittest
import xml.etree.ElementTree as ElementTree
from pathlib import Path

SOURCE = Path(__file__).resolve().parents[2]
APP = SOURCE / "app" / "main"
ICONS = SOURCE / "data" / "icons"
BUILD = Path(os.environ.get("VANTRELNUT_BUILD", "build"))
ICON_SIZES = [256, 128, 64, 48, 32, 16]
PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"
WINDRES = "x86_64-w64-mingw32-windres"
RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 14, 16, 24


def icon_images(data):
    """(width, height, bits per pixel, image bytes) for each image of an .ico."""
    reserved, kind, count = struct.unpack_from("<HHH", data)
    assert (reserved, kind) == (0, 1), "not an icon file"
    images = []
    for index in range(count):
        width, height, _, _, _, bits, size, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * index)
        images.append((width or 256, height or 256, bits, data[offset:offset + size]))
    return images


def image_format(image):
    """(kind, width, height, bits per pixel) read from the image's own header."""
    if image.startswith(PNG_SIGNATURE):
        width, height, depth, colour_type = struct.unpack_from(">IIBB", image, 16)
        return "png", width, height, depth * {6: 4, 2: 3}.get(colour_type, 1)
    header_size, width, double_height, _, bits = struct.unpack_from("<IiiHH", image)
    assert header_size == 40, "not a bitmap"
    return "bmp", width, double_height // 2, bits


class IconTest(unittest.TestCase):
    def test_six_square_images_at_32_bits(self):
        images = icon_images((ICONS / "vantrelnut.ico").read_bytes())
        self.assertEqual(sorted(((w, h, bits) for w, h, bits, _ in images), reverse=True),
                         [(size, size, 32) for size in ICON_SIZES])
        for width, height, bits, image in images:
            kind, *header = image_format(image)
            self.assertEqual(header, [width, height, bits], f"{width} px {kind}")
            if kind == "bmp":
                # Colour pixels, then the 1-bit mask in rows of whole 32-bit words.
                mask_row = (width + 31) // 32 * 4
                self.assertEqual(len(image), 40 + width * height * 4 + mask_row * height)

    def test_images_are_the_rendered_source(self):
        images = {w: image for w, _, _, image in icon_images((ICONS / "vantrelnut.ico").read_bytes())}
        self.assertEqual(images[256], (ICONS / "vantrelnut-256.png").read_bytes())


class ManifestTest(unittest.TestCase):
    V1 = "{urn:schemas-microsoft-com:asm.v1}"
    V3 = "{urn:schemas-microsoft-com:asm.v3}"

    def setUp(self):
        self.manifest = ElementTree.parse(APP / "vantrelnut.manifest").getroot()

    def test_runs_with_the_callers_rights(self):
        levels = self.manifest.findall(f"{self.V3}trustInfo/{self.V3}security/{self.V3}requestedPrivileges/"
                                       f"{self.V3}requestedExecutionLevel")
        self.assertEqual([(e.get("level"), e.get("uiAccess")) for e in levels], [("asInvoker", "false")])

    def test_depends_on_common_controls_6(self):
        identities = self.manifest.findall(f"{self.V1}dependency/{self.V1}dependentAssembly/{self.V1}assemblyIdentity")
        self.assertEqual([{k: e.get(k) for k in ("type", "name", "version", "publicKeyToken")} for e in identities],
                         [{"type": "win32", "name": "Microsoft.Windows.Common-Controls",
                           "version": "6.0.0.0", "publicKeyToken": "6595b64144ccf1df"}])


def read_resources(data):
    """{(type, name): bytes} from a compiled .res file; names are numbers or texts."""
    def identifier(offset):
        if struct.unpack_from("<H", data, offset)[0] == 0xFFFF:
            return struct.unpack_from("<H", data, offset + 2)[0], offset + 4
        end = offset
        while data[end:end + 2] != b"\0\0":
            end += 2
        return data[offset:end].decode("utf-16-le"), end + 2

    resources, offset = {}, 0
    while offset < len(data):
        data_size, header_size = struct.unpack_from("<II", data, offset)
        kind, after_kind = identifier(offset + 8)
        name, _ = identifier(after_kind)
        start = offset + header_size
        if data_size:
            resources[kind, name] = data[start:start + data_size]
        offset = (start + data_size + 3) & ~3
    return resources


@unittest.skipUnless(shutil.which(WINDRES), f"no {WINDRES}")
class CompiledResourcesTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        with tempfile.TemporaryDirectory() as scratch:
            compiled = Path(scratch) / "vantrelnut.res"
            # Its version header from the build, the rest from the repository's root.
            subprocess.run([WINDRES, "-I", str(BUILD), "-I", str(SOURCE),
                            "-O", "res", "-o", str(compiled), str(APP / "vantrelnut.rc")],
                           check=True, cwd=APP)
            cls.resources = read_resources(compiled.read_bytes())

    def test_icon_group_holds_the_icon_files_images(self):
        group = self.resources[RT_GROUP_ICON, "IDI_ICON1"]
        count = struct.unpack_from("<HHH", group)[2]
        entries = [struct.unpack_from("<BBBBHHIH", group, 6 + 14 * i) for i in range(count)]
        file_images = icon_images((ICONS / "vantrelnut.ico").read_bytes())
        self.assertEqual([(w or 256, h or 256, bits) for w, h, _, _, _, bits, _, _ in entries],
                         [(w, h, bits) for w, h, bits, _ in file_images])
        self.assertEqual([self.resources[RT_ICON, icon_id] for *_, icon_id in entries],
                         [image for *_, image in file_images])

    def test_manifest_is_the_applications(self):
        self.assertEqual(self.resources[RT_MANIFEST, 1], (APP / "vantrelnut.manifest").read_bytes())

    def test_version_record_is_the_projects(self):
        # Four numbers, those the project's version leaves out 0: 0.0.0.0 for 0.0.0.
        cache = (BUILD / "CMakeCache.txt").read_text()
        version = re.search(r"^CMAKE_PROJECT_VERSION:STATIC=(.*)$", cache, re.MULTILINE).group(1)
        numbers = ([int(part) for part in version.split(".")] + [0, 0, 0])[:4]
        record = self.resources[RT_VERSION, 1]
        fixed = record.index(struct.pack("<I", 0xFEEF04BD))
        file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<IIII", record, fixed + 8)
        halves = (numbers[0] << 16 | numbers[1], numbers[2] << 16 | numbers[3])
        self.assertEqual((file_ms, file_ls, product_ms, product_ls), halves * 2)
        # The texts FileVersion and ProductVersion say the same.
        text = ".".join(map(str, numbers)) + "\0"
        self.assertEqual(record.count(text.encode("utf-16-le")), 2)


if __name__ == "__main__":
    unittest.main()
