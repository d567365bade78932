#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, if any is missing.
# Usage: scripts/install-deps.sh [extra-package ...]
set -euo pipefail

packages=(
    cmake ninja-build g++ ccache pkg-config lld
    qt6-base-dev qt6-serialport-dev libgl-dev
    qt6-charts-dev qt6-datavisualization-dev libqt6opengl6-dev qt6-declarative-dev
    qt6-qpa-plugins libqt6printsupport6
    qt6-translations-l10n
    fonts-dejavu-core
    xdg-utils
    librsvg2-bin
    libqt6sql6-sqlite libqt6sql6-psql
    postgresql-15
)
packages+=("$@")

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
    sudo=()
elif command -v sudo >/dev/null; then
    sudo=(sudo)
else
    echo "error: need root or sudo to install: ${missing[*]}" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
