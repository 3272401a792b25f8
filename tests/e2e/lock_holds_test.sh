#!/usr/bin/env bash
# With a password, nothing but the right password gets past the lock: close
# requests, SIGHUP, another program's window or unmapping ours, paste and
# menus at the prompt
# (from an empty and from a foreign clipboard) and a picture that breaks
# while the saver runs all leave the saver running, the keyboard and the
# pointer grabbed and no pixel of the desktop (a magenta window under
# everything) on screen. A grab held elsewhere at start is taken once it is
# let go; SIGTERM ends the run with every grab released.
set -u
source "$(dirname "$0")/lock_lib.sh"
lock_setup "$1"
start_locked() {
  e2e_start /s
  e2e_wait_pixel 500 500 "0,255,0" 5 || fail "the display does not cover the screen: $(cat "$E2E_WORK/stderr")"
  sleep 0.3
  $XC held || fail "the saver does not hold the keyboard and the pointer with a password"
}

# A grab held by another program at start (the pointer alone is enough):
# after a few seconds the saver says the screen is not locked, and it takes
# the grabs once they are let go. The other program lets go only once the
# saver has spoken, however long a busy machine makes it take.
$XC grab 60 pointer > "$E2E_WORK/grabbed" &
GRABBER=$!
for i in $(seq 1 50); do grep -q grabbed "$E2E_WORK/grabbed" && break; sleep 0.1; done
grep -q grabbed "$E2E_WORK/grabbed" || fail "the stand-in program could not grab first"
e2e_start /s
for i in $(seq 1 300); do grep -q "the screen is not locked" "$E2E_WORK/stderr" && break; sleep 0.1; done
grep -q "the screen is not locked" "$E2E_WORK/stderr" || fail "a lock that could not be taken was not reported"
kill $GRABBER
wait $GRABBER 2>/dev/null
for i in $(seq 1 30); do $XC held && break; sleep 0.1; done
$XC held || fail "the saver did not take the grabs once they were free"
grep -q "the screen is locked now" "$E2E_WORK/stderr" || fail "the lock taken late was not reported"
# With no HEIF picture to show, the HEIF library and its codecs take no memory.
grep -q libheif "/proc/$E2E_SAVER/maps" && fail "the lock loaded the HEIF library with no HEIF picture"

# Close requests and SIGHUP before the prompt was ever shown.
$XC close || fail "no window of the saver to send a close request to"
kill -HUP "$E2E_SAVER"
sleep 0.5
check_locked "a close request or SIGHUP"

# Another program's window is put under ours again at once.
$XC window 100 100 300 200 3 > "$E2E_WORK/shown" &
for i in $(seq 1 50); do grep -q shown "$E2E_WORK/shown" && break; sleep 0.1; done
sleep 0.3
check_locked "another program's window"
$XC unmap || fail "no window of the saver to unmap"
sleep 0.3
check_locked "unmapping the saver's windows"

xdotool key b
e2e_wait_pixel 500 500 "!0,255,0" || fail "a key did not bring up the password prompt"
attempts() {  # in the password box, then in the notes
  for box in "84 152" "100 80"; do
    xdotool mousemove $box
    xdotool key ctrl+v key shift+Insert key Menu key shift+F10 click 2 click 3 key Escape
    sleep 0.3
    check_locked "$1 in the box at $box"
    xdotool key Tab
  done
  # Back in the password box: Tab moved through both boxes.
}
attempts "paste or a menu from an empty clipboard"
$XC clipboard "pasted" 10 &
CLIP=$!
sleep 0.3
attempts "paste or a menu from another program's clipboard"
$XC close
kill -HUP "$E2E_SAVER"
sleep 0.3
check_locked "a close request or SIGHUP at the prompt"
$XC unmap
sleep 0.2
check_locked "unmapping the prompt and the display"
kill $CLIP 2>/dev/null
# Nothing was pasted into the password box: the right password alone ends the run.
xdotool type Secret
xdotool key Return
e2e_wait_exit 3
[ "$E2E_STATUS" = 0 ] || fail "the right password did not end the saver (status $E2E_STATUS)"
$XC free || fail "the grabs outlive the saver"

# A picture that breaks while the saver runs: the message shows on the
# locked screen, and only the password ends the run, as a failure.
printf '[total]\nnewTotal=5\nClonesOfImage=2\n[saver]\nmode=0\nnewBackColor=65280\nNextImageTime=1\nIntroImageAmount=5\n[password]\nsaverPassword=Secret\nsaverEnabled=1\n' > "$E2E_APP/z909ssaver.ini"
start_locked
cp -r "$E2E_APP/Glidorama" "$E2E_WORK/kept"
for cached in "$E2E_APP"/Glidorama/*; do : > "$cached"; done
for i in $(seq 1 60); do
  grep -q "not processed" "$E2E_WORK/stderr" && break
  sleep 0.1
done
grep -q "not processed" "$E2E_WORK/stderr" || fail "the broken picture was not reported: $(cat "$E2E_WORK/stderr")"
sleep 0.5
check_locked "a broken picture"
e2e_wait_pixel 500 500 "!0,255,0" || fail "the failure is not shown in front of the display"
xdotool key Return
sleep 0.3
check_locked "Enter on an empty password after a failure"
xdotool type Secret
xdotool key Return
e2e_wait_exit 3
[ "$E2E_STATUS" = 1 ] || fail "the right password after a failure did not end the run as a failure (status $E2E_STATUS)"
$XC free || fail "the grabs outlive the failed saver"
cp "$E2E_WORK"/kept/* "$E2E_APP/Glidorama/"

# SIGTERM ends the run at once with the grabs released.
lock_settings
start_locked
kill -TERM "$E2E_SAVER"
e2e_wait_exit 3
[ "$E2E_STATUS" = 143 ] || fail "SIGTERM did not end the saver with its status (status $E2E_STATUS)"
$XC free || fail "the grabs outlive a saver ended by SIGTERM"
echo "lock holds: ok"
