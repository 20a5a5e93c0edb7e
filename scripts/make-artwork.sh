#!/usr/bin/env bash
# Draws the program's artwork with ImageMagick into resources/:
#   background.jpg  1024 x 576: aged paper, green leaves top right, a large red "ICO" lower left
#   program.ico     one 128 x 128 image at 32 bits per pixel: the red "ICO" on a paper plate
# The random textures use fixed seeds, so the same ImageMagick draws the same pictures.
set -euo pipefail
out="$(cd "$(dirname "$0")/.." && pwd)/resources"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

red='#b3121b'
wordmark_font=DejaVu-Serif-Bold

# Paper: warm cloudy tones, fine fibres, darker towards the edges.
convert -seed 11 -size 1024x576 plasma:fractal -blur 0x10 -colorspace gray -auto-level \
  +level-colors '#d9bd86','#f7ecd2' "$tmp/clouds.png"
convert -seed 12 -size 1024x576 xc:gray50 +noise Random -colorspace gray -blur 0x0.7 \
  -motion-blur 0x6+15 -level 20%,80% "$tmp/fibres.png"
convert "$tmp/clouds.png" "$tmp/fibres.png" -compose soft-light -composite \
  -background '#9c7440' -vignette 0x120-40-40 "$tmp/paper.png"

# One leaf pointing right, with a midrib and side veins; copies are turned and scattered.
convert -size 220x100 xc:none \
  -fill '#3f8a2a' -stroke '#24571a' -strokewidth 2 \
  -draw "path 'M 6,50 C 60,-6 160,-4 214,50 C 160,104 60,106 6,50 Z'" \
  -stroke '#2a6a1e' -strokewidth 3 -draw "line 6,50 214,50" \
  -strokewidth 1.5 \
  -draw "line 60,50 85,22" -draw "line 60,50 85,78" \
  -draw "line 105,50 130,18" -draw "line 105,50 130,82" \
  -draw "line 150,50 172,24" -draw "line 150,50 172,76" \
  "$tmp/leaf.png"
convert "$tmp/leaf.png" -fill '#6aa83a' -colorize 35% "$tmp/leaf-light.png"

leaves=("$tmp/paper.png")
place() { # leaf image, scale %, angle, x, y
  convert "$1" -resize "$2%" -background none -rotate "$3" "$tmp/placed-$4-$5.png"
  leaves+=("$tmp/placed-$4-$5.png" -geometry "+$4+$5" -composite)
}
place "$tmp/leaf.png" 120 150 760 -30
place "$tmp/leaf-light.png" 100 200 880 40
place "$tmp/leaf.png" 90 120 650 10
place "$tmp/leaf-light.png" 110 230 900 150
place "$tmp/leaf.png" 80 175 820 110
place "$tmp/leaf-light.png" 70 100 700 -20
convert "${leaves[@]}" "$tmp/leaves.png"

# The wordmark: a soft shadow, then the red letters.
convert "$tmp/leaves.png" \
  \( -size 1024x576 xc:none -font "$wordmark_font" -pointsize 200 -fill '#00000070' \
     -annotate +44+550 'ICO' -blur 0x6 \) -composite \
  -font "$wordmark_font" -pointsize 200 -fill "$red" -stroke '#7a0a10' -strokewidth 3 \
  -annotate +36+542 'ICO' \
  -strip -quality 90 -sampling-factor 2x2 "$out/background.jpg"

# The icon: a rounded paper plate with the red wordmark, transparent around it.
convert -size 128x128 xc:none \
  -fill '#f4e7c6' -stroke '#8a6a3a' -strokewidth 3 -draw "roundrectangle 3,13 124,114 18,18" \
  -font "$wordmark_font" -pointsize 58 -fill "$red" -stroke '#7a0a10' -strokewidth 1.5 \
  -gravity center -annotate +0+2 'ICO' \
  -type TrueColorAlpha -strip "$tmp/icon.png"
convert "$tmp/icon.png" -define icon:auto-resize=128 "$out/program.ico"
echo "make-artwork: wrote $out/background.jpg and $out/program.ico"
