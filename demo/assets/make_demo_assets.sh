#!/bin/bash
# Writes the bitmaps that demo_resources.rc compiles into the demo host: the nine cells of the menu
# panel (cut from one drawn frame) and three button strips of four faces each (normal, hover,
# pressed, disabled, stacked). Needs ImageMagick. Run from anywhere:
#   bash demo/assets/make_demo_assets.sh
set -eu
cd "$(dirname "${BASH_SOURCE[0]}")"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

# ---- panel: a 64 x 64 gold frame with rounded corners, on the demo ground's dark blue ----
convert -size 64x64 xc:'#131b29' +antialias \
  -fill '#8a6520' -draw "roundrectangle 0,0 63,63 12,12" \
  -fill '#e8c978' -draw "roundrectangle 2,2 61,61 10,10" \
  -fill '#b88d34' -draw "roundrectangle 4,4 59,59 9,9" \
  -fill '#5c4315' -draw "roundrectangle 9,9 54,54 5,5" \
  -fill '#24313f' -draw "roundrectangle 10,10 53,53 4,4" \
  $tmp/panel.png
P="$tmp/panel.png"
crop() { convert "$P" -crop "$1" +repage -alpha off -type TrueColor "BMP3:$2"; }
crop 16x16+0+0 panel_tl.bmp
crop 16x16+24+0 panel_t.bmp
crop 16x16+48+0 panel_tr.bmp
crop 16x16+0+24 panel_l.bmp
crop 16x16+48+24 panel_r.bmp
crop 16x16+0+48 panel_bl.bmp
crop 16x16+24+48 panel_b.bmp
crop 16x16+48+48 panel_br.bmp
# Centre: a quiet 8-pixel checker in two close slate tones.
convert -size 16x16 xc:'#24313f' -fill '#283748' -draw "rectangle 0,0 7,7" -draw "rectangle 8,8 15,15" \
  -alpha off -type TrueColor BMP3:panel_c.bmp

# ---- buttons: 200 x 44 faces on the panel's slate, four stacked per strip ----
face() {  # face FILL BORDER TEXTCOLOUR OFFSET LABEL FILE
  convert -size 200x44 xc:'#24313f' +antialias \
    -fill "$2" -draw "roundrectangle 0,0 199,43 8,8" \
    -fill "$1" -draw "roundrectangle 3,3 196,40 6,6" \
    -antialias -font DejaVu-Sans-Bold -pointsize 17 -fill "$3" -gravity center -annotate "$4" "$5" \
    "$6"
}
strip() {  # strip LABEL FILE
  face '#2f6db5' '#17406e' '#ffffff' +0+0 "$1" $tmp/face0.png
  face '#4a8fdc' '#1d5390' '#ffffff' +0+0 "$1" $tmp/face1.png
  face '#1f4f86' '#0f2c4d' '#dfe9f5' +1+1 "$1" $tmp/face2.png
  face '#5b6270' '#3f4550' '#a9afb9' +0+0 "$1" $tmp/face3.png
  convert $tmp/face0.png $tmp/face1.png $tmp/face2.png $tmp/face3.png -append \
    -alpha off -type TrueColor "BMP3:$2"
}
strip "Pause / Resume" button_pause.bmp
strip "More blocks" button_more.bmp
strip "Quit" button_quit.bmp
