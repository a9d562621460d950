#!/usr/bin/env bash
# Configures and builds one preset (default: "default") into build/<preset>.
set -euo pipefail
cd "$(dirname "$0")/.."
PRESET="${1:-default}"
cmake --preset "$PRESET" -G Ninja >/dev/null
cmake --build --preset "$PRESET" -j"$(nproc)"
