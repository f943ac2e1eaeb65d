#!/usr/bin/env bash
# Renders the icon's PNG sizes from the SVG (rsvg-convert, Debian's librsvg2-bin). Run it
# after changing the SVG and commit the pictures; the build only installs them.
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 24 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" org.telmora.Telmora.svg -o "org.telmora.Telmora-$size.png"
done
