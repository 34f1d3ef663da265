#!/usr/bin/env bash
# Renders the program icon trithemius-chiffre.svg into the PNG sizes of the
# hicolor icon theme, next to this script under hicolor/<size>x<size>/, in
# the sizes that the top CMakeLists.txt lists in TRITHEMIUS_ICON_SIZES.
# The PNGs are committed; run this again after changing the SVG.
# Needs: rsvg-convert (apt package librsvg2-bin).
set -euo pipefail

IconDir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
read -ra Sizes < <(sed -n 's/^set(TRITHEMIUS_ICON_SIZES \(.*\))$/\1/p' "$IconDir/../../CMakeLists.txt")
((${#Sizes[@]} > 0)) || { echo "no TRITHEMIUS_ICON_SIZES in CMakeLists.txt" >&2; exit 1; }
for Size in "${Sizes[@]}"; do
    mkdir -p "$IconDir/hicolor/${Size}x${Size}"
    rsvg-convert --width "$Size" --height "$Size" \
        --output "$IconDir/hicolor/${Size}x${Size}/trithemius-chiffre.png" \
        "$IconDir/trithemius-chiffre.svg"
done
