#!/usr/bin/env bash
# Configures and builds one preset (default: "default") into build/<preset>;
# targets given after the preset are built alone (default: all).
# With ccache on the PATH the compiler runs through it; the cache is keyed on
# paths relative to the checkout, so several checkouts share it.
set -euo pipefail
cd "$(dirname "$0")/.."
PRESET="${1:-default}"
TARGETS=("${@:2}")
LAUNCHER=()
if command -v ccache >/dev/null 2>&1 && [ -z "${LMK_NO_CCACHE:-}" ]; then
  export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
  LAUNCHER=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake --preset "$PRESET" -G Ninja "${LAUNCHER[@]}" >/dev/null
cmake --build --preset "$PRESET" -j"$(nproc)" ${TARGETS[@]+--target "${TARGETS[@]}"}
