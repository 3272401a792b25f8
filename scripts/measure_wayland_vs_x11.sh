#!/usr/bin/env bash
# "/s" on the default settings at WIDTH x HEIGHT: CPU and peak memory of our
# process over SECONDS on Xvfb (X11) and on headless sway (Wayland), in one
# run; then on sway with two outputs, how long after the start each output
# got its first frame, and how many frames each output is sent, also once
# one is switched off.
# Usage: scripts/measure_wayland_vs_x11.sh [path to glidorama] [WIDTH HEIGHT] [SECONDS]
set -u
here=$(cd "$(dirname "$0")/.." && pwd)
binary=${1:-$here/build/glidorama}
width=${2:-1920}
height=${3:-1080}
seconds=${4:-20}
source "$here/tests/e2e/wayland_lib.sh"

# Starts "/s" with `start`, lets it run and prints its figures.
measure() {
  local label=$1 start=$2
  rm -f "$E2E_APP/z909ssaver.ini"
  $start /s
  sleep "$seconds"
  echo "$label: $(e2e_saver_figures "$seconds")"
  kill "$E2E_SAVER"
  wait "$E2E_SAVER" 2>/dev/null
  E2E_SAVER=
}

e2e_setup "$binary" "${width}x${height}"
measure "X11 (Xvfb) ${width}x${height}" e2e_start
e2e_teardown
trap - EXIT

wl_setup "$binary" "${width}x${height}"
measure "Wayland (headless sway) ${width}x${height}" wl_start

# The protocol log's clock: microseconds of the real-time clock, in 32 bits.
now_ms() { echo "scale=3; $(($(date +%s%6N) % 4294967296)) / 1000" | bc; }
wl_as swaymsg -q create_output
wl_as swaymsg -q output HEADLESS-2 resolution "${width}x${height}"
sleep 1
started=$(now_ms)
WAYLAND_DEBUG=1 wl_start /s
sleep 3
# First attach-and-commit of each surface. (libwayland 1.23 writes
# wl_surface#3 where 1.21 wrote wl_surface@3.)
awk -v t0="$started" '
  /-> wl_surface[@#][0-9]+\.attach\(wl_buffer/ { match($0, /wl_surface[@#][0-9]+/); attached[substr($0, RSTART, RLENGTH)] = 1 }
  /-> wl_surface[@#][0-9]+\.commit\(\)/ {
    match($0, /wl_surface[@#][0-9]+/); s = substr($0, RSTART, RLENGTH)
    if (attached[s] && !(s in first)) { first[s] = 1; match($0, /^\[ *[0-9.]+\]/); t = substr($0, 2, RLENGTH - 2) + 0
      printf "first frame of %s: %.0f ms after the start\n", s, t - t0 }
  }' "$E2E_WORK/stderr"
# Frames each output is sent while it shows (the compositor's frame callbacks
# pace them), and after it is switched off.
count_commits() {
  local mark
  mark=$(wc -l <"$E2E_WORK/stderr")
  sleep 3
  tail -n +"$mark" "$E2E_WORK/stderr" | grep -E -- '-> wl_surface[@#][0-9]+\.commit\(\)' | grep -oE 'wl_surface[@#][0-9]+' |
    sort | uniq -c | sed "s/^/commits in 3 s $1: /"
}
count_commits "with both outputs on"
wl_as swaymsg -q output HEADLESS-2 disable
sleep 1
wl_as swaymsg -t get_outputs | grep -q '"active": false' || echo "(this sway cannot switch a headless output off)"
count_commits "with HEADLESS-2 switched off"
