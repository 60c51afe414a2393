#!/bin/sh
# Draws the program icon (a target face with a small group) and writes it in
# the sizes the desktop entry uses. Needs ImageMagick's convert.
set -eu
out=${1:-$(dirname "$0")/../packaging/icons}
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
convert -size 512x512 xc:none \
  -fill '#f4f1e6' -stroke '#202020' -strokewidth 6 -draw 'circle 256,256 256,16' \
  -fill '#f4f1e6' -stroke '#202020' -strokewidth 5 -draw 'circle 256,256 256,64' \
  -fill '#1c1c1c' -stroke none -draw 'circle 256,256 256,112' \
  -fill none -stroke '#f4f1e6' -strokewidth 5 -draw 'circle 256,256 256,160' \
  -fill none -stroke '#f4f1e6' -strokewidth 5 -draw 'circle 256,256 256,208' \
  -stroke '#c62828' -strokewidth 10 -draw 'line 256,40 256,472' -draw 'line 40,256 472,256' \
  -fill '#ffd000' -stroke '#ffd000' -strokewidth 4 \
  -draw 'circle 300,214 300,232' -draw 'circle 332,236 332,254' -draw 'circle 288,182 288,200' \
  -draw 'circle 346,198 346,216' -draw 'circle 314,262 314,280' \
  -fill none -stroke '#c62828' -strokewidth 6 -draw 'rectangle 300,208 330,238' \
  "$tmp/icon.png"
for size in 48 128 256; do
  convert "$tmp/icon.png" -resize ${size}x${size} -depth 8 -strip "$out/peltrix-$size.png"
done
