#!/usr/bin/env python3
"""Draws the demo client's toolbar icons, 16x16 with a transparent background, each also at twice
the resolution (name@2x.png). They reuse the module's pictures of the same things. Run from this
folder; the PNGs are committed, so the build does not need Python.
"""
import os
import runpy
import sys
import types

HERE = os.path.dirname(os.path.abspath(__file__))
MODULE = os.path.join(HERE, "..", "..", "setupmgr")
sys.path.insert(0, os.path.join(MODULE, "res"))
from pngdraw import Canvas, save_both  # noqa: E402


def pictures(folder):
    # The module's scripts share one file name, so each is loaded under its folder's name.
    names = runpy.run_path(os.path.join(MODULE, folder, "images", "make_images.py"),
                           run_name=folder + "_images")
    return types.SimpleNamespace(**names)


ACCOUNT = pictures("account")
SERVER = pictures("server")
OPTIONS = pictures("options")

ICONS = {
    "accounts": ACCOUNT.group_icon,
    "authority": ACCOUNT.shield,
    "recorders": SERVER.recorder,
    "options": OPTIONS.gear_window,
    "remote-setup": SERVER.network,
}


def icon(draw):
    def drawn(scale):
        c = Canvas(16, 16, scale=scale)
        draw(c, 0)
        return c
    return drawn


if __name__ == "__main__":
    for name, draw in ICONS.items():
        save_both(icon(draw), name + ".png", transparent=True)
