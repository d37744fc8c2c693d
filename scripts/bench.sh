#!/bin/sh
# Builds the benchmarks (Release, build/bench) and runs them: every benchmark
# five times, medians reported, then the summary of the targets against
# SQLite's prepare. Arguments go to the benchmark program, for example
# --benchmark_filter=large or --benchmark_repetitions=9.
set -eu
cd "$(dirname "$0")/.."

# The benchmark library and SQLite, when missing (Debian 12).
missing=""
for p in libbenchmark-dev libsqlite3-dev; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done
if [ -n "$missing" ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends $missing
fi

cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DVEXAR_BUILD_BENCHMARKS=ON \
  -DVEXAR_BUILD_TESTS=OFF
cmake --build build/bench -j2 --target vexar_bench
exec build/bench/benchmarks/vexar_bench --benchmark_repetitions=5 \
  --benchmark_report_aggregates_only=true "$@"
