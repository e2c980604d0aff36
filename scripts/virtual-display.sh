# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Quillet developers

# shellcheck shell=bash
# Sourced by the scripts that show Quillet on a virtual X server when there is no display.
#   start_virtual_display WIDTHxHEIGHT [DISPLAY]
#       starts Xvfb (on the display given, else the first free one from :90) and openbox on it,
#       waits until both answer and exports DISPLAY. A window mapped while the window manager is
#       still starting stays unmapped, and the program's window would never show.
#   stop_virtual_display
#       ends both; scripts call it from their exit trap.
virtual_display_pids=()

start_virtual_display() {
  local size="$1" display="${2:-}" n=90
  if [ -z "$display" ]; then
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    display=":$n"
  fi
  Xvfb "$display" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
  virtual_display_pids+=($!)
  export DISPLAY="$display"
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  openbox >/dev/null 2>&1 &
  virtual_display_pids+=($!)
  for _ in $(seq 50); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
  done
}

stop_virtual_display() {
  local p
  for p in "${virtual_display_pids[@]}"; do kill "$p" 2>/dev/null || true; done
}
