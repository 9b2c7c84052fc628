#!/usr/bin/env bash
# Starts build/bin/qelvane under Xvfb, waits for its main window, saves a screenshot
# to the given file and quits the program.
#   scripts/screenshot.sh OUT.png [PROGRAM]
# PROGRAM defaults to build/bin/qelvane; QELVANE_SETTINGS may name a settings file to
# start from (the window placement of the picture, say); SCREENSHOT_KEYS may list keys
# (xdotool names, "pause" to wait for a window they open) to type into the window
# before the picture is taken, and SCREENSHOT_TYPE text to type after them;
# SCREENSHOT_WM=openbox runs the program under that window manager (with frames and
# real activation, as a desktop has).
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:?usage: scripts/screenshot.sh OUT.png [PROGRAM]}")
program=${2:-build/bin/qelvane}
title=${SCREENSHOT_WINDOW:-Qelvane 诗词库}

home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
mkdir -p "$home/Qelvane"
if [ -n "${QELVANE_SETTINGS:-}" ]; then cp "$QELVANE_SETTINGS" "$home/Qelvane/Qelvane.conf"; fi

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp > /dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true; rm -rf "$home"' EXIT
for _ in $(seq 50); do xdpyinfo -display "$display" > /dev/null 2>&1 && break; sleep 0.1; done

if [ -n "${SCREENSHOT_WM:-}" ]; then
  DISPLAY=$display "$SCREENSHOT_WM" > /dev/null 2>&1 &
  sleep 0.5
fi
DISPLAY=$display XDG_CONFIG_HOME=$home QT_QPA_PLATFORM=xcb "$program" > /dev/null 2>&1 &
app=$!
# Wait until the window is mapped (the splash is gone by then), then let it paint.
for _ in $(seq 100); do
  if DISPLAY=$display xwininfo -root -tree 2>/dev/null | grep -q "\"$title\""; then break; fi
  sleep 0.2
done
sleep "${SCREENSHOT_SETTLE:-1.5}"
if [ -n "${SCREENSHOT_KEYS:-}" ]; then
  window=$(DISPLAY=$display xdotool search --name "$title" | head -n 1)
  DISPLAY=$display xdotool windowfocus --sync "$window"
  for key in $SCREENSHOT_KEYS; do
    # "pause" waits for a window the keys before it opened.
    if [ "$key" = pause ]; then sleep 0.7; continue; fi
    DISPLAY=$display xdotool key --delay 60 "$key"
  done
  if [ -n "${SCREENSHOT_TYPE:-}" ]; then DISPLAY=$display xdotool type --delay 80 "$SCREENSHOT_TYPE"; fi
  sleep 0.8
fi
DISPLAY=$display import -window root "$out"
kill "$app" 2>/dev/null || true
wait "$app" 2>/dev/null || true
echo "screenshot: $out"
