#!/usr/bin/env bash
# Builds the benchmarks in an optimised build folder of their own, runs them
# five times and prints the median of each.
# Usage: bench/run.sh [build-folder]   (default: build-bench)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build-bench}

cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=Release -DTAVRIN_TESTS=OFF -DTAVRIN_BENCHMARKS=ON >/dev/null
cmake --build "$BUILD" --target tavrin_bench -j 2 >/dev/null

cd "$BUILD/bench"
./tavrin_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
  --benchmark_out=results.json --benchmark_out_format=json >/dev/null
echo "Medians of 5 runs (all figures in $(pwd)/results.json):"
# The JSON report lists name, real_time, cpu_time and time_unit of each run in that order.
awk -F': ' '
  /"name":/      { gsub(/[",]/, "", $2); name = $2 }
  /"real_time":/ { gsub(/,/, "", $2); real = $2 }
  /"cpu_time":/  { gsub(/,/, "", $2); cpu = $2 }
  /"time_unit":/ { gsub(/[",]/, "", $2); if (name ~ /_median$/) printf "%-28s real %10.1f %s   cpu %10.1f %s\n", name, real, $2, cpu, $2 }
' results.json
