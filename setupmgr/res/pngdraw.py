"""Small drawing canvas that writes PNG files, for the module's image strips (standard library only).

The strips are drawn by the make_images.py scripts beside each dialog's images and committed as
PNG files, so the build does not need Python. A mask colour (magenta or teal) marks the
transparent pixels.

Scripts draw in logical pixels; a canvas of scale 2 rasterises the same shapes at twice the
resolution (the "@2x" files), so circles, diagonals and outlines get finer instead of doubled.
A shape decides for each device pixel from its centre, given in logical coordinates where the
centre of logical pixel (x, y) is (x, y) at scale 1. Outlines are one device pixel wide.
"""
import math
import struct
import zlib

MAGENTA = (255, 0, 255)


class Canvas:
    def __init__(self, width, height, fill=MAGENTA, scale=1):
        self.scale = scale
        self.mask = fill
        self.width, self.height = round(width * scale), round(height * scale)
        self.pixels = [[fill] * self.width for _ in range(self.height)]

    def _span(self, low, high, size):
        # The device pixels whose centres lie in logical pixels low..high.
        start = max(0, math.ceil(low * self.scale - 0.5))
        return range(start, min(size, math.ceil((high + 1) * self.scale - 0.5)))

    def shade(self, x0, y0, x1, y1, paint):
        """Calls paint(u, v) for each device pixel of logical pixels x0..x1, y0..y1, with the
        pixel centre in logical coordinates; paints what it returns unless that is None."""
        for py in self._span(y0, y1, self.height):
            v = (py + 0.5) / self.scale - 0.5
            row = self.pixels[py]
            for px in self._span(x0, x1, self.width):
                colour = paint((px + 0.5) / self.scale - 0.5, v)
                if colour is not None:
                    row[px] = colour

    def put(self, x, y, colour):
        self.rect(x, y, x, y, colour)

    def rect(self, x0, y0, x1, y1, colour):
        self.shade(x0, y0, x1, y1, lambda u, v: colour)

    def frame(self, x0, y0, x1, y1, colour):
        # The outermost device pixels of the box: an outline as thin as the scale allows.
        # A centre lies within one device pixel of the box's outer edge, half a pixel out.
        reach = 1 / self.scale - 0.5
        self.shade(x0, y0, x1, y1, lambda u, v: colour
                   if min(u - x0, x1 - u, v - y0, y1 - v) < reach else None)

    def disc(self, cx, cy, r, colour):
        limit = r * r + r
        self.shade(cx - r, cy - r, cx + r, cy + r,
                   lambda u, v: colour if (u - cx) ** 2 + (v - cy) ** 2 <= limit else None)

    def save(self, path, transparent=False):
        """Writes the canvas; with transparent, as RGBA with the mask colour fully transparent."""
        if transparent:
            raw = b"".join(b"\x00" + b"".join(bytes(px) + (b"\x00" if px == self.mask else b"\xff")
                                              for px in row) for row in self.pixels)
        else:
            raw = b"".join(b"\x00" + bytes(c for px in row for c in px) for row in self.pixels)

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

        colour_type = 6 if transparent else 2
        header = struct.pack(">IIBBBBB", self.width, self.height, 8, colour_type, 0, 0, 0)
        with open(path, "wb") as out:
            out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
                      + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def at_2x(path):
    """The file name of a picture's 2x version, as Qt looks it up: name@2x.png."""
    stem, dot, ext = path.rpartition(".")
    return stem + "@2x." + ext


def save_both(draw, path, transparent=False):
    """Draws at scale 1 and 2 and writes path and its @2x sibling."""
    draw(1).save(path, transparent)
    draw(2).save(at_2x(path), transparent)
