#!/usr/bin/env bash
# A saver that dies of a fatal signal while it holds the keyboard and the
# pointer leaves neither held: the X server drops the grabs with the
# connection. A key without a password ends the saver with status 0.
set -u
source "$(dirname "$0")/lib.sh"
e2e_setup "$1"
PY=/usr/bin/python3

# Exit status 0 when some program holds the keyboard or the pointer.
input_held() {
  $PY - <<'PYEOF'
import sys
from Xlib import X, display
d = display.Display()
root = d.screen().root
k = root.grab_keyboard(False, X.GrabModeAsync, X.GrabModeAsync, X.CurrentTime)
p = root.grab_pointer(False, X.ButtonPressMask, X.GrabModeAsync, X.GrabModeAsync, X.NONE, X.NONE, X.CurrentTime)
d.ungrab_keyboard(X.CurrentTime)
d.ungrab_pointer(X.CurrentTime)
d.sync()
sys.exit(0 if X.AlreadyGrabbed in (k, p) else 1)
PYEOF
}

printf '[saver]\nnewBackColor=65280\n' > "$E2E_APP/z909ssaver.ini"
e2e_start /s
sleep 1.5
kill -0 "$E2E_SAVER" 2>/dev/null || fail "the saver did not start: $(cat "$E2E_WORK/stderr")"
input_held && fail "the saver holds the input without a password"
xdotool key space
e2e_wait_exit 3
[ "$E2E_STATUS" = 0 ] || fail "a key did not end the saver with status 0 (status $E2E_STATUS)"

printf '[saver]\nnewBackColor=65280\n[password]\nsaverPassword=pw\nsaverEnabled=1\n' > "$E2E_APP/z909ssaver.ini"
for signal in SEGV ABRT; do
  e2e_start /s
  sleep 1.5
  kill -0 "$E2E_SAVER" 2>/dev/null || fail "the saver did not start: $(cat "$E2E_WORK/stderr")"
  if ! input_held; then
    nm -C "$E2E_APP/glidorama" 2>/dev/null | grep -q 'Form1::Timer1_Timer' \
      || skip "this display form sets no key lock"
    fail "the saver does not hold the input while a password guards it"
  fi
  xdotool key x  # the prompt takes the grabs over
  sleep 0.5
  kill -"$signal" "$E2E_SAVER"
  e2e_wait_exit 3
  [ "$E2E_STATUS" != running ] || fail "SIG$signal did not end the saver"
  input_held && fail "the input is still held after the saver died of SIG$signal"
done
echo "exit signal: ok"
