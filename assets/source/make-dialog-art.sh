#!/bin/bash
# Regenerates the pictures of the options dialog, drawn here from the start picture and from
# geometry (ImageMagick 6, awk, python3 for the icon and pointer files):
#   assets/preview-miniature.jpg  238 x 179, 24-bit: the start picture shown on a black screen
#   assets/about-miniature.jpg    160 x 120, 24-bit: the start picture reduced
#   assets/portrait.jpg           74 x 90 JPEG: a drawn developer, head and shoulders
#   assets/help-link.ico          32 x 32, 16 colours (4 bits) with AND mask: a web page with
#                                 the shortcut arrow
#   assets/download-link.ico      32 x 32, 256 colours (8 bits) with AND mask: a floppy disk
#   assets/hand.cur               32 x 32 monochrome pointer: a pointing hand, hot spot 12, 1
# Run make-art.sh first when the start picture changes: both miniatures are made from it.
#
#   assets/source/make-dialog-art.sh          # everything
#   assets/source/make-dialog-art.sh hand     # one piece: miniatures|portrait|help|download|hand
#   KEEP_WORK=1 assets/source/make-dialog-art.sh  # keeps the scratch folder in /tmp to look at
set -euo pipefail

SOURCE=$(cd "$(dirname "$0")" && pwd)
ASSETS=$(dirname "$SOURCE")
WORK=$(mktemp -d /tmp/glimra-dialog-art.XXXXXX)
[ -n "${KEEP_WORK:-}" ] || trap 'rm -rf "$WORK"' EXIT
cd "$WORK"

# ---------------------------------------------------------------------------------------
# Helpers

# rgba IN OUT: the raw 32 x 32 pixels that write-icon.py reads.
rgba() { convert "$1" -background none -gravity center -extent 32x32 -depth 8 "RGBA:$2"; }

# A 24-bit JPEG without colour subsampling: an eighth of the bitmap's size in the program.
jpeg24() { convert "$1" -quality 92 -sampling-factor 1x1 "$2"; }

# grid KEY... < ROWS: MVG points for a picture drawn one character per pixel; each KEY is
# CHAR=COLOUR, and characters without a key ("." and blanks) stay undrawn.
grid() {
  awk -v keys="$*" 'BEGIN { n = split(keys, k, " ");
      for (i = 1; i <= n; i++) { c = substr(k[i], 1, 1); col[c] = substr(k[i], 3) } }
    { for (x = 1; x <= length($0); x++) { c = substr($0, x, 1);
        if (c in col) printf "fill %s point %d,%d\n", col[c], x - 1, NR - 1 } }'
}

# ---------------------------------------------------------------------------------------
# The two miniatures of the start picture.

make_miniatures() {
  # The slide show centres each picture on a black screen; the miniature shows the start
  # picture that way, with a black border all round so the screen reads as a screen.
  convert "$ASSETS/start.jpg" -filter Lanczos -resize 200x150 -unsharp 0x0.5 \
    -background black -gravity center -extent 238x179 preview.png
  jpeg24 preview.png "$ASSETS/preview-miniature.jpg"
  convert "$ASSETS/start.jpg" -filter Lanczos -resize 160x120 -unsharp 0x0.5 about.png
  jpeg24 about.png "$ASSETS/about-miniature.jpg"
}

# ---------------------------------------------------------------------------------------
# The pointing hand: drawn pixel for pixel, the tip of the index finger at 12, 1.

make_hand() {
  grid '#=black o=white' > hand.mvg <<'EOF'
................................
...........###..................
..........#ooo#.................
..........#ooo#.................
..........#ooo#.................
..........#ooo#.................
..........#ooo#.................
..........#ooo####..............
..........#ooo#ooo###...........
..........#ooo#ooo#ooo#.........
..........#ooo#ooo#ooo###.......
....##....#ooo#ooo#ooo#oo#......
...#oo#...#ooo#ooo#ooo#oo#......
...#ooo#..#ooooooooooooooo#.....
....#ooo#.#ooooooooooooooo#.....
....#oooo##ooooooooooooooo#.....
.....#oooooooooooooooooooo#.....
.....#oooooooooooooooooooo#.....
......#ooooooooooooooooooo#.....
.......#oooooooooooooooooo#.....
........#oooooooooooooooo#......
.........#oooooooooooooo#.......
..........#oooooooooooo#........
..........#oooooooooooo#........
..........##############........
EOF
  convert -size 32x32 xc:none -draw "$(cat hand.mvg)" hand.png
  rgba hand.png hand.rgba
  python3 "$SOURCE/write-icon.py" cur 12 1 hand.rgba "$ASSETS/hand.cur"
}

# ---------------------------------------------------------------------------------------
# The developer's portrait: a drawn figure in flat colours, head and shoulders, made at four
# times the size and reduced, so its curves come out smooth.

make_portrait() {
  local skin='#f1c7a3' hair='#4a3020' ink='#3a2a2a'
  convert -size 296x360 xc:'#d7e7f2' \
    -fill '#eaf3f9' -draw "circle 148,150 148,20" \
    -fill '#2f7d86' -draw "path 'M 20,360 C 24,290 60,262 110,252 L 186,252 C 236,262 272,290 276,360 Z'" \
    -fill '#266a72' -draw "path 'M 92,360 C 98,318 104,292 112,268 L 124,360 Z'" \
    -draw "path 'M 204,360 C 198,318 192,292 184,268 L 172,360 Z'" \
    -fill '#e6b690' -draw "path 'M 122,206 L 174,206 L 176,262 C 164,280 132,280 120,262 Z'" \
    -fill '#f4f1ea' -draw "path 'M 112,252 C 126,282 170,282 184,252 L 192,258 C 176,300 120,300 104,258 Z'" \
    -fill "$skin" -draw "ellipse 86,166 13,19 0,360" -draw "ellipse 210,166 13,19 0,360" \
    -fill "$hair" -draw "ellipse 148,132 68,70 0,360" \
    -fill "$skin" -draw "ellipse 148,166 62,74 0,360" \
    -fill "$hair" -draw "path 'M 84,156 C 74,92 110,62 152,62 C 198,62 224,96 212,152 C 206,128 196,112 184,102 C 166,124 122,134 94,124 C 89,134 86,144 84,156 Z'" \
    -fill '#f2a8a099' -draw "ellipse 110,196 13,8 0,360" -draw "ellipse 186,196 13,8 0,360" \
    -fill "$ink" -draw "ellipse 124,168 6,7 0,360" -draw "ellipse 172,168 6,7 0,360" \
    -fill none -stroke "$hair" -strokewidth 6 \
    -draw "stroke-linecap round path 'M 110,144 Q 124,136 138,142' path 'M 158,142 Q 172,136 186,144'" \
    -stroke '#2c3446' -strokewidth 5 \
    -draw "roundrectangle 102,150 144,186 10,10" -draw "roundrectangle 152,150 194,186 10,10" \
    -draw "line 144,164 152,164" -draw "line 102,162 88,158" -draw "line 194,162 208,158" \
    -stroke '#b97a5a' -strokewidth 5 -draw "stroke-linecap round path 'M 141,192 Q 148,198 155,192'" \
    -stroke '#9a4a3c' -strokewidth 5 -draw "stroke-linecap round path 'M 128,214 Q 148,230 168,214'" \
    portrait-big.png
  convert portrait-big.png -filter Lanczos -resize 74x90 \
    -quality 92 -sampling-factor 1x1 -strip "JPEG:$ASSETS/portrait.jpg"
}

# ---------------------------------------------------------------------------------------
# The help link: a web page with the shortcut arrow, in the 16 colours of the standard
# palette, drawn without anti-aliasing so that every edge stays one sharp pixel.

make_help() {
  local c vga=()
  for c in '#000000' '#800000' '#008000' '#808000' '#000080' '#800080' '#008080' '#c0c0c0' \
    '#808080' '#ff0000' '#00ff00' '#ffff00' '#0000ff' '#ff00ff' '#00ffff' '#ffffff'; do
    vga+=("xc:$c")
  done
  convert "${vga[@]}" +append vga.png
  grid '#=black o=white' > arrow.mvg <<'EOF'
############
#oooooooooo#
#oooo#####o#
#ooooo####o#
#oooo#####o#
#ooo##oo##o#
#oo##oooo#o#
#o##ooooooo#
#o##ooooooo#
#o##ooooooo#
#oooooooooo#
############
EOF
  convert -size 12x12 xc:none -draw "$(cat arrow.mvg)" arrow.png
  # The page, its title, lines of text, a link and a picture; the arrow's box on its corner.
  convert -size 32x32 xc:none +antialias \
    -fill white -stroke '#808080' -draw "polygon 6,1 21,1 27,7 27,30 6,30" \
    -fill '#c0c0c0' -draw "polygon 21,1 21,7 27,7" -stroke none \
    -fill '#000080' -draw "rectangle 8,3 18,5" \
    -fill '#808080' -draw "rectangle 8,9 25,9" -draw "rectangle 8,11 22,11" \
    -draw "rectangle 8,15 14,15" -draw "rectangle 8,17 13,17" -draw "rectangle 8,19 14,19" \
    -draw "rectangle 13,23 25,23" -draw "rectangle 13,25 25,25" -draw "rectangle 13,27 21,27" \
    -fill '#0000ff' -draw "rectangle 8,13 14,13" \
    -fill '#00ffff' -draw "rectangle 16,13 25,21" \
    -fill '#ffff00' -draw "rectangle 22,14 23,15" \
    -fill '#008000' -draw "polygon 16,21 16,18 19,16 22,19 25,17 25,21" \
    arrow.png -geometry +0+20 -composite drawn.png
  # Remapping drops the transparency, so it is put back afterwards.
  convert drawn.png -alpha off +dither -remap vga.png \
    \( drawn.png -alpha extract -threshold 50% \) -compose CopyOpacity -composite help.png
  rgba help.png help.rgba
  python3 "$SOURCE/write-icon.py" ico 4 help.rgba "$ASSETS/help-link.ico"
}

# ---------------------------------------------------------------------------------------
# The download link: a floppy disk, drawn pixel for pixel at 32 x 32 with soft shading.

# shape W H POINTS FILL OUT: the fill image cut out to the polygon.
shape() {
  convert "$4" \( -size "$1x$2" xc:black -fill white -draw "polygon $3" \) \
    -alpha off -compose CopyOpacity -composite "$5"
}

make_download() {
  convert -size 32x32 gradient:'#5079d2'-'#1b3272' body.png
  shape 32 32 "3,3 25,3 28,6 28,28 3,28" body.png body.png
  convert -size 12x11 gradient:'#f5f7f9'-'#a4adb8' -rotate -90 shutter.png
  convert -size 32x32 xc:none \
    -fill '#0e1838' -draw "polygon 2,2 26,2 29,5 29,29 2,29" \
    body.png -composite \
    -fill '#86a4e4' -draw "line 3,3 24,3" -draw "line 3,4 3,27" \
    -fill '#3f4a58' -draw "rectangle 9,2 22,12" \
    shutter.png -geometry +10+2 -composite \
    -fill '#1a2030' -draw "rectangle 17,4 19,9" \
    -fill '#6f7a8c' -draw "rectangle 5,15 26,28" \
    -fill '#fbfbf6' -draw "rectangle 6,16 25,28" \
    -fill '#d9473b' -draw "rectangle 6,16 25,17" \
    -fill '#9db2d8' -draw "line 8,21 23,21" -draw "line 8,24 23,24" -draw "line 8,27 20,27" \
    drawn.png
  # One palette image: 8 bits per pixel, transparency in the AND mask.
  convert drawn.png -channel A -threshold 50% +channel -type PaletteMatte -colors 255 disk.png
  rgba disk.png disk.rgba
  python3 "$SOURCE/write-icon.py" ico 8 disk.rgba "$ASSETS/download-link.ico"
}

case "${1:-all}" in
  all) make_miniatures; make_portrait; make_help; make_download; make_hand ;;
  miniatures | portrait | help | download | hand) "make_$1" ;;
  *) echo "usage: $0 [all|miniatures|portrait|help|download|hand]" >&2; exit 2 ;;
esac
ls -l "$ASSETS"/*-miniature.bmp "$ASSETS"/portrait.jpg "$ASSETS"/*-link.ico "$ASSETS"/hand.cur
