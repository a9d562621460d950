#!/usr/bin/env bash
# Makes the README's screenshots (docs/screenshots/*.png): the real window
# against the simulator, under a virtual X server, each page in each
# language (Original, English, Deutsch). Usage: scripts/screenshots.sh [output folder]
set -euo pipefail
cd "$(dirname "$0")/.."
OUT="${1:-docs/screenshots}"
scripts/install-deps.sh
scripts/build.sh >/dev/null

# A free display number; the server listens on its local socket only.
for n in $(seq 90 120); do
  [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || { DISPLAY_NUMBER=$n; break; }
done
Xvfb ":$DISPLAY_NUMBER" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
XVFB_PID=$!
trap 'kill "$XVFB_PID" 2>/dev/null || true' EXIT
for _ in $(seq 50); do
  [ -e "/tmp/.X11-unix/X$DISPLAY_NUMBER" ] && break
  sleep 0.1
done

DISPLAY=":$DISPLAY_NUMBER" QT_QPA_PLATFORM=xcb LMK_HOST=127.0.0.1 \
  build/default/tools/lmk-screenshots "$OUT"
