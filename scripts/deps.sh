#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Kalvara need,
# skipping those already present. Safe to run again and again. Arguments are
# further packages a tool script needs on top.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config ccache
    qt6-base-dev libgl-dev
    libhpdf-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    mupdf-tools poppler-utils xdg-utils python3
    desktop-file-utils
    libsodium-dev minisign
    libcli11-dev libfmt-dev libical-dev python3-icalendar
    scdoc man-db appstream
    dpkg-dev file lintian
    "$@"
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

# Root installs directly; a normal user goes through sudo where there is one,
# and is told what to run as root where there is none.
as_root=()
if [[ $(id -u) -ne 0 ]]; then
    if ! command -v sudo >/dev/null 2>&1; then
        echo "deps.sh: missing packages; as root, run: apt-get install --no-install-recommends ${missing[*]}" >&2
        exit 1
    fi
    as_root=(sudo)
fi

echo "Installing: ${missing[*]}"
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
