#!/bin/bash
# Writes the fuzzer's starting pictures (small valid BMP, PNG, GIF and TGA files in the layouts
# the loaders meet in the wild) into fuzz/seeds/. Needs ImageMagick's convert.
#   fuzz/make_seeds.sh
set -eu
out="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/seeds"
mkdir -p "$out"
cd "$out"
rm -f ./*.bmp ./*.png ./*.gif ./*.tga
# A small picture with colour and alpha gradients, so every channel carries data.
base=(-size 13x7 gradient:red-blue \( -size 13x7 gradient:white-black -rotate 90 -resize 13x7! \)
      -compose CopyOpacity -composite)
plain=(-size 13x7 plasma:fractal -seed 7)

convert "${plain[@]}" -type TrueColor BMP3:bmp24.bmp
convert "${base[@]}" -type TrueColorAlpha BMP:bmp32.bmp
convert "${plain[@]}" -colors 200 -type Palette BMP3:bmp8.bmp
convert "${plain[@]}" -colors 200 -type Palette -compress RLE BMP3:bmp8_rle.bmp
convert "${plain[@]}" -colors 12 -type Palette BMP3:bmp4.bmp
convert "${plain[@]}" -monochrome BMP3:bmp1.bmp
convert "${plain[@]}" -define bmp:subtype=RGB565 BMP:bmp16.bmp
convert "${plain[@]}" -type TrueColor PNG24:png24.png
convert "${base[@]}" PNG32:png32.png
convert "${plain[@]}" -colors 16 PNG8:png8.png
convert "${plain[@]}" -colorspace Gray -depth 8 PNG:png_gray.png
convert "${plain[@]}" -depth 16 PNG48:png48.png
convert "${plain[@]}" -interlace PNG PNG24:png_interlaced.png
convert "${plain[@]}" -colors 32 gif_still.gif
convert "${plain[@]}" -colors 32 -interlace GIF gif_interlaced.gif
convert -delay 7 -size 9x6 xc:red xc:lime xc:blue -loop 0 gif_anim3.gif
convert -delay 12 -dispose Background -size 9x6 xc:none \( -size 9x6 xc:yellow \) -loop 0 gif_anim_transparent.gif
convert "${plain[@]}" -type TrueColor -compress None TGA:tga24.tga
convert "${base[@]}" -compress None TGA:tga32.tga
convert "${plain[@]}" -type TrueColor -compress RLE TGA:tga24_rle.tga
convert "${base[@]}" -compress RLE TGA:tga32_rle.tga
convert "${plain[@]}" -colors 200 -type Palette -compress None TGA:tga8_mapped.tga
convert "${plain[@]}" -colors 200 -type Palette -compress RLE TGA:tga8_mapped_rle.tga
convert "${plain[@]}" -colors 200 -type Palette -depth 5 -orient TopRight TGA:tga8_mapped_map16_top_right.tga
convert "${plain[@]}" -colorspace Gray -type Grayscale -compress None TGA:tga8_grey.tga
convert "${plain[@]}" -colorspace Gray -type Grayscale -compress RLE TGA:tga8_grey_rle.tga
convert "${base[@]}" -depth 5 -compress RLE TGA:tga16_rle.tga
ls -l "$out"
