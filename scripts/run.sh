#!/usr/bin/env bash
# Installs the packages, builds Quillet and starts it. Without a display it runs under a virtual
# X server and saves a screenshot of the running window.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLET_TESTS=OFF
cmake --build build -j"$(nproc)" --target quillet
if [ -n "${DISPLAY:-}" ]; then
  exec build/quillet
fi
display=":$((90 + RANDOM % 9))"
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp &
xvfb=$!
trap 'kill $xvfb 2>/dev/null' EXIT
export DISPLAY="$display"
sleep 1
openbox >/dev/null 2>&1 &
build/quillet &
app=$!
sleep 3
shot="$PWD/build/quillet-screenshot.png"
import -window root "$shot"
echo "Quillet is running on the virtual display $display (no display was set)."
echo "Screenshot saved to $shot"
echo "Drive it with e.g.: DISPLAY=$display xdotool search --name 'Quillet 3.2+'"
wait $app
