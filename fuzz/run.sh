#!/bin/sh
# Builds the fuzz targets with clang-14 (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) and runs each for SECONDS seconds, starting
# from the seed corpus in fuzz/corpus. Inputs that add coverage are kept in
# the build directory, so that a later run goes on from them.
#
#   fuzz/run.sh SECONDS [TARGET...]     (default: every target)
#
# VEXAR_FUZZ_BUILD names the build directory (default build/fuzz).
# VEXAR_FUZZ_SEED and VEXAR_FUZZ_RUNS fix libFuzzer's seed and the number of
# inputs per target; VEXAR_FUZZ_RUNS=0 only runs the corpus (the test
# suite's smoke run does so, so that it cannot pass once and fail the next
# time). Add the input of every finding to fuzz/corpus once it is fixed.
# Exits 1 when a target reports a finding; the input that caused it is
# written next to the target's kept inputs (crash-*, leak-*, timeout-*).
set -eu

if [ $# -lt 1 ]; then
  echo "usage: $0 SECONDS [TARGET...]" >&2
  exit 2
fi
SECONDS_PER_TARGET=$1
shift
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${VEXAR_FUZZ_BUILD:-$ROOT/build/fuzz}
TARGETS=${*:-fuzz_generic fuzz_interbase fuzz_mysql}

if ! command -v clang++-14 >/dev/null 2>&1; then
  echo "fuzz: clang++-14 is missing (scripts/setup.sh installs it)" >&2
  exit 1
fi

cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++-14 \
  -DENABLE_FUZZING=ON -DVEXAR_BUILD_TESTS=OFF >/dev/null
# shellcheck disable=SC2086
cmake --build "$BUILD" -j2 --target $TARGETS

failed=""
EXTRA=""
[ -n "${VEXAR_FUZZ_SEED:-}" ] && EXTRA="$EXTRA -seed=$VEXAR_FUZZ_SEED"
[ -n "${VEXAR_FUZZ_RUNS:-}" ] && EXTRA="$EXTRA -runs=$VEXAR_FUZZ_RUNS"

for t in $TARGETS; do
  work=$BUILD/runs/$t
  mkdir -p "$work/corpus"
  echo "fuzz: $t for ${SECONDS_PER_TARGET}s"
  # -timeout is the hard stop for one input; the targets check the CPU time
  # of every call against a bound linear in the input themselves.
  # shellcheck disable=SC2086
  if ! "$BUILD/fuzz/$t" -max_total_time="$SECONDS_PER_TARGET" -timeout=10 $EXTRA \
      -max_len=8192 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$work/" "$work/corpus" "$ROOT/fuzz/corpus" \
      >"$work/log" 2>&1; then
    failed="$failed $t"
    tail -n 60 "$work/log" >&2
  else
    grep -E "^stat::(number_of_executed_units|peak_rss_mb)" "$work/log" | sed "s/^/fuzz: $t /"
  fi
done

if [ -n "$failed" ]; then
  echo "fuzz: findings in$failed (inputs under $BUILD/runs)" >&2
  exit 1
fi
echo "fuzz: no findings"
