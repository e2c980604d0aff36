#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Quillet developers

# Installs the packages, builds Quillet and starts it. Without a display it runs under a virtual
# X server and saves a screenshot of the running window.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
# The tests' own build tree, so that scripts/test.sh afterwards builds on it; only the program is
# built here.
cmake --preset dev
cmake --build --preset dev -j"$(nproc)" --target quillet
if [ -n "${DISPLAY:-}" ]; then
  exec build/quillet
fi
source scripts/virtual-display.sh
start_virtual_display 1280x800
trap stop_virtual_display EXIT
build/quillet &
app=$!
# The screenshot once the main window shows (the first start of a fresh build may take a while).
timeout 60 xdotool search --sync --onlyvisible --name '^Quillet 3\.2\+$' >/dev/null || true
sleep 1
shot="$PWD/build/quillet-screenshot.png"
import -window root "$shot"
echo "Quillet is running on the virtual display $DISPLAY (no display was set)."
echo "Screenshot saved to $shot"
echo "Drive it with e.g.: DISPLAY=$DISPLAY xdotool search --name 'Quillet 3.2+'"
wait $app
