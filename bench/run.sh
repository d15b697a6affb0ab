#!/usr/bin/env bash
# Builds the benchmarks in an optimised build folder of their own, runs them
# five times and prints the median of each case with the fast paths off and
# on side by side (both come from the same run of the same program).
# Usage: bench/run.sh [build-folder] [extra benchmark options]
#        (default build folder: build-bench)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build-bench}
shift || true

cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=Release -DTAVRIN_TESTS=OFF -DTAVRIN_BENCHMARKS=ON >/dev/null
cmake --build "$BUILD" --target tavrin_bench -j 2 >/dev/null

cd "$BUILD/bench"
./tavrin_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
  --benchmark_out="$(pwd)/results.json" --benchmark_out_format=json "$@" >/dev/null
echo "Medians of 5 runs, CPU time (loading: its own wall time; all figures in $(pwd)/results.json):"
# The JSON report lists name, real_time, cpu_time and time_unit of each run
# in that order; names end in /fast_paths_off or /fast_paths_on, then _median.
awk -F': ' '
  /^ *"name":/   { gsub(/[",]/, "", $2); name = $2 }
  /"real_time":/ { gsub(/,/, "", $2); real = $2 }
  /"cpu_time":/  { gsub(/,/, "", $2); cpu = $2 }
  /"time_unit":/ {
    gsub(/[",]/, "", $2)
    if (name !~ /_median$/) next
    # A case timed by hand (the loading) counts its own time, not the CPU
    # time of the whole iteration.
    value = name ~ /manual_time/ ? real : cpu
    sub(/(\/manual_time)?_median$/, "", name)
    way = name; sub(/.*\//, "", way); sub(/\/fast_paths_o(n|ff)$/, "", name)
    if (!(name in seen)) { seen[name] = 1; order[++n] = name }
    t[name, way] = value; unit[name] = $2
  }
  END {
    printf "%-26s %14s %14s %9s\n", "case", "fast paths off", "fast paths on", "speed-up"
    for (i = 1; i <= n; ++i) {
      c = order[i]; off = t[c, "fast_paths_off"]; on = t[c, "fast_paths_on"]
      printf "%-26s %11.1f %-2s %11.1f %-2s %8.1fx\n", c, off, unit[c], on, unit[c], (on > 0 ? off / on : 0)
    }
  }
' results.json
