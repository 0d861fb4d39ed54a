#!/usr/bin/env python3
"""Draws the progress window's animation: a small worker sawing a log.

Writes a GIF89a of 93 x 107 pixels with a global table of 16 colours, 10 full frames of 80 ms,
disposal 2 (restore to background), colour 15 transparent, looping for ever.

    python3 tools/make_saw_gif.py ui/resources/saw.gif
"""
import math
import struct
import sys

WIDTH, HEIGHT, FRAMES, DELAY = 93, 107, 10, 8
TRANSPARENT = 15
PALETTE = [
    (0x00, 0x00, 0x00),  # 0 outline
    (0x5a, 0x36, 0x1a),  # 1 bark
    (0x8b, 0x5a, 0x2b),  # 2 wood
    (0xd9, 0xa8, 0x62),  # 3 cut face
    (0xf1, 0xc2, 0x9a),  # 4 skin
    (0x2f, 0x6f, 0xc9),  # 5 shirt
    (0x1f, 0x32, 0x6e),  # 6 trousers
    (0xb8, 0xbf, 0xc7),  # 7 blade
    (0x55, 0x55, 0x55),  # 8 handle, boots
    (0xff, 0xff, 0xff),  # 9 highlight
    (0xf2, 0xd2, 0x4b),  # 10 sawdust
    (0xc8, 0x2a, 0x2a),  # 11 cap
    (0x4f, 0x9a, 0x3a),  # 12 grass
    (0x2e, 0x63, 0x22),  # 13 dark grass
    (0x8f, 0x8f, 0x8f),  # 14 sawhorse
    (0xf0, 0xf0, 0xf0),  # 15 transparent: the window's face colour
]


class Canvas:
    def __init__(self):
        self.pixels = [[TRANSPARENT] * WIDTH for _ in range(HEIGHT)]

    def put(self, x, y, colour):
        if 0 <= x < WIDTH and 0 <= y < HEIGHT:
            self.pixels[y][x] = colour

    def rect(self, x0, y0, x1, y1, colour):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.put(x, y, colour)

    def disc(self, cx, cy, r, colour):
        for y in range(cy - r, cy + r + 1):
            for x in range(cx - r, cx + r + 1):
                if (x - cx) ** 2 + (y - cy) ** 2 <= r * r + r:
                    self.put(x, y, colour)

    def line(self, x0, y0, x1, y1, colour, width=1):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            x = round(x0 + (x1 - x0) * i / steps)
            y = round(y0 + (y1 - y0) * i / steps)
            half = width // 2
            self.rect(x - half, y - half, x - half + width - 1, y - half + width - 1, colour)


def frame(n):
    c = Canvas()
    phase = math.sin(2 * math.pi * n / FRAMES)  # the saw goes back and forth once a cycle
    stroke = round(9 * phase)
    # ground
    c.rect(0, 98, WIDTH - 1, 101, 12)
    for x in range(0, WIDTH, 6):
        c.line(x, 98, x + 2, 95, 13)
    # sawhorse
    for x0 in (46, 80):
        c.line(x0 - 6, 97, x0, 76, 14, 2)
        c.line(x0 + 6, 97, x0, 76, 14, 2)
    # log lying on the sawhorse, its cut face towards the viewer
    c.rect(38, 66, 90, 77, 2)
    c.line(38, 66, 90, 66, 1)
    c.line(38, 77, 90, 77, 1)
    for x in range(42, 90, 7):
        c.line(x, 69, x + 4, 69, 1)
    c.disc(38, 71, 6, 3)
    c.disc(38, 71, 2, 2)
    # the cut the saw has made
    c.line(62, 66, 62, 71, 0)
    # worker: boots, legs, body, head with cap
    c.rect(10, 95, 16, 97, 8)
    c.rect(22, 95, 28, 97, 8)
    c.line(14, 94, 18, 72, 6, 3)
    c.line(25, 94, 21, 72, 6, 3)
    lean = round(2 * phase)
    c.line(19 + lean, 72, 21 + lean, 48, 5, 6)
    c.disc(22 + lean, 40, 7, 4)
    c.put(25 + lean, 39, 0)
    c.rect(15 + lean, 31, 28 + lean, 35, 11)
    c.rect(26 + lean, 34, 32 + lean, 35, 11)
    # saw: handle in the worker's hands, blade across the log at the cut
    hand_x, hand_y = 40 + stroke, 58
    c.line(22 + lean, 52, hand_x, hand_y, 4, 3)  # arm
    c.rect(hand_x - 3, hand_y - 4, hand_x + 2, hand_y + 3, 8)  # handle
    c.line(hand_x + 2, hand_y + 1, hand_x + 40, 67, 7, 4)  # blade
    for t in range(4, 40, 4):  # teeth
        x = hand_x + 2 + t
        y = round(hand_y + 1 + (67 - hand_y - 1) * t / 38) + 2
        c.put(x, y, 8)
    c.line(hand_x + 4, hand_y - 1, hand_x + 36, 64, 9)
    # sawdust falling below the cut, a little lower every frame
    for k in range(5):
        y = 79 + (n * 2 + k * 4) % 18
        x = 60 + ((k * 37 + n * 3) % 7) - 3
        c.put(x, y, 10)
        c.put(x + 1, y, 10)
    return c.pixels


def lzw(indices, min_code_size=4):
    clear, end = 1 << min_code_size, (1 << min_code_size) + 1
    table = {bytes([i]): i for i in range(clear)}
    next_code, width = end + 1, min_code_size + 1
    bits, nbits, out = 0, 0, bytearray()

    def emit(code):
        nonlocal bits, nbits
        bits |= code << nbits
        nbits += width
        while nbits >= 8:
            out.append(bits & 0xFF)
            bits >>= 8
            nbits -= 8

    emit(clear)
    current = b""
    for value in indices:
        candidate = current + bytes([value])
        if candidate in table:
            current = candidate
            continue
        emit(table[current])
        if next_code < 4096:
            table[candidate] = next_code
            next_code += 1
            if next_code > (1 << width) and width < 12:
                width += 1
        else:
            emit(clear)
            table = {bytes([i]): i for i in range(clear)}
            next_code, width = end + 1, min_code_size + 1
        current = bytes([value])
    if current:
        emit(table[current])
    emit(end)
    if nbits:
        out.append(bits & 0xFF)
    return bytes(out)


def sub_blocks(data):
    out = bytearray()
    for i in range(0, len(data), 255):
        chunk = data[i:i + 255]
        out.append(len(chunk))
        out += chunk
    out.append(0)
    return bytes(out)


def main(path):
    gif = bytearray(b"GIF89a")
    gif += struct.pack("<HHBBB", WIDTH, HEIGHT, 0xF3, TRANSPARENT, 0)  # global table of 16
    for r, g, b in PALETTE:
        gif += bytes((r, g, b))
    gif += b"\x21\xFF\x0BNETSCAPE2.0\x03\x01" + struct.pack("<H", 0) + b"\x00"  # loop for ever
    for n in range(FRAMES):
        pixels = frame(n)
        gif += b"\x21\xF9\x04" + bytes([(2 << 2) | 1]) + struct.pack("<H", DELAY) + bytes([TRANSPARENT, 0])
        gif += b"\x2C" + struct.pack("<HHHHB", 0, 0, WIDTH, HEIGHT, 0)
        gif += bytes([4]) + sub_blocks(lzw([v for row in pixels for v in row]))
    gif += b"\x3B"
    with open(path, "wb") as f:
        f.write(gif)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "saw.gif")
