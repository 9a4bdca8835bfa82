#!/usr/bin/env bash
# scripts/check-deps.sh against a configured fixture: the full package list passes, and a list with one
# package taken out fails naming that package, for each kind of lookup (a package config reached only
# through another's dependency, a pkg-config module, a program).
#   deps_check.sh SOURCE_DIR
set -euo pipefail
src="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/build"
cmake -S "$src/tests/package/deps_fixture" -B "$work/build" -G Ninja \
  --trace-format=json-v1 --trace-redirect="$work/build/cmake-trace.json" > "$work/configure.log" 2>&1 ||
  { cat "$work/configure.log"; exit 1; }
"$src/scripts/install-deps.sh" --list > "$work/all.txt"

failures=0
"$src/scripts/check-deps.sh" "$work/build" "$work/all.txt" > "$work/out" 2>&1 ||
  { echo "FAIL: the full list was refused"; cat "$work/out"; failures=$((failures + 1)); }

for package in libqt6opengl6-dev libhidapi-dev librsvg2-bin; do
  grep -vx "$package" "$work/all.txt" > "$work/less.txt"
  if "$src/scripts/check-deps.sh" "$work/build" "$work/less.txt" > "$work/out" 2>&1; then
    echo "FAIL: without $package the check passed"; failures=$((failures + 1))
  elif ! grep -q "^  $package:" "$work/out"; then
    echo "FAIL: without $package the check did not name it"; cat "$work/out"; failures=$((failures + 1))
  else
    echo "ok: without $package: $(grep -A1 "^  $package:" "$work/out" | tail -1 | sed 's/^ *//')"
  fi
done
# A configure without a trace is told, not passed.
mkdir -p "$work/empty" && cp "$work/build/CMakeCache.txt" "$work/empty/"
if "$src/scripts/check-deps.sh" "$work/empty" "$work/all.txt" > "$work/out" 2>&1; then
  echo "FAIL: a build folder without a trace passed"; failures=$((failures + 1))
fi
[ $failures -eq 0 ] && echo "all dependency checks behaved" || exit 1
