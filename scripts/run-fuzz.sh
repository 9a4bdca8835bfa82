#!/usr/bin/env bash
# Runs every fuzz program of a fuzz build (cmake -DZT5_FUZZ=ON with clang) for ZT5_FUZZ_SECONDS seconds
# each (default 20), two at a time, starting from the checked-in seeds of fuzz/corpus. New inputs the
# fuzzer finds stay in BUILD/fuzz-work, not in the source tree; a crash leaves its input there as
# NAME-crash-... and fails the run (turn it into a test under tests/ before fixing it).
#
#     scripts/run-fuzz.sh [BUILD]        # BUILD defaults to build-fuzz
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build-fuzz}" && pwd)"
seconds="${ZT5_FUZZ_SECONDS:-20}"
work="$build/fuzz-work"
mkdir -p "$work/artifacts"

run_one() {
  local program=$1 name
  name=$(basename "$program")
  mkdir -p "$work/corpus/$name"
  if ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
     "$program" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
       -artifact_prefix="$work/artifacts/$name-" "$work/corpus/$name" "$root/fuzz/corpus/$name" \
       >"$work/$name.log" 2>&1; then
    echo "$name: $(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "$work/$name.log" | grep -o '[0-9]*$') runs, no fault"
  else
    echo "$name: FAULT (input and log in $work)"
    tail -n 60 "$work/$name.log"
    return 1
  fi
}
export -f run_one
export work root seconds

programs=("$build"/fuzz/fuzz_*)
[ -x "${programs[0]}" ] || { echo "no fuzz programs in $build/fuzz" >&2; exit 1; }
printf '%s\n' "${programs[@]}" | xargs -P 2 -I{} bash -c 'run_one "$1"' _ {}
