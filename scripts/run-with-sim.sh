#!/usr/bin/env bash
# Starts the receiver simulator on loopback and the program against it: WLAN
# over a free TCP port of 127.0.0.1, USB through the simulated USB library and
# the simulator's local socket. The simulator ends when the window closes.
#
# Usage: scripts/run-with-sim.sh [build-dir] [--no-usb] [--no-wlan] [lmk-sim options...]
#   build-dir   where lmk-sim and lmkinterface were built (default: build/default,
#               or build when that does not exist)
#   --no-usb    the program gets no USB library: it works over WLAN
#   --no-wlan   the program looks for the access point on a closed loopback port
# Without a display the window opens under xvfb-run.
# LMK_SIM_KEEP=1 keeps the simulator's folder (request log, state) afterwards.
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD=build/default
[ -d "$BUILD" ] || BUILD=build
if [ $# -gt 0 ] && [ "${1#-}" = "$1" ]; then
  BUILD="$1"
  shift
fi
USE_USB=1
USE_WLAN=1
while [ $# -gt 0 ]; do
  case "$1" in
    --no-usb) USE_USB=0; shift ;;
    --no-wlan) USE_WLAN=0; shift ;;
    *) break ;;
  esac
done

SIM="$BUILD/sim/lmk-sim"
APP="$BUILD/src/lmkinterface"
USBLIB="$BUILD/sim/liblmkusb-sim.so"
for f in "$SIM" "$APP"; do
  if [ ! -x "$f" ]; then
    echo "run-with-sim: $f is missing; build first (cmake --build $BUILD)" >&2
    exit 1
  fi
done

WORK="$(mktemp -d "${TMPDIR:-/tmp}/lmk-sim.XXXXXX")"
SIM_PID=""
APP_PID=""
cleanup() {
  if [ -n "$APP_PID" ] && kill -0 "$APP_PID" 2>/dev/null; then
    kill "$APP_PID" 2>/dev/null || true
    wait "$APP_PID" 2>/dev/null || true
  fi
  if [ -n "$SIM_PID" ] && kill -0 "$SIM_PID" 2>/dev/null; then
    kill "$SIM_PID" 2>/dev/null || true
    wait "$SIM_PID" 2>/dev/null || true
  fi
  if [ "${LMK_SIM_KEEP:-0}" = "1" ]; then
    echo "run-with-sim: simulator folder kept in $WORK" >&2
  else
    rm -rf "$WORK"
  fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

"$SIM" --port 0 --usb-socket "$WORK/usb.sock" --state-dir "$WORK/state" \
  --log "$WORK/requests.log" "$@" >"$WORK/sim.out" 2>"$WORK/sim.err" &
SIM_PID=$!

# The simulator prints "LISTENING <port>" once both of its servers listen.
PORT=""
for _ in $(seq 1 100); do
  PORT="$(sed -n 's/^LISTENING \([0-9][0-9]*\).*/\1/p' "$WORK/sim.out" | head -n 1)"
  [ -n "$PORT" ] && break
  if ! kill -0 "$SIM_PID" 2>/dev/null; then
    echo "run-with-sim: the simulator ended at start:" >&2
    cat "$WORK/sim.err" >&2
    exit 1
  fi
  sleep 0.1
done
if [ -z "$PORT" ]; then
  echo "run-with-sim: the simulator did not report its port within 10 s" >&2
  exit 1
fi

export LMK_HOST=127.0.0.1
if [ "$USE_WLAN" = "1" ]; then
  export LMK_PORT="$PORT"
else
  export LMK_PORT=9 # discard port: nothing listens, the probe fails at once
fi
if [ "$USE_USB" = "1" ] && [ -f "$USBLIB" ]; then
  LMK_USB_LIBRARY="$(cd "$(dirname "$USBLIB")" && pwd)/$(basename "$USBLIB")"
  export LMK_USB_LIBRARY
  export LMK_SIM_USB="$WORK/usb.sock"
else
  unset LMK_USB_LIBRARY LMK_SIM_USB
fi
echo "run-with-sim: lmk-sim listening on 127.0.0.1:$PORT, usb $([ "$USE_USB" = 1 ] && echo on || echo off), requests logged to $WORK/requests.log" >&2

# In the background, so that a signal to this script ends the program too.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  xvfb-run -a -s "-screen 0 1280x800x24" "$APP" &
else
  "$APP" &
fi
APP_PID=$!
status=0
wait "$APP_PID" || status=$?
APP_PID=""
exit "$status"
