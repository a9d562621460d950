#!/usr/bin/env bash
# Installs what is needed, builds, starts the receiver simulator on loopback
# and the program against it (over WLAN and the simulated USB). The simulator
# ends when the window closes.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh default
exec scripts/run-with-sim.sh build/default "$@"
