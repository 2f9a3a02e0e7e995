#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Kalvara need,
# skipping those already present. Safe to run again and again.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config ccache
    qt6-base-dev libgl-dev
    libhpdf-dev libsimpleini-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    mupdf-tools poppler-utils xdg-utils python3
    desktop-file-utils
    libsodium-dev minisign
    libcli11-dev libfmt-dev libical-dev python3-icalendar
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done

if ((${#missing[@]} == 0)); then
    exit 0
fi

if [[ $(id -u) -ne 0 ]]; then
    SUDO=sudo
else
    SUDO=
fi

echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
