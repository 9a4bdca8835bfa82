#!/usr/bin/env bash
# Builds the desktop program (installing what the build needs) and starts it on the demo meter: a
# simulated ЗТ5 meter inside the program on a free loopback TCP port, chosen as the node "Демо-прибор".
# Press "Установить связь" and OK to connect. Extra arguments go to zt5-configurator, e.g.
# scripts/demo.sh --workdir /tmp/zt5-demo.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# Let compiler caches serve any checkout of the project, wherever it lies.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=true
# The dev preset's folder build/: warnings stay warnings here, so a new compiler's new warning cannot
# stop the demo (scripts/test-all.sh builds with -Werror in folders of its own).
cmake --preset dev "${launcher[@]}" >/dev/null
cmake --build --preset dev -j "$(nproc)" --target zt5-configurator

echo "ЗТ5 Конфигуратор с демо-прибором: build/src/zt5-configurator --demo $* (закрыть окно - выход)"
exec build/src/zt5-configurator --demo "$@"
