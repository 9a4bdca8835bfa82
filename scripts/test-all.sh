#!/usr/bin/env bash
# Builds everything and runs every test: the normal build (sources compiled in unity batches) with all
# tests (the fault soak included), then the whole suite again under AddressSanitizer and
# UndefinedBehaviorSanitizer, built file by file (the widget tests too, on the offscreen platform; the
# package is installed once, from the normal build), then the fuzz programs
# built with clang, each for ZT5_FUZZ_SECONDS (20). Every stage treats warnings as errors.
# Each stage says how long it took.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh --tests
# The tests that open our files in real readers (LibreOffice) fail instead of skipping when one is missing.
export ZT5_REQUIRE_READERS=1

jobs=$(nproc)
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# Let compiler caches serve any checkout of the project, wherever it lies.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=true
export CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime

# Each stage configures its own folder through its preset of CMakePresets.json (build-ci, build-asan,
# build-fuzz), so this run and scripts/demo.sh (build/, preset dev) never rebuild each other's files.
# Each configure leaves a trace that scripts/check-deps.sh holds against scripts/install-deps.sh, so a
# package this machine happens to have cannot hide a missing install step.
configure() {
  local preset="$1"
  shift
  local dir="build-$preset"
  mkdir -p "$dir"
  cmake --trace-format=json-v1 --trace-redirect="$dir/cmake-trace.json" --preset "$preset" "$@"
  scripts/check-deps.sh "$dir"
}

stage_start=$SECONDS
stage() {
  echo "== $1 =="
  stage_start=$SECONDS
}
stage_done() {
  echo "-- $1: $((SECONDS - stage_start)) s"
}

stage "Build (build-ci/)"
configure ci "${launcher[@]}"
cmake --build build-ci -j "$jobs"
stage_done "build"

stage "Tests"
(cd build-ci && ctest --output-on-failure -j "$jobs" --timeout 600)
stage_done "tests"

stage "Build under ASan + UBSan (build-asan/)"
# File by file here (no unity batches), so that every source is held to compile with its own includes.
configure asan "${launcher[@]}"
cmake --build build-asan -j "$jobs"
stage_done "sanitizer build"

stage "Tests under ASan + UBSan (all but the soak and the package)"
# Leaks inside the system's own libraries (not ours) are listed, each with its reason, in
# scripts/lsan.supp.
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 \
  LSAN_OPTIONS="suppressions=$PWD/../scripts/lsan.supp:print_suppressions=0" \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --output-on-failure -j "$jobs" -LE "soak|package" --timeout 900)
stage_done "sanitizer tests"

stage "Fuzz programs (build-fuzz/, clang)"
configure fuzz "${launcher[@]}"
cmake --build build-fuzz -j "$jobs" --target fuzz
scripts/run-fuzz.sh build-fuzz
stage_done "fuzz"
