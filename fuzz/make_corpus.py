#!/usr/bin/env python3
"""Writes the fuzz regression corpus (fuzz/corpus/): damaged picture files of the kinds the fuzzer
turns up, each named for what the loader must do with it:
  refused_*  the library's own decoder must refuse it (false, empty picture)
  loads_*    it must load
  any_*      decoded by GDI+: loading or refusing are both fine, crashing or a stray write is not
Seed pictures come from fuzz/seeds/. Files named any_found_* are inputs the fuzzer found crashing a
system decoder (saved with vor_fuzz --save SEED FILE); this script keeps them."""
import os
import struct
import zlib

here = os.path.dirname(os.path.abspath(__file__))
seeds = os.path.join(here, "seeds")
out = os.path.join(here, "corpus")
os.makedirs(out, exist_ok=True)
for name in os.listdir(out):
    if not name.startswith("any_found_"):
        os.remove(os.path.join(out, name))


def seed(name):
    with open(os.path.join(seeds, name), "rb") as f:
        return bytearray(f.read())


def write(name, data):
    with open(os.path.join(out, name), "wb") as f:
        f.write(bytes(data))


def tga(width, height, bits=32, rle=False, descriptor=None, id_length=0, body=b""):
    d = (8 if bits == 32 else 0) if descriptor is None else descriptor
    head = struct.pack("<BBBHHBHHHHBB", id_length, 0, 10 if rle else 2, 0, 0, 0, 0, 0, width, height, bits, d)
    return bytearray(head + bytes(id_length) + body)


def png_fix(data):
    """Recomputes every chunk CRC, so a damaged chunk reaches the decoder."""
    at = 8
    while at + 12 <= len(data):
        n = struct.unpack(">I", data[at:at + 4])[0]
        if at + 12 + n > len(data):
            break
        data[at + 8 + n:at + 12 + n] = struct.pack(">I", zlib.crc32(bytes(data[at + 4:at + 8 + n])) & 0xFFFFFFFF)
        at += 12 + n
    return data


# ---- TGA: our decoder, exact outcomes ----
px = bytes([10, 20, 30, 255])
write("refused_tga_rle_run_past_end.tga", tga(2, 2, rle=True, body=bytes([0x84]) + px))          # 5 pixels in a 4
write("refused_tga_rle_raw_past_end.tga", tga(3, 1, rle=True, body=bytes([0x03]) + px * 4))      # raw packet of 4
write("refused_tga_rle_cut_in_packet.tga", tga(4, 1, rle=True, body=bytes([0x03]) + px * 2))     # data ends early
write("refused_tga_raw_short.tga", tga(5, 5, body=px * 24))
write("refused_tga_header_only_65535.tga", tga(65535, 65535))
write("refused_tga_id_past_end.tga", tga(1, 1, id_length=200)[:30])
write("refused_tga_16bit.tga", tga(2, 2, bits=16, body=bytes(8)))
write("refused_tga_interleaved.tga", tga(1, 1, descriptor=0x48, body=px))
write("refused_tga_truncated_header.tga", tga(1, 1, body=px)[:17])
write("refused_tga_empty_file.tga", b"")
write("loads_tga_zero_width.tga", tga(0, 7))
write("loads_tga_right_to_left_top_first.tga", tga(2, 2, descriptor=0x38, body=px * 4))
write("loads_tga_24bit_rle_across_rows.tga", tga(3, 2, bits=24, rle=True, body=bytes([0x85, 1, 2, 3])))
write("loads_tga_trailing_garbage.tga", tga(1, 1, body=px + bytes(range(200))))

# ---- BMP / PNG / GIF: GDI+ decodes them ----
b = seed("bmp24.bmp")
big = bytearray(b); big[18:26] = struct.pack("<ii", 0x7FFFFFFF, 0x7FFFFFFF); write("any_bmp_huge_size.bmp", big)
neg = bytearray(b); neg[18:22] = struct.pack("<i", -13); write("any_bmp_negative_width.bmp", neg)
top = bytearray(b); top[22:26] = struct.pack("<i", -0x80000000); write("any_bmp_height_int_min.bmp", top)
write("any_bmp_truncated.bmp", b[:60])
off = bytearray(b); off[10:14] = struct.pack("<I", 0xFFFFFFF0); write("any_bmp_offset_past_end.bmp", off)
p8 = seed("bmp8.bmp"); p8[46:50] = struct.pack("<I", 0x40000000); write("any_bmp8_palette_count_huge.bmp", p8)
r8 = seed("bmp8_rle.bmp"); r8[30:34] = struct.pack("<I", 1); r8[54 + 4 * 200:] = bytes([0, 2, 200, 200] * 8); write("any_bmp8_rle_delta_out.bmp", r8)
p = seed("png24.png"); p[16:24] = struct.pack(">II", 0x7FFFFFFF, 0x7FFFFFFF); write("any_png_ihdr_huge.png", png_fix(p))
p = seed("png24.png"); p[16:24] = struct.pack(">II", 0, 0); write("any_png_ihdr_zero.png", png_fix(p))
p = seed("png8.png"); p[24] = 16; write("any_png_palette_depth16.png", png_fix(p))
p = seed("png_interlaced.png"); write("any_png_truncated_idat.png", p[:len(p) // 2])
g = seed("gif_anim3.gif"); write("any_gif_truncated_anim.gif", g[:len(g) - 20])
g = seed("gif_still.gif"); g[6:10] = bytes(4); write("any_gif_zero_screen.gif", g)
g = seed("gif_anim3.gif"); g[6:10] = b"\xff\xff\xff\xff"; write("any_gif_huge_screen.gif", g)
g = seed("gif_still.gif"); g[10] = 0x87; write("any_gif_colour_table_flag_flipped.gif", g)
print("\n".join(sorted(os.listdir(out))))
