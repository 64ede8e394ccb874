#!/bin/sh
# Draws the application icon, a clock face, at 256 pixels and writes it to an .ico file with
# the eight sizes the shell asks for: 256, 64, 48 and 40 pixels as PNG images, which Windows
# reads since Vista and which take a fraction of a bitmap's bytes, and the small sizes as
# bitmaps. Also writes the directory of a second icon group made of the same images, for the
# resource script: the images are then stored once, however many names the icon has.
# Usage: render_icon.sh OUTPUT.ico OUTPUT-GROUP
set -eu
out=$1
group=$2
parts="$out.parts"
rm -rf "$parts"
mkdir -p "$parts"
convert -size 256x256 xc:none \
  -fill '#1f5fbf' -stroke '#0d2f66' -strokewidth 12 -draw 'circle 128,128 128,12' \
  -fill '#fdfdf6' -stroke none -draw 'circle 128,128 128,36' \
  -stroke '#0d2f66' -strokewidth 12 \
  -draw 'line 128,44 128,68' -draw 'line 212,128 188,128' \
  -draw 'line 128,212 128,188' -draw 'line 44,128 68,128' \
  -stroke '#202020' -strokewidth 16 -draw 'line 128,128 128,66' \
  -strokewidth 11 -draw 'line 128,128 180,160' \
  -stroke none -fill '#d02020' -draw 'circle 128,128 128,114' \
  "$parts/drawn.png"

large="256 64 48 40"
small="32,24,20,16"
for size in $large; do
  convert "$parts/drawn.png" -resize "${size}x${size}" -strip -define png:compression-level=9 \
    -define png:exclude-chunks=date,time "PNG32:$parts/$size.png"
done
# The resource compiler keeps each image as the file gives it; the converter writes these
# sizes as bitmaps, with a directory whose entries are taken over below.
convert "$parts/drawn.png" -define icon:auto-resize="$small" "$parts/small.ico"

# A number as little-endian bytes. Usage: bytes NUMBER HOW-MANY (the shell's variables are
# all global: these names are its own).
bytes() {
  bytesLeft=$1
  bytesToGo=$2
  while [ "$bytesToGo" -gt 0 ]; do
    printf "\\$(printf '%03o' $((bytesLeft % 256)))"
    bytesLeft=$((bytesLeft / 256))
    bytesToGo=$((bytesToGo - 1))
  done
}

# An .ico file is a 6-byte header, a 16-byte directory entry per image (width, height, colours,
# reserved, planes, bits per pixel, bytes, offset) and the images. A width or height of 256 is
# written as 0.
smallCount=$(od -An -tu2 -j4 -N2 "$parts/small.ico" | tr -d ' ')
count=$(($(echo $large | wc -w) + smallCount))
offset=$((6 + 16 * count))
{
  bytes 0 2
  bytes 1 2
  bytes "$count" 2
  for size in $large; do
    length=$(stat -c %s "$parts/$size.png")
    bytes $((size % 256)) 1
    bytes $((size % 256)) 1
    bytes 0 2
    bytes 1 2
    bytes 32 2
    bytes "$length" 4
    bytes "$offset" 4
    offset=$((offset + length))
  done
  # The small images keep their order; they move by as many bytes as come before them now.
  shift=$((offset - 6 - 16 * smallCount))
  n=0
  while [ "$n" -lt "$smallCount" ]; do
    dd if="$parts/small.ico" bs=1 skip=$((6 + 16 * n)) count=12 2>/dev/null
    bytes $(($(od -An -tu4 -j$((6 + 16 * n + 12)) -N4 "$parts/small.ico" | tr -d ' ') + shift)) 4
    n=$((n + 1))
  done
  for size in $large; do
    cat "$parts/$size.png"
  done
  tail -c +$((6 + 16 * smallCount + 1)) "$parts/small.ico"
} >"$out"
rm -rf "$parts"

# An icon group is the .ico file's directory with, in place of each image's 4-byte file offset,
# the 2-byte number of the icon resource that holds the image. The resource compiler numbers
# the images of the script's only ICON statement 1, 2, 3 ... in file order.
head -c 6 "$out" >"$group"
n=1
while [ "$n" -le "$count" ]; do
  dd if="$out" bs=1 skip=$((6 + 16 * (n - 1))) count=12 2>/dev/null >>"$group"
  bytes "$n" 2 >>"$group"
  n=$((n + 1))
done
