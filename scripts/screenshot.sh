#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Quillet developers

# Makes the README's screenshot: builds Quillet if needed, starts it on a virtual X server in a
# scratch folder that holds the sample note (docs/sample-note.rtf), double-clicks the note in the
# file list as a user would, and saves the main window.
#
#   scripts/screenshot.sh                 # writes docs/screenshot.png
#   scripts/screenshot.sh out.png         # writes out.png
#   QT_SCALE_FACTOR=2 scripts/screenshot.sh big.png   # the same at twice the scale
set -euo pipefail
cd "$(dirname "$0")/.."
repo="$PWD"
out="${1:-docs/screenshot.png}"
case "$out" in /*) ;; *) out="$repo/$out" ;; esac
scale="${QT_SCALE_FACTOR:-1}"

for tool in Xvfb xdotool import openbox; do
  command -v "$tool" >/dev/null || { scripts/install-deps.sh; break; }
done
[ -f build/build.ninja ] || cmake --preset dev
cmake --build build --target quillet

# The folder the program starts in: the note beside a few others, so the panel shows a list.
# A fixed place, so that the folder list reads the same at every run.
work=/tmp/quillet-screenshot
rm -rf "$work"
notes="$work/Notes"
mkdir -p "$notes/Letters" "$notes/Recipes"
cp docs/sample-note.rtf "$notes/Market day.rtf"
printf 'Call the garage about the brakes.\n' >"$notes/Reminders.txt"
printf 'Flour, eggs, milk.\n' >"$notes/Pancakes.txt"

source scripts/virtual-display.sh
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  stop_virtual_display
  rm -rf "$work"
}
trap cleanup EXIT

# SCREENSHOT_DISPLAY may name the display to use (":42").
start_virtual_display 2600x1800 "${SCREENSHOT_DISPLAY:-}"
(cd "$notes" && QT_SCALE_FACTOR="$scale" exec "$repo/build/quillet") &
pids+=($!)

window="$(xdotool search --sync --onlyvisible --name '^Quillet 3\.2\+$' | head -n 1)"
sleep 1
eval "$(xdotool getwindowgeometry --shell "$window")"  # WIDTH, HEIGHT in device pixels

# Layout places are logical pixels below the menu bar; the client area is 458 high.
px() { awk -v v="$1" -v s="$scale" 'BEGIN { printf "%d", v * s + 0.5 }'; }
menu=$((HEIGHT - $(px 458)))
# The file list is at 448, 224 in the client area; the note sorts first, its entry 13 high.
xdotool mousemove --window "$window" "$(px 470)" $((menu + $(px 231))) \
  click --repeat 2 --delay 120 1
sleep 2
# Park the pointer outside the window so no hover mark shows.
xdotool mousemove 0 0
sleep 0.5

import -window "$window" "$work/shot.png"
mkdir -p "$(dirname "$out")"
convert "$work/shot.png" -strip -define png:compression-level=9 "$out"
echo "Saved $out ($(stat -c %s "$out") bytes)"
