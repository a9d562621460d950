#!/usr/bin/env bash
# `cmake --install` of a build into a temporary prefix, checked as an
# installed package is (scripts/check-install.sh), then removed.
# Usage: install-tree.sh BUILD_DIR
set -euo pipefail
BUILD="${1:?usage: install-tree.sh BUILD_DIR}"
HERE="$(cd "$(dirname "$0")" && pwd)"
PREFIX="$(mktemp -d "${TMPDIR:-/tmp}/lmk-install.XXXXXX")"
trap 'rm -rf "$PREFIX"' EXIT
cmake --install "$BUILD" --prefix "$PREFIX" >/dev/null
bash "$HERE/../../scripts/check-install.sh" "$PREFIX"
