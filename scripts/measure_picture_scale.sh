#!/usr/bin/env bash
# CPU and peak memory of "/s" on the default settings at 1920 x 1080 and at
# 3840 x 2160 (picture scale 2), one Xvfb each, in one run, with the ratio
# of the two. A short first run on each screen makes the sample copies for
# its scale, so the figures are of the saver showing, not converting.
# Usage: scripts/measure_picture_scale.sh [path to glidorama] [SECONDS]
set -u
here=$(cd "$(dirname "$0")/.." && pwd)
binary=${1:-$here/build/glidorama}
seconds=${2:-20}

# Prints "<cpu percent> <peak kB>" for one screen size.
measure() {
  (
    source "$here/tests/e2e/lib.sh"
    e2e_setup "$binary" "$1"
    rm -f "$E2E_APP/z909ssaver.ini"
    e2e_start /s
    sleep 3
    kill "$E2E_SAVER"
    wait "$E2E_SAVER" 2>/dev/null
    e2e_start /s
    sleep "$seconds"
    e2e_saver_figures "$seconds" | awk '{print $2, $(NF-1)}' | tr -d '%'
  )
}

read -r cpu1 mem1 < <(measure 1920x1080)
read -r cpu2 mem2 < <(measure 3840x2160)
echo "1920x1080: CPU $cpu1% of one core, peak RSS $mem1 kB"
echo "3840x2160: CPU $cpu2% of one core, peak RSS $mem2 kB"
awk -v c1="$cpu1" -v c2="$cpu2" -v m1="$mem1" -v m2="$mem2" \
  'BEGIN { printf "4K / 1080p: CPU %.2fx, peak memory %.2fx\n", c2 / c1, m2 / m1 }'
