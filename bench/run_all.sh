#!/usr/bin/env bash
# Builds the project in Release, runs every benchmark program and the start-up measurements, and prints
# one table with the figures and whether each target is met. PostgreSQL runs on a throw-away server
# (tests/archives/postgresql_server.sh), started and stopped here.
# Usage: bench/run_all.sh [BUILD_DIR]     (default: build-release beside the sources)
#   ZT5_BENCH_SKIP_BUILD=1   use BUILD_DIR as it is
#   ZT5_BENCH_JOBS=N         parallel build jobs (default 2)
#   ZT5_BENCH_FILTER=REGEX   only the benchmarks whose names match (Google Benchmark's filter)
#   ZT5_BENCH_REALTIME=0     run the benchmarks at normal priority
# Where allowed (root or CAP_SYS_NICE) the benchmark programs run at real-time priority (chrt -f 10), so
# that other jobs on the machine decide less of the figures: a loaded machine otherwise measures mostly
# how long each wake-up waits for a core. Start-up is measured at normal priority.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$root/build-release}")
work=$(mktemp -d /tmp/zt5-bench.XXXXXX)
results="$work/results.tsv"
: >"$results"

load_sampler=""
postgresql_state=""
cleanup() {
  [ -n "$load_sampler" ] && kill "$load_sampler" 2>/dev/null || true
  [ -n "$postgresql_state" ] && "$root/tests/archives/postgresql_server.sh" stop "$postgresql_state" || true
  rm -rf "$work"
}
trap cleanup EXIT

# --- Build ------------------------------------------------------------------------------------------
programs=()
for source in "$root"/bench/*.cpp; do
  programs+=("$(basename "$source" .cpp)")
done
if [ -z "${ZT5_BENCH_SKIP_BUILD:-}" ]; then
  echo "Building Release in $build ..."
  launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  export CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=true
  # The release preset of CMakePresets.json, in its folder unless another is given.
  cmake -S "$root" --preset release -B "$build" -DZT5_BUILD_GUI=ON -DZT5_BUILD_BENCH=ON \
    "${launcher[@]}" >"$work/cmake.log" || { cat "$work/cmake.log"; exit 1; }
  grep -i "libmodbus\|benchmark not found" "$work/cmake.log" || true
  ninja -C "$build" -j"${ZT5_BENCH_JOBS:-2}" "${programs[@]}" zt5ctl zt5-configurator >"$work/build.log" \
    || { tail -50 "$work/build.log"; exit 1; }
fi

# --- Machine and load -------------------------------------------------------------------------------
cpu=$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')
echo "Machine: $(nproc) cores, $cpu; $(date -u '+%Y-%m-%d %H:%M UTC')"
(while :; do cut -d' ' -f1 /proc/loadavg >>"$work/load"; sleep 5; done) &
load_sampler=$!

# --- PostgreSQL -------------------------------------------------------------------------------------
postgresql_state="$work/postgresql"
if "$root/tests/archives/postgresql_server.sh" start "$postgresql_state" >"$work/postgresql.log" 2>&1; then
  export ZT5_BENCH_POSTGRESQL
  ZT5_BENCH_POSTGRESQL=$(cat "$postgresql_state/connection")
else
  echo "PostgreSQL server did not start: its benchmarks are skipped"
  sed 's/^/  /' "$work/postgresql.log" | tail -5
  postgresql_state=""
fi

# --- Benchmarks -------------------------------------------------------------------------------------
priority=()
if [ "${ZT5_BENCH_REALTIME:-1}" != 0 ] && chrt -f 10 true 2>/dev/null; then
  priority=(chrt -f 10)
  echo "Benchmarks run at real-time priority (chrt -f 10)"
else
  echo "Benchmarks run at normal priority"
fi
# One line per benchmark: program, name, real time, unit, items/s, error, user counters as name=value.
fixed='["name","family_index","per_family_instance_index","run_name","run_type","repetitions","repetition_index",
        "threads","iterations","real_time","cpu_time","time_unit","items_per_second","bytes_per_second","label",
        "error_occurred","error_message","aggregate_name","aggregate_unit"]'
for name in "${programs[@]}"; do
  program="$build/bench/$name"
  if [ ! -x "$program" ]; then
    printf '%s\t%s\t\t\t\t%s\t\n' "$name" "$name" "not built" >>"$results"
    continue
  fi
  echo "Running $name ..."
  "${priority[@]}" "$program" --benchmark_format=json ${ZT5_BENCH_FILTER:+--benchmark_filter="$ZT5_BENCH_FILTER"} \
    2>"$work/$name.err" >"$work/$name.json" || echo "  $name exited with $?"
  jq -r --arg program "$name" --argjson fixed "$fixed" '.benchmarks[] | [$program, .name,
      (.real_time // "" | tostring), (.time_unit // ""), (.items_per_second // "" | tostring), (.error_message // ""),
      ([to_entries[] | select(.key as $k | $fixed | index([$k]) | not) | "\(.key)=\(.value | if type == "number" then (. * 1000 | round / 1000) else . end)"] | join(" "))]
    | @tsv' "$work/$name.json" >>"$results" || echo "  $name: no results"
done

# --- Start-up: the desktop program to its shown window, zt5ctl's info ------------------------------
# Five runs each; the median is reported. /usr/bin/time gives the wall time and the peak resident set.
median() { sort -n | awk '{ v[NR] = $1 } END { if (NR) print v[int((NR + 1) / 2)]; else print "" }'; }
measure() {  # label, then the command; appends "label,wall_ms,max_rss_kb,shown_ms"
  local label=$1; shift
  local walls=() rsses=() shows=()
  for run in 1 2 3 4 5; do
    /usr/bin/time -v -o "$work/time.txt" "$@" >"$work/out.txt" 2>"$work/err.txt" || true
    wall=$(awk -F': ' '/Elapsed \(wall clock\)/ { n = split($2, p, ":"); s = 0; for (i = 1; i <= n; ++i) s = s * 60 + p[i]; print s * 1000 }' "$work/time.txt")
    walls+=("$wall")
    rsses+=("$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$work/time.txt")")
    shows+=("$(sed -n 's/^shown after \([0-9.]*\) ms$/\1/p' "$work/out.txt")")
  done
  echo "$label,$(printf '%s\n' "${walls[@]}" | median),$(printf '%s\n' "${rsses[@]}" | median),$(printf '%s\n' "${shows[@]}" | median)" >>"$work/startup.csv"
}
: >"$work/startup.csv"
if [ -x /usr/bin/time ]; then
  echo "Running start-up measurements ..."
  mkdir -p "$work/home"
  measure "zt5-configurator --demo (offscreen)" env QT_QPA_PLATFORM=offscreen "$build/src/zt5-configurator" --demo \
    --quit-after-show --settings "$work/home/settings.ini" --workdir "$work/home"
  measure "zt5ctl --demo info" "$build/src/zt5ctl" --demo --settings "$work/home/settings.ini" --workdir "$work/home" info
else
  echo "/usr/bin/time is missing (package time): start-up is not measured"
fi

kill "$load_sampler" 2>/dev/null || true
load_sampler=""

# --- Table ------------------------------------------------------------------------------------------
echo
printf '%-48s %16s %10s  %s\n' "benchmark" "time" "items/s" "counters or error"
awk -F'\t' '{
  gsub(/\/(iterations|min_time|repeats):[^\/]*|\/real_time/, "", $2)
  time = $3 == "" ? "" : sprintf("%.3f %s", $3, $4)
  rate = $5 == "" ? "" : sprintf("%.0f", $5)
  note = $6 != "" ? "ERROR: " $6 : $7
  printf "%-48s %16s %10s  %s\n", $2, time, rate, note
}' "$results"

echo
printf '%-40s %12s %14s %12s\n' "start-up" "wall ms" "max RSS kB" "shown ms"
awk -F, '{ printf "%-40s %12s %14s %12s\n", $1, $2, $3, $4 }' "$work/startup.csv"

# --- Targets ----------------------------------------------------------------------------------------
counter() {  # benchmark name (up to a "/"), counter name -> value
  awk -F'\t' -v b="$1/" -v c="$2" 'index($2 "/", b) == 1 { n = split($7, kv, " "); for (i = 1; i <= n; ++i) { split(kv[i], p, "="); if (p[1] == c) print p[2] } }' "$results"
}
time_ms() {  # benchmark name -> its real time in ms
  awk -F'\t' -v b="$1" '$2 == b && $3 != "" { t = $3; if ($4 == "ns") t /= 1e6; else if ($4 == "us") t /= 1e3; else if ($4 == "s") t *= 1e3; print t }' "$results"
}
symbol() { [ "$1" = ge ] && echo "≥" || echo "≤"; }
verdict() {  # label, value, comparison ("ge" or "le"), target
  if [ -z "$2" ]; then
    printf '%-52s %10s  %s\n' "$1" "-" "not measured"
  elif awk -v v="$2" -v op="$3" -v t="$4" 'BEGIN { exit !((op == "ge" && v >= t) || (op == "le" && v <= t)) }'; then
    printf '%-52s %10.3f  met (%s %s)\n' "$1" "$2" "$(symbol "$3")" "$4"
  else
    printf '%-52s %10.3f  NOT met (%s %s)\n' "$1" "$2" "$(symbol "$3")" "$4"
  fi
}
echo
echo "Targets"
verdict "ours / libmodbus, Modbus TCP (median transaction)" \
  "$(counter BM_PairedTcp ratio_median)" ge 1.0
verdict "ours / libmodbus, RTU over a pty (median transaction)" \
  "$(counter BM_PairedRtuPty ratio_median)" ge 1.0
for baud in 9600 115200; do
  for set in 0 1; do
    for pty in 0 1; do
      line=$([ "$pty" = 1 ] && echo "pty" || echo "TCP")
      verdict "export / line limit, $baud baud, functions $set, $line" \
        "$(counter "BM_ExportAtLineSpeed/baud:$baud/function_set:$set/pty:$pty" over_limit)" le 1.05
    done
  done
done
for set in 0 1; do
  verdict "export / line limit, 9600 baud, 1 answer in 10 damaged, functions $set" \
    "$(counter "BM_ExportAtLineSpeedDamaged/function_set:$set" over_limit)" le 1.05
done

verdict "PostgreSQL export: server round trips per record" \
  "$(counter BM_ExportRoundTrips round_trips_per_record)" le 0.05
sqlite_rate=$(counter BM_ExportSqlite/rows:0 records_per_s)
postgresql_rate=$(counter BM_ExportPostgresql/rows:0 records_per_s)
verdict "export rate, PostgreSQL / SQLite (loopback)" \
  "$([ -n "$sqlite_rate" ] && [ -n "$postgresql_rate" ] && awk -v p="$postgresql_rate" -v s="$sqlite_rate" 'BEGIN { print p / s }')" ge 0.8
# 3 835 records/s: SQLite before the block writes, on the machine of docs/BENCHMARKS.md.
verdict "export rate, SQLite / before the block writes" \
  "$([ -n "$sqlite_rate" ] && awk -v s="$sqlite_rate" 'BEGIN { print s / 3835 }')" ge 2.0
verdict "collect, 40 meters on 8 lines: wall / busiest line" "$(counter BM_Collect/jobs:8 ratio)" le 1.15
verdict "watch round, 40 meters on 8 lines: wall / busiest line" "$(counter BM_WatchRound ratio)" le 1.15

verdict "trends: year of hourly records read, built, drawn (ms)" "$(time_ms BM_TrendPlotYear/q:4)" le 1000
verdict "trends: one zoom step drawn, 4 quantities (ms)" "$(time_ms BM_TrendZoomRender/q:4)" le 100

for format in 0:PDF 1:XLSX 2:CSV 3:HTML; do
  verdict "statement: a month from the database, ${format#*:} (ms)" "$(time_ms "BM_StatementMonth/format:${format%%:*}")" le 300
done
verdict "statement --all, 100 meters, SQLite (s)" \
  "$(t=$(time_ms "BM_StatementAll/engine:0/iterations:3/real_time"); [ -n "$t" ] && awk -v t="$t" 'BEGIN { print t / 1000 }')" le 30
verdict "statement --all, 100 meters, PostgreSQL (s)" \
  "$(t=$(time_ms "BM_StatementAll/engine:1/iterations:3/real_time"); [ -n "$t" ] && awk -v t="$t" 'BEGIN { print t / 1000 }')" le 30

if [ -s "$work/load" ]; then
  echo
  awk '{ s += $1; if (NR == 1 || $1 < lo) lo = $1; if ($1 > hi) hi = $1 } END {
         printf "Load average (1 min) during the run: min %.2f, mean %.2f, max %.2f (%d samples)\n", lo, s / NR, hi, NR }' "$work/load"
fi
