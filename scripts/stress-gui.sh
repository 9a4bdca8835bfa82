#!/usr/bin/env bash
# Runs the widget tests (ctest label gui) ROUNDS times while the machine is loaded, and reports how often
# each test failed. A widget test that passes on a quiet machine and fails under load fails on someone's
# machine; this makes such a test hard to hide. Not run by CI.
#
#   scripts/stress-gui.sh [ROUNDS] [BUILD_DIR]      (defaults: 20 rounds, build/)
#
# The load is stress-ng on every core (installed when missing), as a parallel build would load them;
# ZT5_STRESS_LOAD=0 runs without it.
set -euo pipefail
cd "$(dirname "$0")/.."
rounds="${1:-20}"
build="${2:-build}"
[ -f "$build/CTestTestfile.cmake" ] || { echo "stress-gui: $build is not a build folder (run scripts/test-all.sh)" >&2; exit 2; }

load_pid=
cleanup() { [ -n "$load_pid" ] && kill "$load_pid" 2>/dev/null; wait 2>/dev/null || true; }
trap cleanup EXIT
if [ "${ZT5_STRESS_LOAD:-1}" != 0 ]; then
  if ! command -v stress-ng >/dev/null; then
    sudo_cmd=()
    [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends stress-ng
  fi
  # One worker a core plus one that touches memory: the tests then get a fraction of a core, as they do
  # beside a build.
  stress-ng --cpu "$(nproc)" --vm 1 --vm-bytes 256M --quiet &
  load_pid=$!
fi

failures=$(mktemp)
trap 'cleanup; rm -f "$failures"' EXIT
started=$SECONDS
for round in $(seq "$rounds"); do
  log=$(cd "$build" && ctest -L gui -j "$(nproc)" --timeout 600 2>&1) || true
  # ctest lists each failed test as "  123 - Suite.Name (Failed)".
  echo "$log" | sed -n 's/^ *[0-9]* - \([^ ]*\) (.*)$/\1/p' | tee -a "$failures" | sed "s/^/round $round: failed /"
  echo "round $round of $rounds: $(echo "$log" | grep -o '[0-9]* tests failed out of [0-9]*' || echo 'no summary')"
done
echo "== $rounds rounds in $((SECONDS - started)) s, load: $([ -n "$load_pid" ] && echo "stress-ng on $(nproc) cores" || echo none)"
if [ -s "$failures" ]; then
  sort "$failures" | uniq -c | sort -rn | awk -v n="$rounds" '{printf "%s failed %d of %d rounds\n", $2, $1, n}'
  exit 1
fi
echo "no test failed"
