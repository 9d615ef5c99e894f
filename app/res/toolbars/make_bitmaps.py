#!/usr/bin/env python3
"""Draws the program's toolbar pictures: one 16 x 16 picture per command, magenta (0xFF00FF) where
the picture is transparent, written as 24-bit bitmap strips in the order of each toolbar resource.

usage: make_bitmaps.py OUTPUT_DIR   (writes toolbar_101.bmp, toolbar_147.bmp ... toolbar_150.bmp)
The strips are checked in; run this again only to change a picture."""
import os
import struct
import sys

MAGENTA = (255, 0, 255)
BLACK, WHITE = (0, 0, 0), (255, 255, 255)
GREY, DARK = (192, 192, 192), (96, 96, 96)
BLUE, LIGHT_BLUE = (32, 80, 192), (160, 200, 240)
RED, GREEN = (200, 32, 32), (32, 150, 48)
YELLOW, ORANGE, BROWN = (250, 220, 60), (240, 140, 20), (140, 90, 40)
SKIN = (240, 190, 150)

SIZE = 16


class Picture:
    def __init__(self):
        self.pixels = [[MAGENTA] * SIZE for _ in range(SIZE)]

    def dot(self, x, y, colour):
        if 0 <= x < SIZE and 0 <= y < SIZE:
            self.pixels[y][x] = colour

    def rect(self, left, top, right, bottom, fill=None, border=None):
        for y in range(top, bottom + 1):
            for x in range(left, right + 1):
                edge = x in (left, right) or y in (top, bottom)
                if edge and border:
                    self.dot(x, y, border)
                elif fill:
                    self.dot(x, y, fill)

    def line(self, x0, y0, x1, y1, colour):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            self.dot(round(x0 + (x1 - x0) * i / steps), round(y0 + (y1 - y0) * i / steps), colour)

    def disc(self, cx, cy, r, fill, border=None):
        for y in range(SIZE):
            for x in range(SIZE):
                d = (x - cx) ** 2 + (y - cy) ** 2
                if d <= r * r:
                    outer = border and d > (r - 1) ** 2
                    self.dot(x, y, border if outer else fill)

    def ring(self, cx, cy, r, colour):
        for y in range(SIZE):
            for x in range(SIZE):
                d = ((x - cx) ** 2 + (y - cy) ** 2) ** 0.5
                if r - 0.6 <= d <= r + 0.4:
                    self.dot(x, y, colour)


def envelope(p, top=3, bottom=12):
    p.rect(1, top, 14, bottom, WHITE, DARK)
    p.line(1, top, 7, top + 5, DARK)
    p.line(14, top, 8, top + 5, DARK)


def arrow_right(p, y, colour):
    p.line(6, y, 14, y, colour)
    p.line(11, y - 3, 14, y, colour)
    p.line(11, y + 3, 14, y, colour)


def person(p, cx, colour, head=SKIN):
    p.disc(cx, 4, 2.5, head, BROWN)
    p.rect(cx - 4, 8, cx + 4, 14, colour, DARK)


def cross(p, colour):
    for d in (0, 1):
        p.line(3 + d, 3, 12 + d, 12, colour)
        p.line(12 + d, 3, 3 + d, 12, colour)


def send(p):
    envelope(p, 1, 9)
    arrow_right(p, 12, GREEN)


def send_and_close(p):
    envelope(p, 1, 9)
    p.line(9, 11, 14, 15, RED)
    p.line(14, 11, 9, 15, RED)
    p.line(1, 13, 6, 13, GREEN)


def address_book(p):
    p.rect(3, 1, 13, 14, BLUE, BLACK)
    p.rect(5, 3, 11, 6, WHITE, None)
    for y in (3, 6, 9, 12):
        p.dot(2, y, DARK)


def message_limit(p):
    p.rect(1, 3, 14, 12, LIGHT_BLUE, BLUE)
    for x0 in (3, 7, 11):
        p.rect(x0, 6, x0 + 1, 9, BLUE, None)


def new_entry(p):
    p.rect(2, 1, 11, 14, WHITE, DARK)
    p.line(12, 8, 12, 14, GREEN)
    p.line(9, 11, 15, 11, GREEN)
    p.line(13, 8, 13, 14, GREEN)


def edit_entry(p):
    p.rect(1, 1, 10, 14, WHITE, DARK)
    for i in range(8):
        p.dot(6 + i, 13 - i, ORANGE)
        p.dot(7 + i, 13 - i, YELLOW)
    p.dot(5, 14, BLACK)


def delete(p):
    cross(p, RED)


def send_to_contact(p):
    envelope(p, 6, 14)
    p.disc(12, 3, 2.5, SKIN, BROWN)


def send_to_group(p):
    envelope(p, 6, 14)
    p.disc(9, 3, 2.2, SKIN, BROWN)
    p.disc(13, 3, 2.2, SKIN, BROWN)


def reload_list(p):
    p.ring(8, 8, 5.5, GREEN)
    p.ring(8, 8, 4.5, GREEN)
    p.rect(7, 1, 15, 7, MAGENTA, None)
    p.line(9, 2, 13, 2, GREEN)
    p.line(13, 2, 13, 6, GREEN)


def contacts(p):
    person(p, 8, BLUE)


def groups(p):
    person(p, 5, GREEN)
    person(p, 11, BLUE)


def reply(p):
    envelope(p, 5, 14)
    p.line(2, 2, 9, 2, BLUE)
    p.line(2, 2, 5, 0, BLUE)
    p.line(2, 2, 5, 4, BLUE)


def tray_with_arrow(p, colour, tip_y):
    """A tray with an arrow going into it (tip at the bottom) or out of it (tip at the top)."""
    p.rect(1, 8, 14, 14, GREY, DARK)
    p.rect(5, 8, 10, 10, WHITE, DARK)
    p.line(8, 1, 8, 7, colour)
    p.line(5, 4, 8, tip_y, colour)
    p.line(11, 4, 8, tip_y, colour)


def inbox(p):
    tray_with_arrow(p, BLUE, 7)


def sent_messages(p):
    tray_with_arrow(p, GREEN, 1)


def gear(p):
    p.disc(7.5, 7.5, 6, DARK)
    for x, y in ((7, 0), (8, 0), (7, 15), (8, 15), (0, 7), (0, 8), (15, 7), (15, 8)):
        p.dot(x, y, DARK)
    p.disc(7.5, 7.5, 2.5, MAGENTA)


def account_options(p):
    person(p, 6, BLUE)
    p.rect(10, 9, 15, 14, YELLOW, DARK)


def buy_credits(p):
    p.disc(7.5, 7.5, 7, YELLOW, ORANGE)
    p.line(7, 3, 7, 12, ORANGE)
    p.line(8, 3, 8, 12, ORANGE)
    p.line(5, 5, 10, 5, ORANGE)
    p.line(5, 10, 10, 10, ORANGE)


def start_page(p):
    p.line(1, 8, 8, 1, RED)
    p.line(8, 1, 15, 8, RED)
    p.rect(3, 8, 12, 14, WHITE, DARK)
    p.rect(7, 10, 9, 14, BROWN, None)


def home_page(p):
    p.disc(7.5, 7.5, 7, LIGHT_BLUE, BLUE)
    p.rect(4, 4, 8, 9, GREEN, None)
    p.rect(9, 8, 12, 12, GREEN, None)


def about(p):
    p.disc(7.5, 7.5, 7, BLUE)
    p.rect(7, 3, 8, 4, WHITE, None)
    p.rect(7, 6, 8, 12, WHITE, None)


def sign_in_out(p):
    p.ring(4.5, 7.5, 3, YELLOW)
    p.ring(4.5, 7.5, 2, ORANGE)
    p.line(7, 7, 15, 7, ORANGE)
    p.line(7, 8, 15, 8, YELLOW)
    p.line(12, 9, 12, 11, ORANGE)
    p.line(14, 9, 14, 11, ORANGE)


# Commands (resource.h) and their pictures.
PICTURES = {
    32771: send, 32814: send_and_close, 32815: address_book, 32860: message_limit,
    32829: new_entry, 32778: edit_entry, 32776: delete, 32834: send_to_contact,
    32835: send_to_group, 32827: reload_list, 32800: contacts, 32831: groups,
    32843: reply, 32845: delete, 32817: send, 32785: inbox, 32801: sent_messages,
    32802: account_options, 32807: buy_credits, 32847: start_page, 32848: gear,
    32784: home_page, 32780: about, 32813: sign_in_out,
}

# The toolbar resources (0 separates groups); must match Velko_en.rc.
TOOLBARS = {
    101: [32817, 32800, 32831, 0, 32785, 32801, 32802, 32807, 0, 32847, 32848, 32784, 32780, 0, 32813],
    147: [32771, 32814, 32815, 0, 32860],
    148: [32829, 32778, 32776, 0, 32834, 0, 32827, 32800],
    149: [32829, 32778, 32776, 0, 32835, 0, 32827, 32831],
    150: [32843, 32845],
}


def write_strip(path, ids):
    pictures = []
    for command in ids:
        p = Picture()
        PICTURES[command](p)
        pictures.append(p)
    width, height = SIZE * len(pictures), SIZE
    row_bytes = (width * 3 + 3) & ~3
    rows = []
    for y in reversed(range(height)):
        row = bytearray()
        for p in pictures:
            for colour in p.pixels[y]:
                row += bytes((colour[2], colour[1], colour[0]))
        row += b"\0" * (row_bytes - len(row))
        rows.append(bytes(row))
    image = b"".join(rows)
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(image), 2835, 2835, 0, 0)
    with open(path, "wb") as out:
        out.write(struct.pack("<2sIHHI", b"BM", 14 + len(header) + len(image), 0, 0, 14 + len(header)))
        out.write(header)
        out.write(image)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    for toolbar, items in TOOLBARS.items():
        write_strip(os.path.join(out, "toolbar_%d.bmp" % toolbar), [i for i in items if i])


if __name__ == "__main__":
    main()
