#!/usr/bin/env python3
"""Writes the pictures of customising: the three drag cursors (copy, move, no drop) and the
palette of button pictures offered by the control context menu (42 pictures of 16 x 16 on
green, which is transparent). Run it here after a change."""
import importlib.util
import math
import struct

found = importlib.util.spec_from_file_location("editor_pictures", "make-editor-pictures.py")
editor = importlib.util.module_from_spec(found)
found.loader.exec_module(editor)

GREEN = (0, 255, 0)
COLOURS = [(192, 0, 0), (0, 128, 0), (0, 64, 192), (224, 160, 0), (128, 0, 160), (0, 160, 160), (64, 64, 64)]
SHAPES = 6
SIZE = 16


def palette():
    count = SHAPES * len(COLOURS)
    width = count * SIZE
    px = [[GREEN] * width for _ in range(SIZE)]
    for index in range(count):
        shape, colour = divmod(index, len(COLOURS))
        ink = COLOURS[colour]
        left = index * SIZE
        for y in range(SIZE):
            for x in range(SIZE):
                dx, dy = x - 7.5, y - 7.5
                inside = {
                    0: abs(dx) <= 6 and abs(dy) <= 6,                                  # square
                    1: dx * dx + dy * dy <= 42,                                         # disc
                    2: y >= 2 and y <= 13 and abs(dx) <= (y - 1) / 2,                   # triangle
                    3: abs(dx) + abs(dy) <= 7,                                          # diamond
                    4: (abs(dx) <= 2 or abs(dy) <= 2) and abs(dx) <= 7 and abs(dy) <= 7,  # cross
                    5: 20 <= dx * dx + dy * dy <= 49,                                   # ring
                }[shape]
                if inside:
                    edge = x in (0, 15) or y in (0, 15)
                    px[y][left + x] = (0, 0, 0) if edge else ink
    rows = []
    for y in range(SIZE - 1, -1, -1):
        row = b"".join(bytes((c[2], c[1], c[0])) for c in px[y])
        rows.append(row + bytes((-len(row)) % 4))
    data = b"".join(rows)
    header = struct.pack("<IiiHHIIiiII", 40, width, SIZE, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open("customize-palette.bmp", "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", 14 + 40 + len(data), 0, 0, 54) + header + data)


def arrow(b):
    # The standard arrow's outline from the hot spot at the top left.
    for y in range(17):
        for x in range(y // 2 + 1 if y < 12 else 0):
            b[y][x] = True
    for y in range(12, 20):
        b[y][(y - 12) // 2 + 3] = True
        b[y][(y - 12) // 2 + 4] = True


def box(b, plus):
    for y in range(20, 30):
        for x in range(12, 24):
            if y in (20, 29) or x in (12, 23):
                b[y][x] = True
    if plus:
        for k in range(22, 28):
            b[k][17] = b[k][18] = True
        for k in range(14, 22):
            b[24][k] = b[25][k] = True


def no_drop(b):
    for y in range(32):
        for x in range(32):
            r = math.hypot(x - 15.5, y - 15.5)
            if 10 <= r <= 13 or (r < 11 and abs((x - 15.5) - (y - 15.5)) <= 1.5):
                b[y][x] = True


if __name__ == "__main__":
    palette()
    editor.cursor("customize-copy.cur", (0, 0), lambda b: (arrow(b), box(b, True)))
    editor.cursor("customize-move.cur", (0, 0), lambda b: (arrow(b), box(b, False)))
    editor.cursor("customize-no-drop.cur", (15, 15), no_drop)
