#!/usr/bin/env python3
"""Packs PNG pictures into one Windows icon file (.ico), each kept as PNG, as Windows Vista and
later read them. The sizes come from the pictures themselves; 256 pixels is written as 0, as the
format has a byte for it.

    python3 tools/make_ico.py OUT.ico IN-16.png IN-32.png ...
"""
import struct
import sys


def png_size(data, name):
    if data[:8] != b"\x89PNG\r\n\x1a\n" or data[12:16] != b"IHDR":
        sys.exit(f"{name}: not a PNG picture")
    width, height = struct.unpack(">II", data[16:24])
    if not (1 <= width <= 256 and 1 <= height <= 256):
        sys.exit(f"{name}: {width} x {height} pixels do not fit an icon")
    return width, height


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    pictures = []
    for name in sys.argv[2:]:
        with open(name, "rb") as f:
            data = f.read()
        pictures.append((png_size(data, name), data))
    pictures.sort(key=lambda p: p[0])
    out = bytearray(struct.pack("<HHH", 0, 1, len(pictures)))
    offset = 6 + 16 * len(pictures)
    for (width, height), data in pictures:
        # width, height, colours in a palette (none), reserved, planes, bits per pixel, bytes, offset
        out += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, data in pictures:
        out += data
    with open(sys.argv[1], "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
