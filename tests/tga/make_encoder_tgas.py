#!/usr/bin/python3
"""Writes TGA files with other encoders into DIR and decodes every TGA file in DIR with Pillow.
  /usr/bin/python3 make_encoder_tgas.py DIR    (Debian's Python: python3-pil; ImageMagick's convert)

Encoders: Pillow (modes L, LA, P, RGB, RGBA; raw and run-length; bottom and top origin) and
ImageMagick (32, 24, 16 with and without the alpha bit, 8-bit grey, colour-mapped with 24- and
16-bit maps; raw and run-length; all four origins). Written as pillow_*.tga and magick_*.tga.

For every DIR/NAME.tga, also those already there, writes DIR/NAME.pillow: the picture as Pillow
decodes it, RGBA bytes, top row first; none where Pillow does not read the layout (16-bit indices,
32-bit colour maps), and DIR/NAME.pillow-refused where Pillow fails on the file (this Pillow
refuses run-length packets that cross a row end, which other readers and older writers allow). Two layouts go through Pillow's own pieces by another door: a 15-bit picture
is read as the 16-bit one it is stored as (Pillow refuses depth 15), and a 16-bit picture whose
descriptor gives 1 alpha bit is unpacked with Pillow's BGRA;15 (this Pillow reads it opaque)."""
import io
import os
import random
import subprocess
import sys

from PIL import Image

out = sys.argv[1]
rng = random.Random(17)


def picture(width, height):
    """Random colours and alphas (0, 255 and between), with runs that cross rows."""
    im = Image.new("RGBA", (width, height))
    pixels, last = [], None
    for _ in range(width * height):
        if last is None or rng.random() < 0.6:
            last = tuple(rng.randrange(256) for _ in range(3)) + (rng.choice([0, 255, rng.randrange(256)]),)
        pixels.append(last)
    im.putdata(pixels)
    return im


source = picture(13, 7)
sources = {
    "RGBA": source,
    "RGB": source.convert("RGB"),
    "L": source.convert("L"),
    "LA": source.convert("LA"),
    "P": source.convert("RGB").quantize(20),
}
for mode, im in sources.items():
    for rle in (False, True):
        for orientation in (-1, 1):
            name = "pillow_%s_%s_%s.tga" % (mode, "rle" if rle else "raw", "top" if orientation > 0 else "bottom")
            im.save(os.path.join(out, name), rle=rle, orientation=orientation)
sources["RGBA"].save(os.path.join(out, "pillow_RGBA_id.tga"), id_section=b"an image ID")

for mode in ("RGBA", "RGB", "L", "P"):
    sources[mode].save(os.path.join(out, "source_%s.png" % mode))
magick = {  # name: source and options
    "32": ("RGBA", ["-type", "TrueColorAlpha"]),
    "24": ("RGB", ["-type", "TrueColor"]),
    "16_alpha": ("RGBA", ["-depth", "5"]),
    "16": ("RGB", ["-depth", "5"]),
    "grey8": ("L", ["-type", "Grayscale"]),
    "mapped_map24": ("P", []),
    "mapped_map16": ("P", ["-depth", "5"]),
}
for name, (mode, options) in magick.items():
    for compress in ("None", "RLE"):
        for orient in ("BottomLeft", "TopLeft", "TopRight", "BottomRight"):
            target = os.path.join(out, "magick_%s_%s_%s.tga" % (name, compress.lower(), orient))
            subprocess.run(["convert", os.path.join(out, "source_%s.png" % mode)] + options +
                           ["-compress", compress, "-orient", orient, "TGA:" + target], check=True)


def pillow_rgba(data):
    kind, depth, map_bits, alpha_bits = data[2] & ~8, data[16], data[7], data[17] & 15
    if kind == 1 and (depth != 8 or map_bits == 32):
        return None
    data = bytearray(data)
    if kind == 2 and depth == 15:
        data[16], data[17] = 16, data[17] & 0xF0
    if kind == 1 and map_bits == 15:
        data[7] = 16
    im = Image.open(io.BytesIO(bytes(data)))
    if kind == 2 and depth == 16 and alpha_bits == 1 and im.mode == "RGB":
        decoder, box, offset, args = im.tile[0]
        im.tile = [(decoder, box, offset, ("BGRA;15",) + tuple(args[1:]))]
        if hasattr(type(im), "mode") and isinstance(getattr(type(im), "mode"), property):
            im._mode = "RGBA"
        else:
            im.mode = "RGBA"
    return im.convert("RGBA").tobytes()


for name in sorted(os.listdir(out)):
    if not name.endswith(".tga"):
        continue
    with open(os.path.join(out, name), "rb") as f:
        data = f.read()
    try:
        decoded = pillow_rgba(data)
    except OSError as error:  # this Pillow refuses run-length packets that cross a row end
        with open(os.path.join(out, name[:-4] + ".pillow-refused"), "w") as f:
            f.write(str(error))
        continue
    if decoded is not None:
        with open(os.path.join(out, name[:-4] + ".pillow"), "wb") as f:
            f.write(decoded)
