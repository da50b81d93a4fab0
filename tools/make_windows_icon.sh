#!/usr/bin/env bash
# Makes packaging/windows/quorel.ico, the bell in the sizes Windows shows (16 to 256 pixels), from
# packaging/quorel.svg. The icon is kept in the repository; run this again after a change of the
# drawing. Needs rsvg-convert (librsvg2-bin) and ImageMagick (imagemagick).
set -euo pipefail
cd "$(dirname "$0")/.."
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
pictures=()
for size in 16 20 24 32 40 48 64 256; do
    rsvg-convert --width "$size" --height "$size" packaging/quorel.svg -o "$work/$size.png"
    pictures+=("$work/$size.png")
done
mkdir -p packaging/windows
convert-im6.q16 "${pictures[@]}" packaging/windows/quorel.ico
