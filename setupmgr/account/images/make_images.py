#!/usr/bin/env python3
"""Draws the account dialogs' image strips and banner as PNG files (standard library only).

Strips are 16x16 cells side by side on a magenta background, which the dialogs treat as
transparent; each is also drawn at twice the resolution (name@2x.png). Run from this folder; the
PNGs are committed, so the build does not need Python.
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "res"))
from pngdraw import MAGENTA, Canvas, save_both  # noqa: E402

def person(c, ox, oy, shirt, scale_small=False):
    if scale_small:
        c.disc(ox + 3, oy + 3, 2, (240, 200, 160))
        c.rect(ox + 1, oy + 6, ox + 5, oy + 10, shirt)
    else:
        c.disc(ox + 7, oy + 4, 3, (240, 200, 160))
        c.rect(ox + 3, oy + 9, ox + 11, oy + 14, shirt)
        c.frame(ox + 3, oy + 9, ox + 11, oy + 14, (40, 40, 80))


def root_monitor(c, ox):
    c.rect(ox + 1, 2, ox + 14, 11, (90, 160, 230))
    c.frame(ox + 1, 2, ox + 14, 11, (60, 60, 60))
    c.rect(ox + 6, 12, ox + 9, 13, (60, 60, 60))
    c.rect(ox + 3, 14, ox + 12, 14, (60, 60, 60))


def group_icon(c, ox, colour_a=(60, 110, 200), colour_b=(40, 160, 90)):
    c.disc(ox + 5, 4, 2, (240, 200, 160))
    c.rect(ox + 2, 7, ox + 8, 12, colour_a)
    c.disc(ox + 11, 6, 2, (240, 200, 160))
    c.rect(ox + 8, 9, ox + 14, 14, colour_b)


def folder(c, ox, opened):
    yellow, dark = (240, 200, 60), (160, 120, 20)
    c.rect(ox + 1, 3, ox + 6, 4, yellow)
    c.rect(ox + 1, 5, ox + 14, 13, yellow)
    c.frame(ox + 1, 5, ox + 14, 13, dark)
    if opened:
        c.rect(ox + 3, 8, ox + 15, 13, (250, 225, 120))
        c.frame(ox + 3, 8, ox + 15, 13, dark)


def key_icon(c, ox):
    c.disc(ox + 4, 7, 3, (220, 170, 30))
    c.put(ox + 4, 7, MAGENTA)
    c.rect(ox + 7, 7, ox + 14, 8, (220, 170, 30))
    c.rect(ox + 12, 9, ox + 12, 10, (220, 170, 30))
    c.rect(ox + 14, 9, ox + 14, 11, (220, 170, 30))


def shield(c, ox):
    blue = (50, 100, 190)
    # Straight sides, narrowing to a point over the last rows.
    c.shade(ox + 3, 2, ox + 12, 13,
            lambda u, v: blue if abs(u - ox - 7.5) <= 4.5 - max(0, v - 9) else None)
    c.rect(ox + 7, 4, ox + 8, 11, (255, 255, 255))
    c.rect(ox + 5, 6, ox + 10, 7, (255, 255, 255))


def account_strip(scale):
    # 0 root, 1 user, 2 group, 3 folder, 4 open folder
    c = Canvas(80, 16, scale=scale)
    root_monitor(c, 0)
    person(c, 16, 0, (60, 110, 200))
    group_icon(c, 32)
    folder(c, 48, False)
    folder(c, 64, True)
    return c


def authority_strip(scale):
    # 0 root, 1 category, 2 authority item, 3 user, 4 group
    c = Canvas(80, 16, scale=scale)
    shield(c, 0)
    folder(c, 16, False)
    key_icon(c, 32)
    person(c, 48, 0, (60, 110, 200))
    group_icon(c, 64)
    return c


def banner(scale):
    width, height = 143, 365
    c = Canvas(width, height, scale=scale)

    def gradient(_, v):
        t = min(1, max(0, v / (height - 1)))
        return (int(20 + 30 * t), int(60 + 80 * t), int(130 + 90 * t))
    c.shade(0, 0, width - 1, height - 1, gradient)
    # A few lens rings: the client watches cameras.
    for cx, cy, r in ((70, 90, 40), (40, 240, 22), (110, 300, 14)):
        c.disc(cx, cy, r, (230, 240, 255))
        c.disc(cx, cy, r - 4, (30, 50, 90))
        c.disc(cx, cy, r // 2, (90, 150, 220))
        c.disc(cx - r // 5, cy - r // 5, max(1, r // 8), (255, 255, 255))
    return c


if __name__ == "__main__":
    save_both(account_strip, "account_images.png")
    save_both(authority_strip, "authority_images.png")
    # The managers share the banner; it lives with the controls.
    save_both(banner, "../../controls/images/banner.png")
