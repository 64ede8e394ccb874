#!/bin/sh
# Draws the application icon, a clock face, at 256 pixels and writes it to an .ico file with
# the eight sizes the shell asks for. Usage: render_icon.sh OUTPUT.ico
set -eu
out=$1
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
