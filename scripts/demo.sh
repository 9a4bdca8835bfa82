#!/usr/bin/env bash
# Builds the programs (installing what the build needs) and starts the demo: a simulated ЗТ5 meter on
# 127.0.0.1:5001 (Modbus RTU over TCP) with its exchange log on the terminal. Extra arguments go to the
# simulator (see zt5-meter-sim --help), e.g. scripts/demo.sh --pty --framing ascii.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# Let compiler caches serve any checkout of the project, wherever it lies.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=true
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
cmake --build build -j "$(nproc)" --target zt5-meter-sim

args=("$@")
[ ${#args[@]} -eq 0 ] && args=(--tcp 127.0.0.1:5001 -v)
echo "Демо-прибор: build/sim/zt5-meter-sim ${args[*]} (Ctrl+C - выход)"
exec build/sim/zt5-meter-sim "${args[@]}"
