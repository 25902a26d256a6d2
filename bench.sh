#!/usr/bin/env bash
# Builds and runs every benchmark: native ones, then the Windows ones under Wine.
# Each prints BENCH lines (name, bytes, seconds, baseline, ratio).
set -eu
cd "$(dirname "$0")"
bash scripts/setup.sh
. scripts/env.sh
bash scripts/build.sh bench x64
mkdir -p build/bench-data
export GLIM_BENCH_DATA="$GLIM_ROOT/build/bench-data"
for b in build/bench/benchmarks/bench_*; do
  if [ -x "$b" ]; then "$b"; fi
done
glim_display
trap glim_stop_display EXIT
for b in build/x64/benchmarks/bench_*.exe; do
  if [ -e "$b" ]; then wine "$b"; fi
done
