#!/bin/sh
# Draws the application icon, a clock face, at 256 pixels and writes it to an .ico file with
# the eight sizes the shell asks for. Also writes the directory of a second icon group made of
# the same images, for the resource script: the images are then stored once, however many
# names the icon has. Usage: render_icon.sh OUTPUT.ico OUTPUT-GROUP
set -eu
out=$1
group=$2
tmp="$out.png"
convert -size 256x256 xc:none \
  -fill '#1f5fbf' -stroke '#0d2f66' -strokewidth 12 -draw 'circle 128,128 128,12' \
  -fill '#fdfdf6' -stroke none -draw 'circle 128,128 128,36' \
  -stroke '#0d2f66' -strokewidth 12 \
  -draw 'line 128,44 128,68' -draw 'line 212,128 188,128' \
  -draw 'line 128,212 128,188' -draw 'line 44,128 68,128' \
  -stroke '#202020' -strokewidth 16 -draw 'line 128,128 128,66' \
  -strokewidth 11 -draw 'line 128,128 180,160' \
  -stroke none -fill '#d02020' -draw 'circle 128,128 128,114' \
  "$tmp"
convert "$tmp" -define icon:auto-resize=256,64,48,40,32,24,20,16 "$out"
rm -f "$tmp"

# An icon group is the .ico file's directory with, in place of each image's 4-byte file offset,
# the 2-byte number of the icon resource that holds the image. The resource compiler numbers
# the images of the script's only ICON statement 1, 2, 3 ... in file order.
count=$(od -An -tu2 -j4 -N2 "$out" | tr -d ' ')
head -c 6 "$out" >"$group"
n=1
while [ "$n" -le "$count" ]; do
  dd if="$out" bs=1 skip=$((6 + 16 * (n - 1))) count=12 2>/dev/null >>"$group"
  printf "\\$(printf '%03o' "$n")\\000" >>"$group"
  n=$((n + 1))
done
