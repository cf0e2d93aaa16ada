#!/usr/bin/env python3
"""Draws the recorder tree's image strip: 16x16 cells on magenta, which the tree treats as
transparent, and the same at twice the resolution (server_images@2x.png). Run from this folder;
the PNGs are committed, so the build does not need Python.
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "res"))
from pngdraw import Canvas, save_both  # noqa: E402


def network(c, ox):
    # The root: recorders on a network, three boxes joined by lines.
    line = (70, 70, 70)
    c.rect(ox + 7, 3, ox + 8, 12, line)
    c.rect(ox + 3, 8, ox + 12, 9, line)
    for x, y in ((ox + 5, 1), (ox + 1, 10), (ox + 10, 10)):
        c.rect(x, y, x + 5, y + 4, (90, 160, 230))
        c.frame(x, y, x + 5, y + 4, (30, 60, 110))


def recorder(c, ox):
    # A recorder: a flat dark box with a display and two status lights.
    c.rect(ox + 1, 5, ox + 14, 11, (50, 55, 65))
    c.frame(ox + 1, 5, ox + 14, 11, (20, 20, 25))
    c.rect(ox + 3, 7, ox + 8, 9, (120, 200, 240))
    c.put(ox + 11, 8, (60, 220, 90))
    c.put(ox + 13, 8, (240, 170, 40))
    c.rect(ox + 2, 12, ox + 3, 12, (20, 20, 25))
    c.rect(ox + 12, 12, ox + 13, 12, (20, 20, 25))


def server_strip(scale):
    # 0 root, 1 recorder
    c = Canvas(32, 16, scale=scale)
    network(c, 0)
    recorder(c, 16)
    return c


if __name__ == "__main__":
    save_both(server_strip, "server_images.png")
