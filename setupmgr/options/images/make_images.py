#!/usr/bin/env python3
"""Draws the option sheet's image strips, each also at twice the resolution (name@2x.png). Run
from this folder; the PNGs are committed, so the build does not need Python.

option_page_images.png: the General page's tree, 20x20 cells on magenta (transparent).
    0 a small blue diamond (value rows), 1 a closed yellow folder, 2 an open yellow folder.
option_sheet_images.png: the sheet's page tree, 16x16 cells on teal (transparent).
    0 a small window showing a tree diagram (rows without a page),
    1 a small window with a yellow gear wheel (pages without an image of their own).
"""
import math
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "res"))
from pngdraw import Canvas, save_both  # noqa: E402

TEAL = (0, 128, 128)
OUTLINE = (60, 60, 60)
FOLDER = (250, 210, 70)
FOLDER_LIGHT = (255, 236, 150)
FOLDER_DARK = (180, 130, 20)


def diamond(c, ox):
    # A value row: a blue diamond with a dark rim and a light upper-left face.
    cx, cy, r = ox + 9, 10, 5
    # At scale 1 the rim is the ring of pixels r steps from the centre; finer scales keep its
    # outer edge where those pixels end and make it one device pixel thick.
    outer = r + 0.5 - 0.5 / c.scale
    rim = outer - 1 / c.scale

    def face(u, v):
        d = abs(u - cx) + abs(v - cy)
        if d > outer:
            return None
        if d > rim:
            return (20, 40, 140)
        return (110, 160, 250) if u + v < cx + cy else (40, 90, 220)
    c.shade(cx - r, cy - r, cx + r, cy + r, face)


def folder_closed(c, ox):
    # The tab, then the body over it.
    c.rect(ox + 2, 4, ox + 8, 6, FOLDER)
    c.frame(ox + 2, 4, ox + 8, 6, FOLDER_DARK)
    c.rect(ox + 2, 6, ox + 17, 16, FOLDER)
    c.frame(ox + 2, 6, ox + 17, 16, FOLDER_DARK)
    c.rect(ox + 3, 7, ox + 16, 7, FOLDER_LIGHT)


def folder_open(c, ox):
    # The back with its tab, a sheet of paper, and the front flap leaning out to the right.
    c.rect(ox + 1, 3, ox + 7, 5, FOLDER_DARK)
    c.rect(ox + 1, 5, ox + 15, 16, FOLDER_DARK)
    c.rect(ox + 4, 6, ox + 13, 10, (250, 250, 250))
    c.frame(ox + 4, 6, ox + 13, 10, (150, 150, 150))
    for row, y in enumerate(range(9, 17)):
        left = ox + 1 + (7 - row) // 2
        right = ox + 18 - row // 3
        c.rect(left, y, right, y, FOLDER)
        c.put(left, y, FOLDER_DARK)
        c.put(right, y, FOLDER_DARK)
    c.rect(ox + 4, 9, ox + 18, 9, FOLDER_LIGHT)
    c.rect(ox + 1, 16, ox + 16, 16, FOLDER_DARK)


def small_window(c, ox):
    # A window of 14x14 pixels: white client area, blue title bar, dark frame.
    c.rect(ox + 1, 1, ox + 14, 14, (255, 255, 255))
    c.rect(ox + 1, 1, ox + 14, 3, (10, 36, 106))
    c.frame(ox + 1, 1, ox + 14, 14, OUTLINE)


def tree_window(c, ox):
    small_window(c, ox)
    line = (110, 110, 110)
    # A root node with two children, joined by dotted lines.
    c.rect(ox + 3, 6, ox + 5, 7, (200, 40, 40))
    for y in (8, 10, 12):
        c.put(ox + 4, y, line)
    c.put(ox + 6, 9, line)
    c.put(ox + 6, 12, line)
    for y in (9, 12):
        c.put(ox + 5, y, line)
        c.rect(ox + 7, y - 1, ox + 8, y, (40, 110, 200))
        c.rect(ox + 10, y, ox + 12, y, (120, 120, 120))


def gear_window(c, ox):
    small_window(c, ox)
    cx, cy = ox + 8, 9
    # Eight teeth around a wheel with a hole in its hub.
    for dx, dy in ((0, -4), (0, 4), (-4, 0), (4, 0), (-3, -3), (3, -3), (-3, 3), (3, 3)):
        c.rect(min(cx + dx, cx + dx // 4 * 3), min(cy + dy, cy + dy // 4 * 3),
               max(cx + dx, cx + dx // 4 * 3), max(cy + dy, cy + dy // 4 * 3), FOLDER_DARK)

    def wheel(u, v):
        r = math.hypot(u - cx, v - cy)
        if r < 1.0 or r > 3.2:
            return None
        return FOLDER if r <= 2.3 else FOLDER_DARK
    c.shade(cx - 3, cy - 3, cx + 3, cy + 3, wheel)


def page_strip(scale):
    c = Canvas(60, 20, scale=scale)
    diamond(c, 0)
    folder_closed(c, 20)
    folder_open(c, 40)
    return c


def sheet_strip(scale):
    c = Canvas(32, 16, fill=TEAL, scale=scale)
    tree_window(c, 0)
    gear_window(c, 16)
    return c


if __name__ == "__main__":
    save_both(page_strip, "option_page_images.png")
    save_both(sheet_strip, "option_sheet_images.png")
