#!/usr/bin/env bash
# Builds everything and runs every test: the normal build, then the core tests again under
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

jobs=$(nproc)
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# Let compiler caches serve any checkout of the project, wherever it lies.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=true

echo "== Build (build/) =="
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZT5_WERROR=ON "${launcher[@]}"
cmake --build build -j "$jobs"

echo "== Tests =="
(cd build && ctest --output-on-failure -j "$jobs" --timeout 600)

echo "== Core tests under ASan + UBSan (build-asan/) =="
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZT5_SANITIZE=ON -DZT5_BUILD_GUI=OFF \
  -DZT5_BUILD_BENCH=OFF "${launcher[@]}"
cmake --build build-asan -j "$jobs"
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --output-on-failure -j "$jobs" -L core --timeout 900)
