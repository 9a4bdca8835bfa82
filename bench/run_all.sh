#!/usr/bin/env bash
# Runs every benchmark program of a build and prints one table: benchmark, time per item, rate.
# Usage: bench/run_all.sh [BUILD_DIR]   (default: build)
set -euo pipefail
build=${1:-build}
printf '%-52s %14s %16s\n' "benchmark" "time/iteration" "items or tx/s"
for program in "$build"/bench/*; do
  [ -x "$program" ] && [ -f "$program" ] || continue
  "$program" --benchmark_format=csv 2>/dev/null | awk -F, 'NR > 1 && $1 != "" {
      name = $1; gsub(/"/, "", name)
      printf "%-52s %11.1f %s %16.0f\n", name, $3, $5, $7 }'
done
