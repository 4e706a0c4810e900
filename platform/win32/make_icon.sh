#!/usr/bin/env bash
# Redraws edgeway.ico, the application icon, and assets/edgeway.png, the same at 256 pixels for
# the Linux menu entry: the bar itself, a dark strip along the top edge of
# a light square with three slot boxes and the close glyph's corner. Needs ImageMagick's convert.
# Run it after changing the picture and commit the result; the build only reads the .ico.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
convert=/usr/bin/convert
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$convert" -size 256x256 xc:none \
  -fill '#2f6fb8' -draw 'roundrectangle 8,8 247,247 36,36' \
  -fill '#202020' -draw 'roundrectangle 8,8 247,124 36,36' -draw 'rectangle 8,60 247,124' \
  -fill '#1b1b1b' -draw 'rectangle 24,28 84,88' -draw 'rectangle 98,28 158,88' \
  -fill '#e2e2e2' -draw 'rectangle 40,44 68,72' -draw 'roundrectangle 114,44 142,72 6,6' \
  -stroke '#c7c7c7' -strokewidth 8 -draw 'line 184,36 224,76' -draw 'line 224,36 184,76' \
  "$work/icon.png"
for size in 16 24 32 48 64; do
  "$convert" "$work/icon.png" -resize ${size}x${size} "$work/icon-$size.png"
done
"$convert" "$work"/icon-{16,24,32,48,64}.png "$work/icon.png" "$here/edgeway.ico"
cp "$work/icon.png" "$here/../../assets/edgeway.png"
