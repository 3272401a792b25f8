#!/usr/bin/env bash
# CPU and peak memory of "/s" on the default settings, on one monitor and
# then on two, each WIDTH x HEIGHT, in one run on the dummy Xorg server of
# the end-to-end tests (needs root to start Xorg).
# Usage: scripts/measure_two_monitors.sh [path to glidorama] [WIDTH HEIGHT] [SECONDS]
set -u
here=$(cd "$(dirname "$0")/.." && pwd)
binary=${1:-$here/build/glidorama}
width=${2:-1920}
height=${3:-1080}
seconds=${4:-20}
source "$here/tests/e2e/lib.sh"
source "$here/tests/e2e/two_monitors.sh"
e2e_setup_two_monitors "$binary" "$width" "$height"

measure() {
  rm -f "$E2E_APP/z909ssaver.ini"
  e2e_start /s
  sleep "$seconds"
  echo "$1: $(e2e_saver_figures "$seconds")"
  kill "$E2E_SAVER"
  wait "$E2E_SAVER" 2>/dev/null
  E2E_SAVER=
}
e2e_monitor_off
sleep 1
measure "one monitor ${width}x${height}"
e2e_monitor_on
sleep 1
measure "two monitors ${width}x${height}"
