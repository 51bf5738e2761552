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
write("loads_tga_16bit.tga", tga(2, 2, bits=16, body=bytes(8)))
write("refused_tga_interleaved.tga", tga(1, 1, descriptor=0x48, body=px))
write("refused_tga_truncated_header.tga", tga(1, 1, body=px)[:17])
write("refused_tga_empty_file.tga", b"")
write("loads_tga_zero_width.tga", tga(0, 7))
write("loads_tga_right_to_left_top_first.tga", tga(2, 2, descriptor=0x38, body=px * 4))
write("loads_tga_24bit_rle_across_rows.tga", tga(3, 2, bits=24, rle=True, body=bytes([0x85, 1, 2, 3])))
write("loads_tga_trailing_garbage.tga", tga(1, 1, body=px + bytes(range(200))))


def tga_of(image_type, width, height, depth, descriptor=0, first=0, entries=b"", entry_bits=0, count=0, body=b""):
    """Any TGA kind: colour-mapped files give their map entries, count of them, entry_bits each."""
    head = struct.pack("<BBBHHBHHHHBB", 0, 1 if entries else 0, image_type, first, count, entry_bits, 0, 0,
                       width, height, depth, descriptor)
    return bytearray(head + entries + body)


map16 = struct.pack("<HH", 0x7C00, 0x03E0)  # red, green as 5-5-5
map32 = bytes([1, 2, 3, 0, 4, 5, 6, 128])
write("loads_tga_mapped8_first3_map16_rle_across_rows.tga",
      tga_of(9, 3, 2, 8, first=3, entries=map16, entry_bits=16, count=2, body=bytes([0x83, 3, 0x01, 4, 3])))
write("loads_tga_mapped16_map32.tga", tga_of(1, 2, 1, 16, 0x08, entries=map32, entry_bits=32, count=2, body=bytes([1, 0, 0, 0])))
write("loads_tga_grey16_rle_right_to_left.tga", tga_of(11, 3, 1, 16, 0x18, body=bytes([0x80, 9, 200, 0x01, 7, 0, 5, 255])))
write("loads_tga_15bit_top_first.tga", tga_of(2, 2, 1, 15, 0x20, body=struct.pack("<HH", 0x801F, 0x7FFF)))
write("loads_tga_16bit_alpha_bit_rle.tga", tga_of(10, 2, 2, 16, 0x01, body=bytes([0x81, 0x1F, 0x80, 0x81, 0xE0, 0x03])))
write("refused_tga_huffman32.tga", tga_of(32, 1, 1, 8, entries=map32, entry_bits=32, count=2, body=bytes(8)))
write("refused_tga_quadtree33.tga", tga_of(33, 1, 1, 8, entries=map32, entry_bits=32, count=2, body=bytes(8)))
write("refused_tga_mapped_index_past_map.tga", tga_of(1, 2, 1, 8, entries=map16, entry_bits=16, count=2, body=bytes([1, 2])))
write("refused_tga_mapped_index_before_first.tga",
      tga_of(9, 2, 1, 8, first=5, entries=map16, entry_bits=16, count=2, body=bytes([0x81, 4])))
write("refused_tga_mapped_map_cut_short.tga", tga_of(1, 1, 1, 8, entries=map32[:6], entry_bits=32, count=2))
write("refused_tga_mapped_no_map.tga", tga_of(1, 1, 1, 8, body=bytes(1)))

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
