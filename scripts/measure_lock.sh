#!/usr/bin/env bash
# The locked saver's cost, and how fast it answers another program: "/s"
# with a password on the default effect, each program for the same time on
# one virtual screen (CPU and peak memory), then, for the last program, the
# longest of N times from another client unmapping our top window or raising
# its own over it to ours being back on top.
# Usage: scripts/measure_lock.sh [glidorama ...] [-- SECONDS WIDTHxHEIGHT N]
# (with no program: build/glidorama; defaults 20 s, 1920x1080, 100 times)
set -u
here=$(cd "$(dirname "$0")/.." && pwd)
binaries=()
while [ $# -gt 0 ] && [ "$1" != -- ]; do binaries+=("$(realpath "$1")"); shift; done
[ "${1:-}" = -- ] && shift
[ ${#binaries[@]} = 0 ] && binaries=("$here/build/glidorama")
seconds=${1:-20}
size=${2:-1920x1080}
times=${3:-100}

source "$here/tests/e2e/lib.sh"
e2e_setup "${binaries[0]}" "$size"
XC="/usr/bin/python3 $here/tests/e2e/x_client.py"
printf '[password]\nsaverPassword=Secret\nsaverEnabled=1\n' > "$E2E_WORK/settings.ini"
# A short first run without settings makes the sample pictures' copies, so
# that the locked runs show them (with the password alone in the file and
# no copies, the saver would show its "not processed" failure instead).
cp "${binaries[0]}" "$E2E_APP/glidorama"
rm -f "$E2E_APP/z909ssaver.ini"
e2e_start /s
sleep 3
kill "$E2E_SAVER"
wait "$E2E_SAVER" 2>/dev/null

for binary in "${binaries[@]}"; do
  cp "$binary" "$E2E_APP/glidorama"
  cp "$E2E_WORK/settings.ini" "$E2E_APP/z909ssaver.ini"
  e2e_start /s
  sleep "$seconds"
  # At the end, what is the program's own (anonymous) and what is mapped
  # from files (library code, fonts: shared with other programs, and
  # dropped by the kernel when it needs the room).
  split=$(awk '/RssAnon|RssFile|RssShmem/ {printf "%s %s kB, ", $1, $2}' "/proc/$E2E_SAVER/status")
  echo "$binary: $(e2e_saver_figures "$seconds") (${split%, }) ($size, $seconds s)"
  if [ "$binary" = "${binaries[-1]}" ]; then
    echo "$binary: back on top after an unmap or a raise, the longest of $times: $($XC restore "$times") ms"
  fi
  kill "$E2E_SAVER"
  wait "$E2E_SAVER" 2>/dev/null
  E2E_SAVER=
done
