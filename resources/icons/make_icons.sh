#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Quillet developers

# Draws the desktop's icons of the program into the hicolor theme's folders under hicolor/:
#   16, 48, 64, 128, 256  rendered from Quillet.svg (a drawing of the 32-pixel icon, so the
#                         larger sizes are sharp rather than blown-up pixels)
#   32                    the program's own 32-pixel icon, Quillet.png, as drawn by hand
#   scalable              Quillet.svg itself
# Needs rsvg-convert (package librsvg2-bin). The results are committed, so a build does not need
# it. Run from anywhere: sh resources/icons/make_icons.sh
set -e
cd "$(dirname "$0")"
ID=io.github.quillet.Quillet
for size in 16 48 64 128 256; do
    mkdir -p "hicolor/${size}x${size}/apps"
    rsvg-convert -w "$size" -h "$size" Quillet.svg -o "hicolor/${size}x${size}/apps/$ID.png"
done
mkdir -p hicolor/32x32/apps hicolor/scalable/apps
cp Quillet.png "hicolor/32x32/apps/$ID.png"
cp Quillet.svg "hicolor/scalable/apps/$ID.svg"
