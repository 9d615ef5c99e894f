#!/usr/bin/env python3
"""Writes the pictures of the menu bar's window buttons: a 32-bit strip with alpha of four
16 x 16 pictures, restore, minimise, maximise and close. Run it here after a change."""
import struct

W, H = 64, 16
INK = (0, 0, 0)


def strip():
    px = [[None] * W for _ in range(H)]

    def put(i, x, y):
        px[y][i * 16 + x] = INK

    def window(i, l, t, r, b):
        for y in range(t, b + 1):
            for x in range(l, r + 1):
                if y in (t, t + 1, b) or x in (l, r):
                    put(i, x, y)

    window(0, 6, 3, 12, 8)      # restore: two windows, one behind the other
    window(0, 3, 6, 9, 12)
    for x in range(4, 9):
        for y in range(8, 12):
            px[y][x] = None
    for x in range(4, 11):      # minimise: a bar at the bottom
        put(1, x, 11)
        put(1, x, 12)
    window(2, 3, 3, 12, 12)     # maximise: one large window
    for k in range(8):          # close: a cross
        for w in (0, 1):
            put(3, 4 + k + w, 4 + k)
            put(3, 11 - k + w, 4 + k)
    return px


def bmp(path, px):
    rows = []
    for y in range(H - 1, -1, -1):
        rows.append(b"".join(bytes((c[2], c[1], c[0], 255)) if c else bytes(4) for c in px[y]))
    data = b"".join(rows)
    header = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 32, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", 14 + 40 + len(data), 0, 0, 54) + header + data)


if __name__ == "__main__":
    bmp("mdi-buttons.bmp", strip())
