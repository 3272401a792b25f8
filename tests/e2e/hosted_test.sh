#!/usr/bin/env bash
# Hosted mode as a screen-saver host runs it: "--root" with the host's
# window in XSCREENSAVER_WINDOW (hex or decimal) and "--window-id". Pictures
# appear inside that window within half a second and nowhere else, follow
# it when it is resized, and the saver ends with status 0 on SIGTERM within
# 0.2 s and when the window is destroyed. A missing picture is reported on
# standard error while the saver goes on.
set -u
source "$(dirname "$0")/lib.sh"
e2e_setup "$1" 1024x768
PY=/usr/bin/python3
HERE=$(dirname "$0")
# Green background: inside the host's window either a picture or green.
printf '[saver]\nnewBackColor=65280\nmode=2\n' > "$E2E_APP/z909ssaver.ini"

# Opens the stand-in host window; its id is HOST_ID, its fifo fd 7.
open_host() {
  rm -f "$E2E_WORK/host.in" "$E2E_WORK/host.out"
  mkfifo "$E2E_WORK/host.in"
  $PY "$HERE/host_window.py" "$@" < "$E2E_WORK/host.in" > "$E2E_WORK/host.out" &
  HOST_PY=$!
  exec 7>"$E2E_WORK/host.in"
  for i in $(seq 1 100); do [ -s "$E2E_WORK/host.out" ] && break; sleep 0.05; done
  HOST_ID=$(head -1 "$E2E_WORK/host.out")
  [ -n "$HOST_ID" ] || fail "no host window"
}
close_host() { echo quit >&7; exec 7>&-; wait "$HOST_PY" 2>/dev/null; }
host_do() { local n; n=$(grep -c done "$E2E_WORK/host.out"); echo "$*" >&7
  for i in $(seq 1 40); do [ "$(grep -c done "$E2E_WORK/host.out")" -gt "$n" ] && return; sleep 0.05; done; }

# Waits until no magenta is left inside the box X Y W H (the saver covers
# its window); fails after $5 seconds. Prints the seconds it took.
covered_within() {
  local x=$1 y=$2 w=$3 h=$4 limit=$5 start now
  start=$(date +%s.%N)
  while :; do
    if ! xwd -root -silent | convert xwd:- -crop "${w}x${h}+${x}+${y}" -fill black +opaque '#ff00ff' \
        -format '%[fx:maxima.r]' info: | grep -q '^1'; then
      now=$(date +%s.%N); echo "$now - $start" | bc; return 0
    fi
    now=$(date +%s.%N)
    [ "$(echo "$now - $start > $limit" | bc)" = 1 ] && return 1
    sleep 0.02
  done
}
# The share of the box's pixels that are neither green background nor black.
picture_share() {
  xwd -root -silent | convert xwd:- -crop "$3x$4+$1+$2" -fill black -opaque '#00ff00' \
    -threshold 8% -format '%[fx:mean]' info:
}

# Starts the saver ($@ after the environment in SAVER_ENV) into a 480x320
# host window at 100,80 and checks it covers that window and nothing else,
# then follows it to 800x600.
check_run() {
  local label=$1; shift
  open_host 100 80 480 320
  local t0 took
  t0=$(date +%s.%N)
  env "${SAVER_ENV[@]/@ID@/$HOST_ID}" "$E2E_APP/glidorama" "${@/@ID@/$HOST_ID}" 2>"$E2E_WORK/stderr" &
  E2E_SAVER=$!
  covered_within 100 80 480 320 3 >/dev/null || fail "$label: the host's window was not drawn over: $(cat "$E2E_WORK/stderr")"
  took=$(echo "$(date +%s.%N) - $t0" | bc)
  echo "$label: the window was covered ${took:0:5} s after the start"
  e2e_within "$took" "$FIRST_PICTURE_LIMIT" || fail "$label: the window took $took s to be covered"
  for p in "50 40" "700 500" "1000 700" "590 410"; do
    [ "$(e2e_pixel $p)" = "0,0,0" ] || fail "$label: the saver drew outside its window at $p"
  done
  sleep 0.5
  [ "$(echo "$(picture_share 100 80 480 320) > 0" | bc)" = 1 ] || fail "$label: no pictures in the window"
  host_do resize 800 600
  covered_within 100 80 800 600 3 >/dev/null || fail "$label: the drawing did not follow the window to 800x600"
}

# The saver shows its first frame within half a second on a quiet machine;
# the measuring itself (a screenshot per look) and other builds sharing the
# machine add to that, so the test allows more and prints what it saw.
FIRST_PICTURE_LIMIT=${FIRST_PICTURE_LIMIT:-2.0}

SAVER_ENV=(XSCREENSAVER_WINDOW=@ID@)
check_run "--root, hex id" --root
# SIGTERM: status 0 within 0.2 s.
t0=$(date +%s.%N)
kill -TERM "$E2E_SAVER"
e2e_wait_exit 1
took=$(echo "$(date +%s.%N) - $t0" | bc)
[ "$E2E_STATUS" = 0 ] || fail "SIGTERM did not end the saver with status 0 (status $E2E_STATUS)"
echo "SIGTERM: ended with status 0 after ${took:0:5} s"
e2e_within "$took" 0.2 || fail "SIGTERM took $took s"
close_host

check_run_decimal() {
  open_host 100 80 480 320
  XSCREENSAVER_WINDOW=$((HOST_ID)) e2e_start -root
  covered_within 100 80 480 320 3 >/dev/null || fail "-root, decimal id: the host's window was not drawn over: $(cat "$E2E_WORK/stderr")"
  echo "-root, decimal id: covered"
}
check_run_decimal
# The host destroys its window: the saver ends with status 0.
host_do destroy
e2e_wait_exit 1
[ "$E2E_STATUS" = 0 ] || fail "the saver did not end with status 0 when its window went (status $E2E_STATUS)"
close_host

SAVER_ENV=(XSCREENSAVER_WINDOW=0x1)  # --window-id wins over the variable
check_run "--window-id" --window-id @ID@ -delay 10
kill -TERM "$E2E_SAVER"; e2e_wait_exit 1
[ "$E2E_STATUS" = 0 ] || fail "--window-id: SIGTERM status $E2E_STATUS"
close_host

# A settings panel's preview, 300x200: the whole saver in miniature, and
# nothing outside it.
open_host 600 500 300 200
e2e_start --window-id "$HOST_ID"
covered_within 600 500 300 200 3 >/dev/null || fail "the preview window was not drawn over: $(cat "$E2E_WORK/stderr")"
sleep 0.5
[ "$(echo "$(picture_share 600 500 300 200) > 0" | bc)" = 1 ] || fail "no pictures in the preview window"
[ "$(e2e_pixel 590 490)" = "0,0,0" ] && [ "$(e2e_pixel 905 705)" = "0,0,0" ] || fail "the preview drew outside its window"
kill -TERM "$E2E_SAVER"; e2e_wait_exit 1
close_host

# A picture that cannot be loaded: said once on standard error, and the
# saver goes on.
printf '[saver]\nnewBackColor=65280\nmode=0\n[total]\nnewTotal=2\n' > "$E2E_APP/z909ssaver.ini"
rm -f "$E2E_APP/Glidorama/Glidorama0.dib"
open_host 100 80 480 320
XSCREENSAVER_WINDOW=$HOST_ID e2e_start --root
sleep 1.5
kill -0 "$E2E_SAVER" 2>/dev/null || fail "a missing picture ended the hosted saver: $(cat "$E2E_WORK/stderr")"
grep -q 'Glidorama0.dib' "$E2E_WORK/stderr" || fail "the missing picture was not reported: $(cat "$E2E_WORK/stderr")"
[ "$(grep -c 'Glidorama0.dib' "$E2E_WORK/stderr")" = 1 ] || fail "the failure was reported more than once"
covered_within 100 80 480 320 1 >/dev/null || fail "the saver with a missing picture did not draw its window"
kill -TERM "$E2E_SAVER"; e2e_wait_exit 1
[ "$E2E_STATUS" = 0 ] || fail "SIGTERM after a failure: status $E2E_STATUS"
close_host
echo "hosted: ok"
