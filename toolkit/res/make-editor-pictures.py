#!/usr/bin/env python3
"""Writes the button image editor's pictures: the tool-bar strips (24-bit on silver and 32-bit
with alpha, sixteen 16 x 16 pictures) and the four 32 x 32 cursors. Run it here after a change."""
import math
import struct

W, H = 256, 16
INK = (32, 32, 32)
BLUE = (0, 64, 192)


def strip():
    px = [[None] * W for _ in range(H)]

    def put(i, x, y, colour=INK):
        if 0 <= x < 16 and 0 <= y < 16:
            px[y][i * 16 + x] = colour

    def line(i, x0, y0, x1, y1, colour=INK):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for s in range(steps + 1):
            put(i, round(x0 + (x1 - x0) * s / steps), round(y0 + (y1 - y0) * s / steps), colour)

    def rect(i, l, t, r, b, colour=INK, fill=None):
        for y in range(t, b + 1):
            for x in range(l, r + 1):
                if y in (t, b) or x in (l, r):
                    put(i, x, y, colour)
                elif fill:
                    put(i, x, y, fill)

    def arrow(i, dx, dy):
        for k in range(7):
            for w in range(-k // 2 - 1, k // 2 + 2):
                if dx:
                    put(i, 8 + dx * (4 - k), 8 + w)
                else:
                    put(i, 8 + w, 8 + dy * (4 - k))
        for k in range(4, 10):
            for w in (-1, 0, 1):
                if dx:
                    put(i, 8 - dx * (k - 4), 8 + w)
                else:
                    put(i, 8 + w, 8 - dy * (k - 4))

    # 0 pencil, 1 fill, 2 undo, 3 redo, 4 pick, 5 line, 6 copy, 7 paste, 8 rectangle,
    # 9 ellipse, 10 clear, 11 import, 12-15 move left, down, up, right.
    for d in (0, 1):
        line(0, 3, 12 - d, 12, 3 - d)
    line(0, 2, 13, 3, 13, BLUE)
    rect(1, 3, 6, 11, 13, INK, BLUE)
    line(1, 12, 4, 13, 9, BLUE)
    for i, direction in ((2, -1), (3, 1)):
        for k in range(8):
            put(i, 8 + direction * (k - 4), 10 - int(3 * math.sin(k * math.pi / 7)))
        line(i, 8 + direction * 3, 3, 8 + direction * 4, 6)
        line(i, 8 + direction * 1, 6, 8 + direction * 4, 6)
    line(4, 2, 13, 10, 5)
    rect(4, 10, 2, 13, 5, INK, INK)
    line(5, 2, 13, 13, 2)
    rect(6, 2, 2, 9, 10)
    rect(6, 6, 5, 13, 13, INK, (255, 255, 255))
    rect(7, 3, 3, 12, 14, INK, (224, 200, 128))
    rect(7, 6, 1, 9, 4, INK, INK)
    rect(8, 2, 3, 13, 12)
    for a in range(64):
        t = a * math.pi / 32
        put(9, round(7.5 + 6 * math.cos(t)), round(7.5 + 5 * math.sin(t)))
    for d in (0, 1):
        line(10, 3 + d, 3, 12 + d, 12, (192, 0, 0))
        line(10, 12 + d, 3, 3 + d, 12, (192, 0, 0))
    rect(11, 1, 5, 14, 13, INK, (240, 208, 96))
    rect(11, 1, 3, 6, 5, INK, (240, 208, 96))
    arrow(12, -1, 0)
    arrow(13, 0, 1)
    arrow(14, 0, -1)
    arrow(15, 1, 0)
    return px


def bmp(path, px, bits):
    rows = []
    for y in range(H - 1, -1, -1):
        row = b""
        for x in range(W):
            c = px[y][x]
            if bits == 24:
                c = c or (192, 192, 192)
                row += bytes((c[2], c[1], c[0]))
            else:
                row += bytes((c[2], c[1], c[0], 255)) if c else bytes(4)
        rows.append(row)
    data = b"".join(rows)
    header = struct.pack("<IiiHHIIiiII", 40, W, H, 1, bits, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", 14 + 40 + len(data), 0, 0, 54) + header + data)


def cursor(path, hotspot, draw):
    black = [[False] * 32 for _ in range(32)]
    draw(black)
    xor = b"".join(bytes(4) for _ in range(32))
    mask = b""
    for y in range(31, -1, -1):
        bits = 0
        for x in range(32):
            if not black[y][x]:
                bits |= 1 << (31 - x)
        mask += struct.pack(">I", bits)
    header = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 1, 0, len(xor) + len(mask), 0, 0, 2, 0)
    image = header + bytes((0, 0, 0, 0, 255, 255, 255, 0)) + xor + mask
    with open(path, "wb") as f:
        f.write(struct.pack("<HHH", 0, 2, 1))
        f.write(struct.pack("<BBBBHHII", 32, 32, 0, 0, hotspot[0], hotspot[1], len(image), 22))
        f.write(image)


def cross(b):
    for k in range(4, 28):
        if abs(k - 15) > 1:
            b[15][k] = b[k][15] = True


def diagonal(b, width, end):
    for k in range(end):
        for w in range(width):
            if 0 <= k + w < 32:
                b[31 - k][k + w] = True


def bucket(b):
    for y in range(12, 30):
        for x in range(2, 20):
            if y in (12, 29) or x in (2, 19):
                b[y][x] = True
    for y in range(4, 14):
        b[y][22] = True


if __name__ == "__main__":
    px = strip()
    bmp("editor-tools.bmp", px, 24)
    bmp("editor-tools32.bmp", px, 32)
    cursor("editor-shape.cur", (15, 15), cross)
    cursor("editor-pick.cur", (0, 31), lambda b: diagonal(b, 2, 20))
    cursor("editor-fill.cur", (2, 29), bucket)
    cursor("editor-pencil.cur", (0, 31), lambda b: diagonal(b, 3, 16))
