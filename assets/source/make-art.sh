#!/bin/bash
# Regenerates the program's raster art and the raster sample pictures, all drawn here from
# nothing but gradients, noise and geometry (ImageMagick 6, awk, the DejaVu and Liberation
# fonts of Debian):
#   assets/start.jpg             start picture, 640 x 480, 24-bit colour (JPEG, 4:4:4, quality 92)
#   assets/blank.bmp             one black pixel, 24-bit BMP
#   assets/glimra.ico            program icon, one 32 x 32 image, 256 colours with AND mask
#   assets/samples/01-harbour.jpg  1600 x 1200 JPEG
#   assets/samples/02-meadow.bmp   800 x 600 24-bit BMP
#   assets/samples/03-dunes.gif    640 x 400 GIF, two frames (the first one is the sunset)
#   assets/samples/04-blossom.ico  icon with 256 (PNG), 48, 32 and 16 pixel images
# With the argument "metafiles" (or "all") it also builds make-metafiles.cpp with MinGW-w64
# and runs it under Wine to write 05-balloons.wmf and 06-skyline.emf.
#
#   assets/source/make-art.sh            # raster art
#   assets/source/make-art.sh metafiles  # only the two metafiles
#   assets/source/make-art.sh all        # both
set -euo pipefail

SOURCE=$(cd "$(dirname "$0")" && pwd)
ASSETS=$(dirname "$SOURCE")
SAMPLES=$ASSETS/samples
WORK=$(mktemp -d /tmp/glimra-art.XXXXXX)
trap 'rm -rf "$WORK"' EXIT
cd "$WORK"
mkdir -p "$SAMPLES"

FONTS=/usr/share/fonts/truetype
SERIF_ITALIC=$FONTS/liberation/LiberationSerif-Italic.ttf
SANS=$FONTS/dejavu/DejaVuSans.ttf
SANS_LIGHT=$FONTS/dejavu/DejaVuSans-ExtraLight.ttf
SANS_BOLD=$FONTS/dejavu/DejaVuSans-Bold.ttf

# ---------------------------------------------------------------------------------------
# Helpers

# palette OUT COLOUR...: a smooth 256 x 1 strip through the colours.
palette() {
  local out=$1; shift
  local args=() c
  for c in "$@"; do args+=("xc:$c"); done
  convert "${args[@]}" +append -filter Triangle -resize '256x1!' "$out"
}

# vgrad W H OUT COLOUR...: vertical gradient through the colours, the first one at the top.
vgrad() {
  local w=$1 h=$2 out=$3; shift 3
  palette _pal.png "$@"
  convert -size "${w}x${h}" gradient:black-white _pal.png -clut "$out"
}

# ridge SEED W H BASE AMP ROUGH LEVELS [PEAKX PEAKW PEAKH]: polygon points of a fractal ridge.
ridge() {
  awk -v seed="$1" -v W="$2" -v H="$3" -v base="$4" -v amp="$5" -v rough="$6" -v n="$7" \
      -v peakx="${8:-0}" -v peakw="${9:-0}" -v peakh="${10:-0}" -f "$SOURCE/ridge.awk"
}

# layer W H POINTS FILL OUT: the fill image cut out to the polygon.
layer() {
  convert "$4" \( -size "$1x$2" xc:black -fill white -draw "polygon $3" \) \
    -alpha off -compose CopyOpacity -composite "$5"
}

# noisemap SEED W H OUT: grey noise stretched sideways, for ripples on water.
noisemap() {
  convert -seed "$1" -size "$(($2 / 70))x$(($3 / 3))" xc:gray +noise Random \
    -colorspace gray -resize "$2x$3!" "$4"
}

# Writers that pin the formats down.
bmp24() { convert "$1" -alpha off -type TrueColor -define bmp:format=bmp3 "BMP3:$2"; }

# ---------------------------------------------------------------------------------------
# The start picture: a moonrise over a mountain lake, with the product name.

make_start() {
  local W=640 H=480 HZ=300 SX=452 SY=236 RH=180
  vgrad $W $H sky.png '#0a1433' '#1a2b58' '#354a80' '#6f6d9e' '#c48c90' '#eeae80' '#f9d49a'
  awk -v W=$W -v HZ=$HZ 'BEGIN { srand(11); for (i = 0; i < 160; i++) {
      x = rand() * W; y = rand() ^ 1.8 * HZ * 0.6; a = (1 - y / (HZ * 0.6)) * 0.9 * rand();
      r = (rand() < 0.08) ? 1.1 : 0.6;
      printf "fill rgba(255,250,235,%.2f) circle %.1f,%.1f %.1f,%.1f\n", a, x, y, x + r, y } }' > stars.mvg
  convert -size ${W}x${H} xc:black -fill '#ffd9a8' -draw "circle $SX,$SY $((SX + 40)),$SY" \
    -blur 0x90 -level 0,60% glow1.png
  convert -size ${W}x${H} xc:black -fill '#fff0d0' -draw "circle $SX,$SY $((SX + 14)),$SY" \
    -blur 0x18 glow2.png
  convert sky.png -draw "$(cat stars.mvg)" \
    glow1.png -compose screen -composite glow2.png -compose screen -composite \
    \( -size ${W}x${H} xc:none -fill '#fff8e8' -draw "circle $SX,$SY $((SX + 13)),$SY" -blur 0x0.8 \) \
    -compose over -composite sky3.png

  convert -seed 7 -size ${W}x${H} plasma:grey50-grey50 -colorspace gray -blur 0x0.7 -auto-level tex.png
  vgrad $W $H far.png '#a898c0' '#bba2bb' '#dcaea6'
  vgrad $W $H far2.png '#7b78a8' '#8f86ae' '#b79aae'
  vgrad $W $H mid.png '#353c6e' '#464c80' '#6c6890'
  vgrad $W $H near.png '#12162f' '#181c3a' '#23264a'
  convert mid.png tex.png -compose softlight -composite mid.png
  convert far2.png tex.png -compose softlight -composite far2.png
  layer $W $H "$(ridge 5 $W $H 262 60 0.6 8 560 50 25)" far.png m0.png
  layer $W $H "$(ridge 12 $W $H 280 70 0.6 8 330 70 20)" far2.png m1.png
  layer $W $H "$(ridge 8 $W $H 290 90 0.62 8 140 80 70)" mid.png m2.png
  layer $W $H "$(ridge 21 $W $H 299 12 0.85 9)" near.png m3.png
  convert -size ${W}x50 gradient:black-'#b9a0b4' \( -size ${W}x14 gradient:'#b9a0b4'-black \) -append mist.png
  convert -size ${W}x${H} xc:black mist.png -geometry +0+$((HZ - 52)) -composite mistc.png
  convert sky3.png m0.png -composite m1.png -composite mistc.png -compose screen -composite \
    -compose over m2.png -composite m3.png -composite -crop ${W}x${HZ}+0+0 +repage top.png

  # The lake mirrors the land, rippled and darkened, with the moon's path on it.
  convert top.png -flip -crop ${W}x${RH}+0+0 +repage refl.png
  convert -seed 4 -size $((W / 60))x$((RH / 2)) xc:gray +noise Random -colorspace gray \
    -resize "${W}x${RH}!" disp.png
  awk -v RH=$RH -v SX=$SX 'BEGIN { srand(9); for (i = 0; i < 260; i++) {
      y = rand() ^ 1.3 * RH; w = (4 + y * 0.5) * (0.3 + rand()); x = SX + (rand() - 0.5) * (16 + y * 0.9);
      a = 0.5 * (1 - y / RH) * rand();
      printf "fill rgba(255,226,180,%.2f) rectangle %.1f,%.1f %.1f,%.1f\n", a, x - w / 2, y, x + w / 2, y + 0.8 } }' > glit.mvg
  convert refl.png disp.png -compose displace -set option:compose:args 8x3 -composite \
    \( -size ${W}x${RH} gradient:'#2c3560'-'#070a1c' \) -compose blend -set option:compose:args 42 -composite \
    -compose over -draw "$(cat glit.mvg)" refl2.png
  convert top.png refl2.png -append scene.png

  # Lettering with soft shadows.
  local title="Glimra ScreenSaver"
  local credit="Free picture screen saver for Windows — by the Glimra ScreenSaver developers"
  convert -size ${W}x${H} xc:none -font "$SERIF_ITALIC" -pointsize 62 -gravity north \
    -fill '#fff6e6' -annotate +0+56 "$title" t1.png
  convert t1.png -fill '#000010' -colorize 100 -blur 0x6 t1s.png
  convert -size ${W}x${H} xc:none -font "$SANS_LIGHT" -pointsize 16 -gravity north \
    -fill '#ece6f4' -annotate +0+136 "Pictures from your own folder, one at a time" t2.png
  convert -size ${W}x${H} xc:none -font "$SANS" -pointsize 12 -gravity south \
    -fill '#cfcbe0' -annotate +0+16 "$credit" t3.png
  convert t3.png -fill black -colorize 100 -blur 0x2.5 t3s.png
  convert scene.png t1s.png -composite t1.png -composite t2.png -composite \
    t3s.png -composite t3s.png -composite t3.png -composite \
    -seed 3 -attenuate 0.12 +noise Gaussian start.png
  # Kept as a JPEG: the picture is built into Glimra.scr, which should stay small.
  convert start.png -quality 92 -sampling-factor 1x1 -strip "$ASSETS/start.jpg"
}

make_blank() {
  convert -size 1x1 xc:black png24:blank.png
  bmp24 blank.png "$ASSETS/blank.bmp"
}

# ---------------------------------------------------------------------------------------
# The program icon: a framed landscape, drawn pixel for pixel at 32 x 32.

make_icon() {
  convert -size 32x32 xc:none \
    -fill '#3b2410' -draw "rectangle 1,3 30,28" \
    -fill '#c9902e' -draw "rectangle 2,4 29,27" \
    -fill '#f0c564' -draw "line 2,4 29,4" -draw "line 2,4 2,27" \
    -fill '#8a5a1c' -draw "line 3,27 29,27" -draw "line 29,5 29,27" \
    -fill '#6b4316' -draw "rectangle 4,6 27,25" \
    \( -size 22x18 gradient:'#2f86d8'-'#cfeeff' \) -geometry +5+7 -composite \
    -fill '#ffe14a' -stroke '#f29a1a' -strokewidth 0.8 -draw "circle 21.5,11.5 21.5,14.3" -stroke none \
    -fill '#74bf4f' -draw "polygon 5,20 9,15 12,17 15,13.5 20,19 26,16.5 26,24 5,24" \
    -fill '#2e7d32' -draw "polygon 5,22 10,19 15,21.5 20,18.8 26,21 26,24 5,24" \
    -fill '#3a8fd6' -draw "rectangle 5,23 26,24" \
    -fill '#cdeeff' -draw "line 19,23 23,23" -fill '#9fd4f5' -draw "line 17,24 21,24" \
    -fill '#ffffff' -draw "point 8,9" -draw "point 9,9" -draw "point 10,9" -draw "point 9,8" \
    -draw "point 10,8" -draw "point 11,9" -draw "point 12,9" \
    icon32.png
  # One palette image: 8 bits per pixel, transparency in the AND mask.
  convert icon32.png -channel A -threshold 50% +channel -type PaletteMatte -colors 255 \
    "ICO:$ASSETS/glimra.ico"
}

# ---------------------------------------------------------------------------------------
# 01: a harbour at sunset, 1600 x 1200 JPEG.

sailboat() { # X WATERLINE SCALE FLIP SAILCOLOUR -> MVG
  local ys; ys=$(awk "BEGIN { print $3 * $4 }")
  cat <<EOF
push graphic-context
translate $1,$2
scale $3,$ys
fill #1b1f2e
polygon -88,-16 92,-19 74,3 -72,3
fill #3a3036
polygon -86,-16 92,-19 90,-14 -85,-12
fill #2a2a38
rectangle -28,-30 18,-16
stroke #1b1f2e
stroke-width 3
line 0,-18 0,-236
line 0,-40 70,-34
stroke none
fill $5
polygon 5,-228 5,-44 78,-38
polygon -5,-214 -5,-24 -80,-22
fill #b33a3a
polygon 0,-236 16,-232 0,-228
pop graphic-context
EOF
}

lighthouse() { # X BASE SCALE FLIP -> MVG
  local ys; ys=$(awk "BEGIN { print $3 * $4 }")
  cat <<EOF
push graphic-context
translate $1,$2
scale $3,$ys
fill #d6c9cc
polygon -30,0 30,0 20,-250 -20,-250
fill #9f3336
polygon -28.2,-47 28.2,-47 26.2,-94 -26.2,-94
polygon -24.4,-141 24.4,-141 22.4,-188 -22.4,-188
polygon -20.6,-235 20.6,-235 20,-250 -20,-250
fill #ffd9a0
fill-opacity 0.55
polygon 22,0 30,0 20,-250 15,-250
fill-opacity 1
fill #2a2a38
rectangle -30,-262 30,-250
rectangle -16,-300 16,-262
fill #ffe7a6
rectangle -12,-296 12,-266
fill #7d2628
polygon -20,-300 20,-300 0,-322
stroke #2a2a38
stroke-width 2
line 0,-322 0,-334
stroke none
pop graphic-context
EOF
}

make_harbour() {
  local W=1600 H=1200 HZ=760 SX=1060 SY=690 RH=440
  vgrad $W $HZ hsky.png '#1f4f8e' '#3f73b0' '#7f9cc6' '#c9b4bd' '#f0bd8c' '#f9a356' '#fbb45e'
  # Clouds: fractal noise stretched sideways, fading towards the horizon.
  convert -seed 31 -size 400x190 plasma:grey50-grey50 -colorspace gray -blur 0x2 -auto-level \
    -resize "${W}x${HZ}!" -level 58%,88% \
    \( -size ${W}x${HZ} gradient:white-black -level 0,75% \) -compose multiply -composite cmask.png
  vgrad $W $HZ ccol.png '#e9dfe6' '#f3cfc0' '#f6b48e' '#f7a66e'
  convert ccol.png cmask.png -alpha off -compose CopyOpacity -composite clouds.png
  convert -size ${W}x${HZ} xc:black -fill '#ffcf8f' -draw "circle $SX,$SY $((SX + 90)),$SY" \
    -blur 0x200 -level 0,55% hglow1.png
  convert -size ${W}x${HZ} xc:black -fill '#fff0c8' -draw "circle $SX,$SY $((SX + 30)),$SY" \
    -blur 0x40 hglow2.png
  convert hsky.png clouds.png -composite hglow1.png -compose screen -composite \
    hglow2.png -compose screen -composite \
    -fill '#fff7e2' -draw "circle $SX,$SY $((SX + 34)),$SY" hsky2.png

  # A headland on the right with a little town along its shore.
  vgrad $W $H head.png '#6e6f93' '#8a7f98' '#b08e8e'
  layer $W $H "$(ridge 41 $W $H 735 40 0.55 8 1380 260 70)" head.png hill1.png
  awk 'BEGIN { srand(5); for (i = 0; i < 34; i++) {
      x = 1130 + rand() * 450; w = 8 + rand() * 12; h = 8 + rand() * 12; b = 752 + rand() * 6;
      printf "fill #%s rectangle %.0f,%.0f %.0f,%.0f\n", (rand() < .5 ? "9c8895" : "a8929b"), x, b - h, x + w, b;
      printf "fill #76627f polygon %.0f,%.0f %.0f,%.0f %.0f,%.0f\n", x - 2, b - h, x + w / 2, b - h - 6, x + w + 2, b - h;
      if (rand() < .6) printf "fill #ffd98a rectangle %.0f,%.0f %.0f,%.0f\n", x + 3, b - h + 4, x + 5, b - h + 7 } }' > town.mvg
  convert hsky2.png hill1.png -composite -draw "$(cat town.mvg)" \
    -fill '#8f7a95' -draw "polygon $(ridge 43 $W $H 758 8 0.7 8)" above.png

  # The sea: the sky mirrored, rippled and darkened, a path of sun glitter on it.
  convert above.png -flip -crop ${W}x${RH}+0+0 +repage hrefl.png
  convert -seed 8 -size $((W / 80))x$((RH / 3)) xc:gray +noise Random -colorspace gray \
    -resize "${W}x${RH}!" hdisp.png
  awk -v RH=$RH -v SX=$SX 'BEGIN { srand(9); for (i = 0; i < 900; i++) {
      y = rand() ^ 1.25 * RH; w = (8 + y * 0.9) * (0.2 + rand()); x = SX + (rand() - 0.5) * (40 + y * 1.4);
      a = 0.65 * (1 - 0.8 * y / RH) * rand();
      printf "fill rgba(255,230,170,%.2f) rectangle %.1f,%.1f %.1f,%.1f\n", a, x - w / 2, y, x + w / 2, y + 1.5 + y / 200 } }' > hglit.mvg
  convert -seed 14 -size $((W + 200))x${RH} xc:gray +noise Random -colorspace gray -motion-blur 0x30+0 \
    -crop ${W}x${RH}+100+0 +repage -auto-level +level 35%,65% waves.png
  convert hrefl.png hdisp.png -compose displace -set option:compose:args 14x6 -composite \
    \( -size ${W}x${RH} gradient:'#4a5576'-'#0f1a33' \) -compose blend -set option:compose:args 45 -composite \
    waves.png -compose softlight -composite \
    -compose over -draw "$(cat hglit.mvg)" sea.png
  convert above.png sea.png -append base.png

  # Boats, the lighthouse on its breakwater, gulls; the reflections drawn mirrored.
  {
    lighthouse 655 832 1 1
    sailboat 1240 948 1 1 '#efdccb'
    sailboat 470 800 0.42 1 '#e8cfbf'
    sailboat 880 812 0.3 1 '#e6c8b7'
    echo "fill #2b2a36 polygon -10,902 690,826 720,830 720,852 -10,1010"
    echo "fill #5e4f55 polygon -10,902 690,826 720,830 -10,912"
    echo "stroke #f3b77a stroke-width 2 stroke-opacity 0.6 line 0,901 690,825 stroke none stroke-opacity 1"
    echo "fill none stroke #2b2d40 stroke-width 3 stroke-linecap round"
    local g gx gy
    for g in 980,300 1040,270 1100,330 1330,420; do
      gx=${g%,*}; gy=${g#*,}
      echo "path 'M $((gx - 22)),$((gy - 6)) Q $((gx - 10)),$((gy - 14)) $gx,$gy Q $((gx + 10)),$((gy - 14)) $((gx + 22)),$((gy - 6))'"
    done
    echo "stroke none"
  } > objs.mvg
  {
    lighthouse 655 840 1 -1
    sailboat 1240 950 1 -1 '#efdccb'
    sailboat 470 801 0.42 -1 '#e8cfbf'
    sailboat 880 813 0.3 -1 '#e6c8b7'
    echo "fill #14131c polygon -10,1010 720,852 720,872 -10,1070"
  } > objr.mvg
  convert -size ${W}x${H} xc:none -draw "$(cat objr.mvg)" objr.png
  convert -seed 12 -size $((W / 80))x$((H / 3)) xc:gray +noise Random -colorspace gray \
    -resize "${W}x${H}!" odisp.png
  convert objr.png odisp.png -compose displace -set option:compose:args 10x5 -composite \
    -channel A -evaluate multiply 0.45 +channel objr2.png

  convert -size ${W}x${H} xc:none -font "$SANS_BOLD" -pointsize 250 -gravity northwest \
    -fill white -annotate +90+50 "JPEG" \
    -font "$SANS" -pointsize 44 -annotate +100+345 "Harbour at sunset · 1600 × 1200 photograph" hT.png
  convert hT.png -fill '#0b1a38' -colorize 100 -blur 0x8 hTs.png
  convert base.png objr2.png -composite -draw "$(cat objs.mvg)" \
    hTs.png -composite hT.png -composite \
    -seed 5 -attenuate 0.15 +noise Gaussian harbour.png
  convert harbour.png -strip -interlace none -sampling-factor 2x2 -quality 85 \
    "JPEG:$SAMPLES/01-harbour.jpg"
}

# ---------------------------------------------------------------------------------------
# 02: a summer meadow with a lone tree, 800 x 600 24-bit BMP.

cloud_puffs() { # SEED CX CY WIDTH -> MVG of overlapping puffs
  awk -v seed="$1" -v cx="$2" -v cy="$3" -v w="$4" 'BEGIN { srand(seed); n = int(w / 9);
    for (i = 0; i < n; i++) {
      t = rand(); x = cx - w / 2 + t * w; r = (w * 0.11) * (0.5 + rand()) * (1 - 1.3 * (t - 0.5) ^ 2);
      y = cy - r * 0.6 * rand();
      printf "circle %.1f,%.1f %.1f,%.1f\n", x, y, x + r, y }
    printf "rectangle %.1f,%.1f %.1f,%.1f\n", cx - w / 2 + w * 0.08, cy - 4, cx + w / 2 - w * 0.08, cy + w * 0.05 }'
}

make_meadow() {
  local W=800 H=600 c s cx cy w top bot
  vgrad $W $H msky.png '#2f6fc0' '#4f8fd8' '#86b7ea' '#c4def3' '#e6f0f4'
  cp msky.png sky.png
  for c in "1 560 150 260" "2 180 276 170" "3 700 300 120" "4 380 320 90"; do
    read -r s cx cy w <<<"$c"
    top=$((cy - w * 30 / 100)); bot=$((cy + w * 6 / 100))
    convert -size ${W}x${H} xc:black -fill white -draw "$(cloud_puffs "$s" "$cx" "$cy" "$w")" -blur 0x1.2 cm.png
    convert -size ${W}x${H} xc:white \( -size ${W}x$((bot - top)) gradient:white-'#b9c8dc' \) \
      -geometry +0+$top -composite -fill '#b9c8dc' -draw "rectangle 0,$bot $W,$H" cg.png
    convert cg.png cm.png -alpha off -compose CopyOpacity -composite cc.png
    convert sky.png cc.png -compose over -composite sky.png
  done

  convert -seed 3 -size ${W}x${H} plasma:grey50-grey50 -colorspace gray -blur 0x3 -auto-level gtex.png
  convert -seed 5 -size ${W}x${H} xc:gray +noise Random -colorspace gray -motion-blur 0x5+90 -auto-level grass.png
  vgrad $W $H far.png '#8fb4c0' '#a4c4b8'
  vgrad $W $H mid.png '#7db35e' '#4f8a3c' '#3f7530'
  vgrad $W $H near.png '#a2d45a' '#7cbd44' '#4b8c2a' '#2f6a1c'
  convert mid.png gtex.png -compose softlight -set option:compose:args 50 -composite \
    \( grass.png -blur 0x0.8 \) -compose softlight -composite mid.png
  convert near.png grass.png -compose softlight -composite near.png
  local p1 p2 p3
  p1=$(ridge 7 $W $H 395 30 0.45 6 150 200 40)
  p2=$(ridge 17 $W $H 435 50 0.35 5 600 170 60)
  p3=$(ridge 27 $W $H 505 40 0.3 5 120 300 50)
  layer $W $H "$p1" far.png h1.png
  layer $W $H "$p2" mid.png h2.png
  layer $W $H "$p3" near.png h3.png
  # A hedge along the crest, the tree, wild flowers in the foreground.
  tr ' ' '\n' <<<"$p2" | awk -F, 'BEGIN { srand(4) } NF == 2 && $2 < 480 && $1 > 20 && $1 < 790 {
      for (k = 0; k < 2; k++) { x = $1 + rand() * 8; y = $2 + 6 + rand() * 6; r = 3 + rand() * 4;
        printf "fill #%s circle %.1f,%.1f %.1f,%.1f\n", (rand() < .5 ? "2f5e2a" : "3b6e2f"), x, y, x + r, y } }' > hedge.mvg
  awk -v tx=612 -v ty=382 'BEGIN { srand(8);
      printf "fill #5a3b22 polygon %d,%d %d,%d %d,%d %d,%d\n", tx - 7, ty, tx + 7, ty, tx + 4, ty - 60, tx - 4, ty - 60;
      for (i = 0; i < 70; i++) { a = rand() * 6.283; d = rand() ^ 0.6 * 46;
        x = tx + cos(a) * d * 1.2; y = ty - 95 + sin(a) * d * 0.9; r = 11 + rand() * 10;
        s = (y - (ty - 95)) / 50 + (x - tx) / 90;
        col = (s > 0.3) ? "2d5a22" : (s > -0.2 ? "3f7a2c" : "5c9a3a");
        printf "fill #%s circle %.1f,%.1f %.1f,%.1f\n", col, x, y, x + r, y } }' > tree.mvg
  awk -v W=$W -v H=$H 'BEGIN { srand(21); for (i = 0; i < 900; i++) {
      y = 470 + rand() ^ 0.7 * (H - 470); x = rand() * W; r = 0.6 + (y - 470) / 70 * rand(); u = rand();
      col = (u < .45) ? "ffe14d" : (u < .75) ? "ffffff" : (u < .9) ? "e8505b" : "b57be8";
      printf "fill #%s circle %.1f,%.1f %.1f,%.1f\n", col, x, y, x + r, y } }' > flowers.mvg

  convert -size ${W}x${H} xc:none -font "$SANS_BOLD" -pointsize 130 -gravity northwest \
    -fill white -annotate +40+24 "BMP" \
    -font "$SANS" -pointsize 20 -annotate +46+180 "Summer meadow · 800 × 600 · 24-bit bitmap" mT.png
  convert mT.png -fill '#0d2a55' -colorize 100 -blur 0x5 mTs.png
  convert sky.png h1.png -composite h2.png -composite -draw "$(cat hedge.mvg)" \
    -fill '#2f5a2433' -draw "ellipse 630,384 60,8 0,360" -draw "$(cat tree.mvg)" \
    h3.png -composite -draw "$(cat flowers.mvg)" mTs.png -composite mT.png -composite \
    -seed 6 -attenuate 0.12 +noise Gaussian meadow.png
  bmp24 meadow.png "$SAMPLES/02-meadow.bmp"
}

# ---------------------------------------------------------------------------------------
# 03: desert dunes, flat colours, 640 x 400 GIF with two frames: sunset, then night.

wave() { # BASE A1 F1 P1 A2 F2 P2 -> polygon points closed along the bottom
  awk -v W=640 -v H=400 -v b="$1" -v a1="$2" -v f1="$3" -v p1="$4" -v a2="$5" -v f2="$6" -v p2="$7" 'BEGIN {
    for (x = 0; x <= W; x += 4) { y = b + a1 * sin(x * f1 + p1) + a2 * sin(x * f2 + p2); printf "%d,%.1f ", x, y }
    printf "%d,%d 0,%d", W, H, H }'
}

cactus() { # X BASE HEIGHT COLOUR -> MVG
  awk -v x="$1" -v b="$2" -v h="$3" -v c="$4" 'BEGIN { w = h / 11; t = 1.7 * w; r = t / 2; printf "fill %s\n", c
    printf "roundrectangle %.1f,%.1f %.1f,%.1f %.1f,%.1f\n", x - w, b - h, x + w, b + 2, w, w
    y = b - 0.42 * h; printf "roundrectangle %.1f,%.1f %.1f,%.1f %.1f,%.1f\n", x - 3.4 * w, y - t, x, y, r, r
    printf "roundrectangle %.1f,%.1f %.1f,%.1f %.1f,%.1f\n", x - 3.4 * w, b - 0.72 * h, x - 3.4 * w + t, y, r, r
    y = b - 0.58 * h; printf "roundrectangle %.1f,%.1f %.1f,%.1f %.1f,%.1f\n", x, y - t, x + 3.4 * w, y, r, r
    printf "roundrectangle %.1f,%.1f %.1f,%.1f %.1f,%.1f\n", x + 3.4 * w - t, b - 0.86 * h, x + 3.4 * w, y, r, r }'
}

dunes_frame() { # OUT "SKY BANDS" SUN DUNE1 DUNE2 DUNE3 CACTUS TEXT SHADOW SUBTITLE EXTRA-MVG
  local out=$1 sky=$2 sun=$3 d1=$4 d2=$5 d3=$6 cc=$7 tc=$8 ts=$9 sub=${10} extra=${11}
  local W=640 H=400 i=0 n c
  local mvg="fill ${sky##* } rectangle 0,0 $W,$H "
  n=$(wc -w <<<"$sky")
  for c in $sky; do mvg+="fill $c rectangle 0,$((i * 260 / n)) $W,$(((i + 1) * 260 / n)) "; i=$((i + 1)); done
  convert -size ${W}x${H} xc:none -fill "$sun" -draw "circle 410,215 410,110" \
    -fill black -draw "rectangle 0,160 $W,162 rectangle 0,176 $W,179 rectangle 0,192 $W,196 rectangle 0,208 $W,213 rectangle 0,224 $W,230" \
    -channel A -fx "p.a*(p.r>0.01)" +channel sun.png
  convert -size ${W}x${H} xc:none -draw "$mvg" ${extra:+-draw "$extra"} sun.png -composite \
    -fill "$d1" -draw "polygon $(wave 250 12 0.011 0.5 7 0.027 1.2)" \
    -fill "$d2" -draw "polygon $(wave 290 16 0.008 2.1 6 0.021 0.3)" \
    -fill "$d3" -draw "polygon $(wave 338 14 0.0065 4.0 6 0.019 2.2)" \
    -draw "$(cactus 110 352 96 "$cc"; cactus 528 300 50 "$cc"; cactus 590 306 36 "$cc")" \
    -font "$SANS_BOLD" -pointsize 100 -gravity northwest \
    -fill "$ts" -annotate +35+25 "GIF" -fill "$tc" -annotate +31+21 "GIF" \
    -font "$SANS" -pointsize 15 -fill "$tc" -annotate +36+130 "$sub" \
    -alpha off "$out"
}

make_dunes() {
  dunes_frame gif1.png "#2a1a4a #3b1f5c #55266b #742f73 #963a76 #b84a72 #d75f6c #ec7a64 #f6995e #fbb85e #fdd06a" \
    '#ffe8a0' '#f08a5d' '#c8553d' '#8e3b46' '#3b1f3a' '#fff3d6' '#4a1f4e' \
    "Dunes at sunset · 640 × 400 GIF" ""
  local stars
  stars=$(awk 'BEGIN { srand(5); for (i = 0; i < 90; i++) { x = rand() * 640; y = rand() * 220;
      printf "fill #fff6d0 circle %.0f,%.0f %.0f,%.1f ", x, y, x, y + 0.5 + rand() } }')
  dunes_frame gif2.png "#060a1e #0a1030 #0e1740 #131f50 #18285e #1f326a #283d74 #30477c #3a5284 #455d8a #4f6890" \
    '#f4f1e0' '#3b4f7a' '#2c3c62' '#1e2a4a' '#0d1326' '#e8ecff' '#000000' \
    "Frame 2 of 2 · the same dunes by night" "$stars"
  convert -delay 600 gif1.png -delay 300 gif2.png +dither -colors 255 -loop 0 "GIF:$SAMPLES/03-dunes.gif"
}

# ---------------------------------------------------------------------------------------
# 04: a blossom on a glossy tile, as an icon with four images; the 256 one says "ICO".

blossom() { # SIZE WITHTEXT(0|1) OUT
  local S=$1 text=$2 out=$3 R=256 k cy=128 petals=""
  [ "$text" = 1 ] && cy=100
  for k in 0 1 2 3 4; do
    petals+="push graphic-context translate 128,$cy rotate $((k * 72)) fill #ffd6ea stroke #f49ac4 stroke-width 3 ellipse 0,-44 30,46 0,360 fill #ffffff stroke none ellipse 0,-52 12,22 0,360 pop graphic-context "
  done
  local label=()
  [ "$text" = 1 ] && label=(-font "$SANS_BOLD" -pointsize 64 -gravity south
    -fill '#3a1450' -annotate +2+18 ICO -fill white -annotate +0+20 ICO)
  local sharpen=()
  [ "$S" -lt 64 ] && sharpen=(-unsharp 0x0.6+0.8)
  convert -size ${R}x${R} xc: -sparse-color barycentric '0,0 #6a34c4 255,255 #e0488c' \
    \( -size ${R}x${R} xc:black -fill white -draw "roundrectangle 6,6 249,249 52,52" \) \
    -alpha off -compose CopyOpacity -composite -compose over \
    \( -size ${R}x${R} xc:none -fill '#ffffff38' -draw "roundrectangle 14,12 241,120 44,44" \) -composite \
    -draw "$petals" \
    -draw "fill #ffcf3a stroke #e89a18 stroke-width 3 circle 128,$cy 128,$((cy + 20))" \
    -draw "fill #fff3b0 circle 122,$((cy - 6)) 122,$((cy - 1))" \
    "${label[@]}" -filter Lanczos -resize ${S}x${S} "${sharpen[@]}" "$out"
}

make_blossom() {
  blossom 256 1 b256.png
  blossom 48 0 b48.png
  blossom 32 0 b32.png
  blossom 16 0 b16.png
  # ImageMagick stores the 256 image PNG-compressed, the small ones as 32-bit bitmaps.
  convert b256.png b48.png b32.png b16.png -depth 8 -define png:format=png32 "ICO:$SAMPLES/04-blossom.ico"
}

# ---------------------------------------------------------------------------------------
# 05 and 06: the metafiles, drawn by a small GDI program under Wine.

make_metafiles() {
  x86_64-w64-mingw32-g++-posix -municode -static -O2 -o make-metafiles.exe \
    "$SOURCE/make-metafiles.cpp" -lgdi32
  # A throwaway Wine prefix; the program writes into the samples folder (drive Z: is /).
  WINEPREFIX=${WINEPREFIX:-/tmp/assets-wine} WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
    LC_ALL=C.UTF-8 wine make-metafiles.exe "Z:${SAMPLES//\//\\}"
}

case "${1:-raster}" in
  raster) make_start; make_blank; make_icon; make_harbour; make_meadow; make_dunes; make_blossom ;;
  metafiles) make_metafiles ;;
  all) make_start; make_blank; make_icon; make_harbour; make_meadow; make_dunes; make_blossom; make_metafiles ;;
  start | blank | icon | harbour | meadow | dunes | blossom) "make_$1" ;;
  *) echo "usage: $0 [raster|metafiles|all|start|blank|icon|harbour|meadow|dunes|blossom]" >&2; exit 2 ;;
esac
ls -l "$ASSETS"/*.bmp "$ASSETS"/*.ico "$SAMPLES"
