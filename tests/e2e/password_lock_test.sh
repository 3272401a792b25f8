#!/usr/bin/env bash
# With a password, a key brings up the prompt in front of the display; a
# wrong password (or the right one in the wrong case) is refused, Enter on
# an empty box returns to the saver, the right password ends it. While the
# saver runs, another program gets no keys; once it has ended, it does.
set -u
source "$(dirname "$0")/lib.sh"
e2e_setup "$1"
PY=/usr/bin/python3

# A second X client: a small window that takes the input focus and logs
# the keys it receives.
cat > "$E2E_WORK/other.py" <<'PYEOF'
import sys, time
from Xlib import X, display
d = display.Display()
s = d.screen()
w = s.root.create_window(300, 300, 200, 100, 0, s.root_depth, event_mask=X.KeyPressMask,
                         background_pixel=s.white_pixel, override_redirect=1)
w.map()
d.sync()
log = open(sys.argv[1], 'w')
while True:
    while d.pending_events():
        e = d.next_event()
        if e.type == X.KeyPress:
            log.write('key %d\n' % e.detail)
            log.flush()
    try:
        w.set_input_focus(X.RevertToParent, X.CurrentTime)
        d.sync()
    except Exception:
        pass
    time.sleep(0.05)
PYEOF
# Whether some program holds the keyboard: our own grab attempt fails.
keyboard_held() {
  $PY - <<'PYEOF'
import sys
from Xlib import X, display
d = display.Display()
status = d.screen().root.grab_keyboard(False, X.GrabModeAsync, X.GrabModeAsync, X.CurrentTime)
d.ungrab_keyboard(X.CurrentTime)
d.sync()
sys.exit(0 if status == X.AlreadyGrabbed else 1)
PYEOF
}

$PY "$E2E_WORK/other.py" "$E2E_WORK/keys.log" &
OTHER=$!
trap 'kill $OTHER 2>/dev/null; e2e_teardown' EXIT
# The other client may take a while to map its window on a busy machine.
for i in $(seq 1 30); do
  xdotool mousemove 350 350 key a
  sleep 0.3
  grep -q 'key' "$E2E_WORK/keys.log" && break
done
grep -q 'key' "$E2E_WORK/keys.log" || fail "the other client does not receive keys to begin with"
: > "$E2E_WORK/keys.log"

# No effect: only the background shows, so no clone covers the pixels checked.
printf '[saver]\nmode=%s\nnewBackColor=65280\n[password]\nsaverPassword=Secret\nsaverEnabled=1\n' "$NO_EFFECT" > "$E2E_APP/z909ssaver.ini"
e2e_start /s
sleep 1.5
kill -0 "$E2E_SAVER" 2>/dev/null || fail "the saver did not start: $(cat "$E2E_WORK/stderr")"
e2e_wait_pixel 500 500 "0,255,0" || fail "the display does not cover the screen"
if ! keyboard_held; then
  # The stand-in display form that comes before the real one sets no key
  # lock; the real one (it has the clone tick) must.
  nm -C "$E2E_APP/glidorama" 2>/dev/null | grep -q 'Form1::Timer1_Timer' \
    || skip "this display form sets no key lock"
  fail "the saver does not hold the keyboard while a password guards it"
fi

xdotool key b
e2e_wait_pixel 500 500 "!0,255,0" || fail "a key did not bring up the password prompt"
for attempt in wrong secret; do
  xdotool type "$attempt"
  xdotool key Return
  sleep 0.3
  kill -0 "$E2E_SAVER" 2>/dev/null || fail "the password '$attempt' ended the saver"
done
keyboard_held || fail "the keyboard is free while the prompt is up"
[ ! -s "$E2E_WORK/keys.log" ] || fail "another program received keys while the saver was locked: $(cat "$E2E_WORK/keys.log")"

# Enter on an empty box goes back to the running display.
xdotool key Return
e2e_wait_pixel 500 500 "0,255,0" || fail "Enter on an empty password did not return to the display"
kill -0 "$E2E_SAVER" 2>/dev/null || fail "Enter on an empty password ended the saver"

xdotool key c
sleep 0.5
xdotool type Secret
xdotool key Return
e2e_wait_exit 3
[ "$E2E_STATUS" = 0 ] || fail "the right password did not end the saver (status $E2E_STATUS)"
[ ! -s "$E2E_WORK/keys.log" ] || fail "another program received keys while the saver was locked"
keyboard_held && fail "the keyboard is still held after the saver ended"
xdotool key d
sleep 0.3
grep -q 'key' "$E2E_WORK/keys.log" || fail "the other client gets no keys after the saver ended"
echo "password lock: ok"
