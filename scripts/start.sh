#!/usr/bin/env bash
# Installs what is missing, builds, and starts Kalvara. Arguments go to the program.
# Without a display the program says so and points at kalvara-cli.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh
build_dir=${KALVARA_BUILD_DIR:-build}
exec "$build_dir/src/app/kalvara" "$@"
