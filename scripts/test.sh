#!/usr/bin/env bash
# Installs what is missing, then builds and tests every configuration CI
# checks, stopping at the first failure:
#   default   RelWithDebInfo in build/: build everything, run the whole suite
#   release   Release in build-release/: build the programs and libraries
#             (the optimiser's warnings differ), run nothing
#   sanitize  KALVARA_SANITIZE=ON without the desktop program in
#             build-sanitize/: the Qt-free suites and the fuzz corpus replay
#             under AddressSanitizer and UndefinedBehaviorSanitizer
# Usage: scripts/test.sh [default] [release] [sanitize]   (all three by default)
set -euo pipefail
cd "$(dirname "$0")/.."

stages=("$@")
if ((${#stages[@]} == 0)); then
    stages=(default release sanitize)
fi
for stage in "${stages[@]}"; do
    case $stage in
    default | release | sanitize) ;;
    *)
        echo "usage: scripts/test.sh [default] [release] [sanitize]" >&2
        exit 2
        ;;
    esac
done

scripts/deps.sh

jobs=$(nproc)
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

configure_and_build() {
    local build_dir=$1
    shift
    echo "== $build_dir: $*"
    cmake -S . -B "$build_dir" -G Ninja "${launcher[@]}" "$@" >/dev/null
    cmake --build "$build_dir" -j "$jobs"
}

for stage in "${stages[@]}"; do
    case $stage in
    default)
        # The source-tree assets stay off: the suite must find its data the
        # way an installed program does.
        configure_and_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKALVARA_DEV_ASSETS=OFF \
            -DKALVARA_SANITIZE=OFF
        QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j "$jobs"
        ;;
    release)
        configure_and_build build-release -DCMAKE_BUILD_TYPE=Release -DKALVARA_BUILD_TESTS=OFF \
            -DKALVARA_BUILD_BENCH=OFF
        ;;
    sanitize)
        configure_and_build build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo \
            -DKALVARA_SANITIZE=ON -DKALVARA_BUILD_GUI=OFF -DKALVARA_BUILD_BENCH=OFF
        ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:strict_string_checks=1 \
            UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
            ctest --test-dir build-sanitize --output-on-failure -j "$jobs"
        ;;
    esac
done
echo "== all green: ${stages[*]}"
