#!/usr/bin/env bash
# Renders the program icon trithemius-chiffre.svg into the PNG sizes of the
# hicolor icon theme, next to this script under hicolor/<size>x<size>/.
# The PNGs are committed; run this again after changing the SVG.
# Needs: rsvg-convert (apt package librsvg2-bin).
set -euo pipefail

IconDir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
for Size in 16 32 48 64 128 256; do
    mkdir -p "$IconDir/hicolor/${Size}x${Size}"
    rsvg-convert --width "$Size" --height "$Size" \
        --output "$IconDir/hicolor/${Size}x${Size}/trithemius-chiffre.png" \
        "$IconDir/trithemius-chiffre.svg"
done
