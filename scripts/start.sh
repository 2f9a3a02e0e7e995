#!/usr/bin/env bash
# Installs what is missing, builds, and starts Kalvara. Arguments go to the program.
# Without a display the program says so and points at kalvara-cli.
# A build tree has no installed data, so this build reads help pages, pictures
# and History.rtf from the source tree's assets/ (KALVARA_DEV_ASSETS).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh -DKALVARA_DEV_ASSETS=ON
build_dir=${KALVARA_BUILD_DIR:-build}
exec "$build_dir/src/app/kalvara" "$@"
