#!/usr/bin/env bash
# Renders the application's art from its SVG sources (app/resources/art) to the PNGs the binary
# embeds (app/resources/png), each at its exact pixel size, then checks the whole set.
#
# Bitmaps are 24-bit: every bitmap SVG paints its own opaque ground (the glass tile, or the black
# colour key of the globes), and check_art.py rewrites rsvg-convert's output as plain RGB, refusing
# any pixel that is not opaque. Icons keep their alpha channel.
#
# The strip tile and the button faces are drawn once per height; the state (normal grey or
# pressed blue) comes from a stylesheet, normal.css or pressed.css, so both states share every
# line of the drawing.
#
# Usage: tools/render_art.sh [OUT_DIR]   (default app/resources/png)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
art="$root/app/resources/art"
out="${1:-$root/app/resources/png}"
mkdir -p "$out"

command -v rsvg-convert >/dev/null || { echo "render_art: rsvg-convert missing (Debian package librsvg2-bin)" >&2; exit 1; }

# name           source               style    width height  kind
table=$(cat <<'EOF'
bitmap_10000     globe_latitude.svg   -        43    43      rgb
bitmap_10010     globe_longitude.svg  -        43    43      rgb
bitmap_10200     globe_latitude.svg   -        86    86      rgb
bitmap_10210     globe_longitude.svg  -        86    86      rgb
bitmap_10020     tile_38.svg          normal   26    38      rgb
bitmap_10025     tile_38.svg          pressed  26    38      rgb
bitmap_10220     tile_77.svg          normal   56    77      rgb
bitmap_10225     tile_77.svg          pressed  56    77      rgb
bitmap_10030     email_38.svg         normal   26    38      rgb
bitmap_10035     email_38.svg         pressed  26    38      rgb
bitmap_10040     sms_38.svg           normal   14    38      rgb
bitmap_10045     sms_38.svg           pressed  14    38      rgb
bitmap_10050     geonote_38.svg       normal   26    38      rgb
bitmap_10055     geonote_38.svg       pressed  26    38      rgb
bitmap_10060     copy_38.svg          normal   22    38      rgb
bitmap_10065     copy_38.svg          pressed  22    38      rgb
bitmap_10230     email_77.svg         normal   46    77      rgb
bitmap_10235     email_77.svg         pressed  46    77      rgb
bitmap_10240     sms_77.svg           normal   24    77      rgb
bitmap_10245     sms_77.svg           pressed  24    77      rgb
bitmap_10250     geonote_77.svg       normal   48    77      rgb
bitmap_10255     geonote_77.svg       pressed  48    77      rgb
bitmap_10260     copy_77.svg          normal   42    77      rgb
bitmap_10265     copy_77.svg          pressed  42    77      rgb
icon97_64        app_icon.svg         -        64    64      rgba
icon97_32        app_icon.svg         -        32    32      rgba
icon97_16        app_icon_16.svg      -        16    16      rgba
icon98_16        notify_icon_16.svg   -        16    16      rgba
icon99_64        notify_icon.svg      -        64    64      rgba
icon99_32        notify_icon.svg      -        32    32      rgba
EOF
)

# Width and height of a PNG, read from its IHDR chunk (bytes 16-23, big-endian).
png_size() {
  od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%d %d\n", $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8 }'
}

rgb=()
count=0
while read -r name src style w h kind; do
  [ -n "$name" ] || continue
  args=(--width "$w" --height "$h")
  [ "$style" = "-" ] || args+=(--stylesheet "$art/$style.css")
  rsvg-convert "${args[@]}" "$art/$src" -o "$out/$name.png"
  size=$(png_size "$out/$name.png")
  if [ "$size" != "$w $h" ]; then
    echo "render_art: $name.png is ${size/ /x}, must be ${w}x${h} (from $src)" >&2
    exit 1
  fi
  [ "$kind" = rgb ] && rgb+=("$out/$name.png")
  count=$((count + 1))
done <<< "$table"

python3 "$root/tools/check_art.py" rgb "${rgb[@]}"
python3 "$root/tools/check_art.py" check "$out"
echo "render_art: $count images in $out"
