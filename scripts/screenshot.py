#!/usr/bin/python3
"""screenshot.py <file.png>: saves the whole X screen of $DISPLAY as a PNG."""

import struct
import sys
import zlib

from Xlib import X, display


def png(width, height, rows):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))
    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    raw = b"".join(b"\0" + row for row in rows)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(raw, 6)) + chunk(b"IEND", b""))


def main(path):
    screen = display.Display().screen()
    width, height = screen.width_in_pixels, screen.height_in_pixels
    image = screen.root.get_image(0, 0, width, height, X.ZPixmap, 0xFFFFFFFF)
    pixels = image.data  # BGRX, four bytes a pixel
    rows = []
    for y in range(height):
        line = pixels[y * width * 4:(y + 1) * width * 4]
        rgb = bytearray(width * 3)
        rgb[0::3], rgb[1::3], rgb[2::3] = line[2::4], line[1::4], line[0::4]
        rows.append(bytes(rgb))
    with open(path, "wb") as output:
        output.write(png(width, height, rows))


if __name__ == "__main__":
    main(sys.argv[1])
