#!/usr/bin/env bash
# Configures and builds Kalvara in ./build (or $KALVARA_BUILD_DIR), through
# ccache when it is installed. Further arguments go to CMake's configure step,
# e.g. scripts/build.sh -DKALVARA_DEV_ASSETS=ON.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${KALVARA_BUILD_DIR:-build}
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" "$@" >/dev/null
cmake --build "$build_dir" -j "$(nproc)"
