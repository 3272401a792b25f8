#!/usr/bin/env bash
# A click ends the saver whatever the pointer did before it: two jumps of the
# pointer, then a click a second later, twenty times. The Float picture
# fills most of the screen, so every jump lands on it.
set -u
source "$(dirname "$0")/lib.sh"
e2e_setup "$1" 1600x1000
convert -size 1560x960 gradient:navy-orange "$E2E_WORK/wide.png" || fail "convert could not make a picture"
printf '[saver]\nmode=1\ncenterImage=1\n[total]\nnewTotal=1\n[images]\n0=%s\n' "$E2E_WORK/wide.png" \
  > "$E2E_APP/z909ssaver.ini"

runs=${CLICK_RUNS:-20}
for run in $(seq 1 "$runs"); do
  e2e_start /s
  e2e_wait_pixel 1500 900 '!0,0,0' 5 || fail "run $run: the picture did not show: $(cat "$E2E_WORK/stderr")"
  xdotool mousemove 200 200
  xdotool mousemove 1500 900
  sleep 1
  kill -0 "$E2E_SAVER" 2>/dev/null || fail "run $run: the saver ended before the click"
  xdotool click 1
  e2e_wait_exit 3
  [ "$E2E_STATUS" = 0 ] || fail "run $run of $runs: the click did not end the saver (status $E2E_STATUS)"
done
echo "click after jumps: ok ($runs of $runs)"
