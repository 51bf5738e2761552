#!/usr/bin/env python3
"""Writes the tiny BMP files that test_resources.rc compiles into the test programs.

The pixel rules are the ones in test_resource_ids.h; run from tests/data to regenerate:
    python3 make_test_bitmaps.py
"""
import struct


def pixel24_5x3(x, y):
    return (30 + 40 * x, 10 + 60 * y, 250 - 20 * x - 50 * y)


PALETTE8 = [(255, 0, 0), (0, 255, 0), (0, 0, 255), (120, 80, 40)]


def index8_3x2(x, y):
    return (x + 2 * y) % 4


def pixel24_1x4(x, y):
    return (5 + 50 * y, 7, 200 - 40 * y)


# The nine panel cells (cell order: top-left, top, top-right, left, right, bottom-left, bottom,
# bottom-right, centre), each with its own size so that a mixed-up cell shows. The executable's
# cells and the resource DLL's cells differ in red only.
CELL_SIZES = [(6, 5), (3, 4), (5, 6), (4, 3), (3, 2), (7, 4), (2, 3), (4, 7), (2, 2)]


def cell_pixel(k, x, y, in_dll=False):
    red = 235 - 25 * k if in_dll else 20 + 25 * k
    return (red, 40 + 30 * x, 40 + 30 * y)


def bmp(width, height, bits, palette, row_bytes):
    """A bottom-up BITMAPINFOHEADER file; row_bytes(y) gives the unpadded bytes of picture row y."""
    stride = (width * bits // 8 + 3) & ~3
    pixels = b""
    for y in reversed(range(height)):  # bottom row first
        row = row_bytes(y)
        pixels += row + b"\0" * (stride - len(row))
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
    offset = 14 + 40 + len(colours)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(pixels), 2835, 2835,
                       len(palette), 0)
    return header + info + colours + pixels


def rgb_row(width, y, rule):
    return b"".join(struct.pack("<BBB", *reversed(rule(x, y))) for x in range(width))


def main():
    files = {
        "test24_5x3.bmp": bmp(5, 3, 24, [], lambda y: rgb_row(5, y, pixel24_5x3)),
        "test8_3x2.bmp": bmp(3, 2, 8, PALETTE8, lambda y: bytes(index8_3x2(x, y) for x in range(3))),
        "test24_1x4.bmp": bmp(1, 4, 24, [], lambda y: rgb_row(1, y, pixel24_1x4)),
    }
    for k, (w, h) in enumerate(CELL_SIZES):
        for in_dll in (False, True):
            rule = (lambda kk, dll: lambda x, y: cell_pixel(kk, x, y, dll))(k, in_dll)
            name = "cell%d%s.bmp" % (k, "_dll" if in_dll else "")
            files[name] = bmp(w, h, 24, [], (lambda ww, r: lambda y: rgb_row(ww, y, r))(w, rule))
    for name, data in files.items():
        with open(name, "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
