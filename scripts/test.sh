#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test (offscreen, loopback
# only). Usage: scripts/test.sh [preset]   (default, asan)
set -euo pipefail
cd "$(dirname "$0")/.."
PRESET="${1:-default}"
scripts/install-deps.sh
scripts/build.sh "$PRESET"
export QT_QPA_PLATFORM=offscreen
# The sanitizer run checks for leaks; only leaks inside third-party libraries
# are suppressed, each with its reason, in tests/lsan.supp.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$PWD/tests/lsan.supp:print_suppressions=0}"
ctest --preset "$PRESET" -j2 --timeout 300
