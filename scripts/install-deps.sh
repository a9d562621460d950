#!/usr/bin/env bash
# Installs the Debian packages needed to build, run and test (Debian 12, as
# root). Idempotent: does nothing when everything is present.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev libqt6opengl6-dev
  qt6-tools-dev qt6-l10n-tools
  qt6-qpa-plugins libgl-dev
  clang libclang-rt-14-dev
  xvfb xauth fonts-dejavu-core
  desktop-file-utils appstream dpkg-dev file groff-base
  zsh lintian libxml2-utils shared-mime-info librsvg2-bin
  libedit-dev
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "Installing: ${missing[*]}" >&2
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
