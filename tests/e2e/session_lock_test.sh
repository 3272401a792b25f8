#!/usr/bin/env bash
# The session lock on a Wayland compositor that offers one (headless sway
# 1.8 or later): every output covered, an output added while locked covered
# too and one unplugged dropped, the prompt on the output with the pointer,
# a wrong password refused, a held Backspace repeating, the right password
# unlocks (status 0, the desktop shows again), and a saver killed with
# SIGKILL leaves the session locked. Skipped where no such compositor is
# installed.
set -u
source "$(dirname "$0")/wayland_lib.sh"
command -v sway >/dev/null || skip "sway is not installed"
# ext-session-lock-v1 came with sway 1.8.
version=$(sway --version | grep -oE '[0-9]+\.[0-9]+' | head -1)
[ "$(printf '%s\n1.8\n' "$version" | sort -V | head -1)" = 1.8 ] || skip "sway $version offers no session lock"
wl_setup "$1" 1280x720
COVER="255,0,0"  # the saver's background (newBackColor 255, no effect)

# The colour of the pixel at $2,$3 of the screenshot $1, as "r,g,b".
pixel() {
  convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- | tail -1 | grep -oE '\([0-9]+,[0-9]+,[0-9]+' | tr -d '('
}
# Waits up to $5 seconds (3 by default) until the pixel at $2,$3 of output
# $1 is $4, or, when $4 starts with "!", is no longer the rest of $4.
wait_pixel() {
  local want=$4 got i
  for i in $(seq 1 $((${5:-3} * 5))); do
    wl_shot "$E2E_WORK/pixel.png" "$1" && got=$(pixel "$E2E_WORK/pixel.png" "$2" "$3")
    if [ "${want#!}" != "$want" ]; then [ "$got" != "${want#!}" ] && return 0; else [ "$got" = "$want" ] && return 0; fi
    sleep 0.2
  done
  return 1
}
# The middle of output $1 in the desktop's coordinates, as "x y".
middle_of() {
  wl_as swaymsg -t get_outputs | python3 -c "import json, sys
for o in json.load(sys.stdin):
    if o['name'] == '$1': r = o['rect']; print(r['x'] + r['width'] // 2, r['y'] + r['height'] // 2)"
}
desktop_shows() { wl_shot "$E2E_WORK/all.png" && [ "$(wl_shows "$E2E_WORK/all.png" "$WL_DESKTOP")" = 1 ]; }
running() { kill -0 "$E2E_SAVER" 2>/dev/null; }
type_keys() { wl_as wtype "$@"; }

wl_as swaymsg create_output >/dev/null  # HEADLESS-2
wait_pixel HEADLESS-2 100 100 "$WL_DESKTOP" || fail "the second output does not show the desktop"
# One virtual keyboard for the whole test: a seat whose keyboard comes and
# goes with each wtype could lose the first keys.
WL_EXEC=exec wl_as wtype -s 600000 "" &
KEYBOARD=$!
trap 'kill $KEYBOARD 2>/dev/null; wl_teardown' EXIT
sleep 0.3

printf '[saver]\nmode=%s\nnewBackColor=255\n[password]\nsaverPassword=Secret\nsaverEnabled=1\n' "$NO_EFFECT" \
  >"$E2E_APP/z909ssaver.ini"
wl_start /s
for output in HEADLESS-1 HEADLESS-2; do
  wait_pixel $output 100 100 "$COVER" 5 || fail "the lock does not cover $output: $(cat "$E2E_WORK/stderr")"
done
desktop_shows && fail "the desktop shows beside the lock"

# An output plugged in while locked is covered.
wl_as swaymsg create_output >/dev/null
wait_pixel HEADLESS-3 100 100 "$COVER" 5 || fail "an output added while locked is not covered"
# One unplugged while locked goes quietly; the session stays locked.
wl_as swaymsg -q output HEADLESS-3 unplug
sleep 0.5
running || fail "the saver ended when an output went away while locked: $(cat "$E2E_WORK/stderr")"
desktop_shows && fail "the desktop shows after an output went away while locked"

# A click on the second output brings the prompt up there, not on the first.
wl_as swaymsg seat - cursor set $(middle_of HEADLESS-2) >/dev/null
wl_as swaymsg seat - cursor press button1 >/dev/null
wl_as swaymsg seat - cursor release button1 >/dev/null
wait_pixel HEADLESS-2 20 20 "!$COVER" || fail "a click did not bring up the prompt on the output with the pointer"
wait_pixel HEADLESS-1 20 20 "$COVER" 1 || fail "the prompt came up on the first output"

for attempt in wrong secret; do
  type_keys "$attempt"
  type_keys -k Return
  sleep 0.5
  running || fail "the password '$attempt' ended the saver"
done
desktop_shows && fail "a wrong password showed the desktop"

# A held Backspace repeats: it erases the whole of a long wrong start.
type_keys wrongwrongwrong -P BackSpace -s 2000 -p BackSpace
type_keys Secret
type_keys -k Return
e2e_wait_exit 5
[ "$E2E_STATUS" = 0 ] || fail "the right password did not unlock (status $E2E_STATUS): $(cat "$E2E_WORK/stderr")"
wait_pixel HEADLESS-1 100 100 "$WL_DESKTOP" || fail "the desktop does not show again after unlocking"
wait_pixel HEADLESS-2 100 100 "$WL_DESKTOP" || fail "the second output stays covered after unlocking"

# Killed outright, the saver leaves the session locked.
wl_start /s
wait_pixel HEADLESS-1 100 100 "$COVER" 5 || fail "the second lock does not cover the screen: $(cat "$E2E_WORK/stderr")"
kill -9 "$E2E_SAVER"
wait "$E2E_SAVER" 2>/dev/null
E2E_SAVER=
sleep 0.5
desktop_shows && fail "the desktop shows after the saver was killed"
kill -0 "$WL_SWAY" 2>/dev/null || fail "sway ended"
echo "session lock: ok"
