#!/usr/bin/env bash
# Hand-edited settings far outside what the dialog offers (huge or negative
# amounts, speeds and times) keep the saver running instead of stopping it
# with an error, and a key still ends it.
set -u
source "$(dirname "$0")/lib.sh"
e2e_setup "$1" 640x480

run_case() {  # name, [saver] lines
  printf '[saver]\n%b\n[total]\nnewTotal=3\nClonesOfImage=12\n[speed]\nimageSpeed=1\n' "$2" > "$E2E_APP/z909ssaver.ini"
  e2e_start /s
  sleep 1.5
  kill -0 "$E2E_SAVER" 2>/dev/null || fail "$1: the saver stopped: $(cat "$E2E_WORK/stderr")"
  ! grep -q "unexpected error" "$E2E_WORK/stderr" || fail "$1: $(cat "$E2E_WORK/stderr")"
  xdotool key space
  e2e_wait_exit 3; [ "$E2E_STATUS" = 0 ] || fail "$1: a key press did not end the saver cleanly ($E2E_STATUS)"
}

run_case "huge amount" 'mode=0\nNextImageTime=0.02\nIntroImageAmount=1e9'
run_case "negative amount" 'mode=2\nNextImageTime=0.001\nIntroImageAmount=-30000'
run_case "huge jumps" 'mode=5\nSpeedofJump=1e9'
run_case "huge splat" 'mode=7\nSpeedofSplat=32767\nIntroImageAmount=1e6'
run_case "float time" 'mode=1\nNextImageTime=1e9\neffectMode=0'
echo "display extreme settings: ok"
