#!/usr/bin/env bash
# Starts lmk-sim on loopback and the program against it, over WLAN and the
# simulated USB. The simulator ends when the window closes.
# Usage: scripts/run-with-sim.sh [BUILD_DIR] [lmk-sim options...]
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD="${1:-build/default}"
shift || true
SIM="$BUILD/sim/lmk-sim"
APP="$BUILD/src/lmkinterface"
USBLIB="$(cd "$BUILD/sim" && pwd)/liblmkusb-sim.so"
for f in "$SIM" "$APP" "$USBLIB"; do
  [ -e "$f" ] || { echo "missing $f: build first (scripts/build.sh)" >&2; exit 1; }
done

TMP="$(mktemp -d)"
SIM_PID=""
cleanup() {
  if [ -n "$SIM_PID" ]; then kill "$SIM_PID" 2>/dev/null || true; wait "$SIM_PID" 2>/dev/null || true; fi
  rm -rf "$TMP"
}
trap cleanup EXIT INT TERM

"$SIM" --port 0 --usb-socket "$TMP/usb.sock" --state-dir "$TMP/state" --log "$TMP/requests.log" "$@" \
  >"$TMP/sim.out" 2>"$TMP/sim.err" &
SIM_PID=$!
PORT=""
for _ in $(seq 1 100); do
  PORT="$(sed -n 's/^LISTENING \([0-9]*\).*/\1/p' "$TMP/sim.out" | head -n1)"
  [ -n "$PORT" ] && break
  kill -0 "$SIM_PID" 2>/dev/null || { cat "$TMP/sim.err" >&2; exit 1; }
  sleep 0.1
done
[ -n "$PORT" ] || { echo "lmk-sim did not start" >&2; exit 1; }
echo "lmk-sim listening on 127.0.0.1:$PORT (requests logged to $TMP/requests.log)" >&2

export LMK_HOST=127.0.0.1 LMK_PORT="$PORT"
export LMK_USB_LIBRARY="$USBLIB" LMK_SIM_USB="$TMP/usb.sock"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ "${QT_QPA_PLATFORM:-}" = "" ]; then
  echo "no display: running under xvfb-run" >&2
  xvfb-run -a -s "-screen 0 1280x800x24" "$APP"
else
  "$APP"
fi
