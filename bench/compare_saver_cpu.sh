#!/usr/bin/env bash
# The saver's CPU share and peak memory on the default settings, for two
# builds in one run, alternating (A, B, A, B...) so both see the same load.
# Usage: bench/compare_saver_cpu.sh OLD_GLIDORAMA NEW_GLIDORAMA [ROUNDS] [SECONDS] [WIDTHxHEIGHT]
set -u
here=$(cd "$(dirname "$0")/.." && pwd)
rounds=${3:-2}
seconds=${4:-20}
size=${5:-1920x1080}

measure() (
  source "$here/tests/e2e/lib.sh"
  e2e_setup "$2" "$size"
  e2e_start /s
  sleep "$seconds"
  echo "$1 $size: $(e2e_saver_figures "$seconds"), load $(cut -d' ' -f1-3 /proc/loadavg)"
)

for round in $(seq 1 "$rounds"); do
  measure "round $round old" "$1"
  measure "round $round new" "$2"
done
