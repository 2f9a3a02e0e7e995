#!/usr/bin/env bash
# Runs one fuzz target under libFuzzer, with AddressSanitizer and
# UndefinedBehaviorSanitizer, for a number of seconds, then merges the inputs
# that reached new code into tests/fuzz/corpus/TARGET/. Installs clang when it
# is missing. Builds in its own folder, build-fuzz/ (or $KALVARA_FUZZ_BUILD_DIR),
# so the usual build is left alone; several targets may run at once.
#
# Usage: scripts/fuzz.sh TARGET SECONDS     e.g. scripts/fuzz.sh RtfReaderFuzz 600
# Targets are the folders of tests/fuzz/corpus/. KALVARA_FUZZ_MERGE=0 keeps
# the corpus as it is; KALVARA_FUZZ_FLAGS adds libFuzzer flags, for instance
# "-fork=1 -ignore_crashes=1" to go on past a known fault.
set -euo pipefail
cd "$(dirname "$0")/.."

usage() {
    echo "usage: scripts/fuzz.sh TARGET SECONDS" >&2
    echo "targets: $(ls tests/fuzz/corpus | tr '\n' ' ')" >&2
    exit 2
}
[[ $# -eq 2 ]] || usage
target=$1
seconds=$2
[[ $seconds =~ ^[0-9]+$ && $seconds -gt 0 ]] || usage
[[ $target =~ ^[A-Za-z0-9]+$ && -d tests/fuzz/corpus/$target ]] || usage
corpus=tests/fuzz/corpus/$target

if ! command -v clang++ >/dev/null; then
    SUDO=
    if [[ $(id -u) -ne 0 ]]; then
        SUDO=sudo
    fi
    echo "fuzz: installing clang"
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends clang
fi

build_dir=${KALVARA_FUZZ_BUILD_DIR:-build-fuzz}
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
mkdir -p "$build_dir"
# One build at a time in the shared folder; the runs themselves go in parallel.
(
    flock 9
    if [[ ! -f $build_dir/build.ninja ]]; then
        CC=clang CXX=clang++ cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
            -DKALVARA_FUZZ=ON -DKALVARA_BUILD_GUI=OFF -DKALVARA_BUILD_BENCH=OFF \
            -DKALVARA_WERROR=OFF "${launcher[@]}" >/dev/null
    fi
    cmake --build "$build_dir" --target "$target" >/dev/null
) 9>"$build_dir/.fuzz-build.lock"

program=$build_dir/tests/fuzz/$target
work=$build_dir/fuzz-runs/$target
mkdir -p "$work/new" "$work/artifacts"
dictionary=()
if [[ -f tests/fuzz/$target.dict ]]; then
    dictionary=(-dict="tests/fuzz/$target.dict")
fi

export ASAN_OPTIONS=${ASAN_OPTIONS:-halt_on_error=1:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
read -r -a extra_flags <<<"${KALVARA_FUZZ_FLAGS:-}"
status=0
"$program" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$work/artifacts/" "${dictionary[@]}" "${extra_flags[@]}" \
    "$work/new" "$corpus" || status=$?

if [[ ${KALVARA_FUZZ_MERGE:-1} != 0 ]]; then
    before=$(find "$corpus" -type f | wc -l)
    "$program" -merge=1 "${dictionary[@]}" "$corpus" "$work/new" >/dev/null 2>&1
    after=$(find "$corpus" -type f | wc -l)
    echo "fuzz: $target corpus $before -> $after inputs"
fi
if ((status != 0)); then
    echo "fuzz: $target found a fault; reproducers in $work/artifacts/" >&2
    echo "fuzz: replay one with $program FILE, or add it to $corpus/ to keep it checked" >&2
fi
exit "$status"
