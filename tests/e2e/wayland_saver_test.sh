#!/usr/bin/env bash
# "/s" on a Wayland compositor (headless sway): every output covered with
# pictures, outputs plugged in while it runs covered and unplugged ones
# dropped without an error; a key, a click and enough pointer moves end it
# with status 0; a 4K output shows the composition of a 1080p one, with
# copies made for it. With a password, a compositor without a session lock
# gets a clear refusal and nothing covered.
set -u
source "$(dirname "$0")/wayland_lib.sh"
wl_setup "$1"

# The default effect over the whole output, then a second output.
wl_start /s
wl_wait_covered HEADLESS-1 3 || fail "the output is not covered: $(cat "$E2E_WORK/stderr")"
pictures=
for i in $(seq 1 15); do
  wl_shot "$E2E_WORK/covered.png" HEADLESS-1
  [ "$(wl_share "$E2E_WORK/covered.png" 0,0,0)" != 1 ] && pictures=yes && break
  sleep 0.2
done
[ -n "$pictures" ] || fail "the cover shows no pictures"
wl_as swaymsg -q create_output || fail "cannot add an output"
# (Within a second on an idle machine; a loaded one is given longer.)
wl_wait_covered HEADLESS-2 3 || fail "an output added while running is not covered"
# An output switched off, and (sway 1.8 and later) one unplugged, go
# quietly; the first output goes on drawing. (Sway 1.7 cannot switch a
# headless output off: there the output stays.)
wl_as swaymsg -q output HEADLESS-2 disable
if wl_as swaymsg -q create_output && wl_wait_covered HEADLESS-3 3; then
  wl_as swaymsg -q output HEADLESS-3 unplug 2>/dev/null
fi
sleep 0.5
kill -0 "$E2E_SAVER" 2>/dev/null || fail "the saver ended when an output went away: $(cat "$E2E_WORK/stderr")"
[ -s "$E2E_WORK/stderr" ] && fail "an output going away was reported: $(cat "$E2E_WORK/stderr")"
if wl_as swaymsg -t get_outputs | grep -q '"active": false'; then
  wl_wait_covered HEADLESS-1 1 || fail "the remaining output is no longer covered"
  wl_shot "$E2E_WORK/before.png" HEADLESS-1
  sleep 1
  wl_shot "$E2E_WORK/after.png" HEADLESS-1
  cmp -s "$E2E_WORK/before.png" "$E2E_WORK/after.png" && fail "the remaining output stopped drawing"
fi
# A virtual keyboard appears with the key: the saver needs a moment to see it.
wl_as wtype -s 400 a
e2e_wait_exit 3
[ "$E2E_STATUS" = 0 ] || fail "a key did not end the saver with status 0 (status $E2E_STATUS)"

# Five counted moves (the default sensitivity) end it; the first only tells
# where the pointer is. (Sway 1.10, where the saver appears under a still
# pointer, sends the first move as the pointer entering, with no motion:
# there one move more is needed.) No effect runs: moves over a picture are
# counted apart.
printf '[saver]\nmode=%s\n' "$NO_EFFECT" >"$E2E_APP/z909ssaver.ini"
wl_start /s
wl_wait_covered HEADLESS-1 3 || fail "the output is not covered the second time"
for step in 1 2 3 4 5; do
  wl_as swaymsg -q seat - cursor move 20 20
  sleep 0.05
done
e2e_wait_exit 1
[ "$E2E_STATUS" = running ] || fail "four counted moves ended the saver"
for step in 6 7; do
  wl_as swaymsg -q seat - cursor move 20 20
  e2e_wait_exit 2
  [ "$E2E_STATUS" = running ] || break
done
[ "$E2E_STATUS" = 0 ] || fail "the fifth counted move did not end the saver (status $E2E_STATUS)"

wl_start /s
wl_wait_covered HEADLESS-1 3 || fail "the output is not covered the third time"
# Sway 1.10 gives a layer surface that appears under a still pointer
# no pointer focus until the pointer moves, and a click before that reaches
# nobody. One move, which only tells the saver where the pointer is, first.
wl_as swaymsg -q seat - cursor move 1 1
e2e_wait_exit 1
[ "$E2E_STATUS" = running ] || fail "the pointer's first move ended the saver"
wl_as swaymsg -q seat - cursor press button1
wl_as swaymsg -q seat - cursor release button1
e2e_wait_exit 3
[ "$E2E_STATUS" = 0 ] || fail "a click did not end the saver with status 0 (status $E2E_STATUS)"

# A 3840 x 2160 output shows the composition of a 1920 x 1080 one, whatever
# the output's own scale. A first run there (no settings yet) makes the
# samples' copies twice as large on each side as the build's, so its clones
# are sharp; Float's 400 x 300 picture, held still in the middle, takes 800
# device pixels across.
wl_as swaymsg -q output HEADLESS-1 resolution 3840x2160 scale 2
rm -f "$E2E_APP/z909ssaver.ini"
read -r built_w built_h < <(identify -format '%w %h' "$E2E_APP/Glidorama/Glidorama0.dib")
wl_start /s
wl_wait_covered HEADLESS-1 20 || fail "a first run on 4K covers nothing: $(cat "$E2E_WORK/stderr")"
kill "$E2E_SAVER"
wait "$E2E_SAVER" 2>/dev/null
read -r copy_w copy_h < <(identify -format '%w %h' "$E2E_APP/Glidorama/Glidorama0.dib")
[ $((copy_w * 10)) -ge $((built_w * 19)) ] && [ $((copy_h * 10)) -ge $((built_h * 19)) ] ||
  fail "a first run on 4K at output scale 2 made the copy ${copy_w}x$copy_h, the build's is ${built_w}x$built_h"
convert -size 400x300 xc:'rgb(0,0,255)' "$E2E_WORK/small.png" || fail "cannot make a picture"
printf '[saver]\nmode=1\nnewBackColor=0\ncenterImage=1\nNeverChange=True\n[total]\nnewTotal=1\n[images]\n0=%s\n' \
  "$E2E_WORK/small.png" >"$E2E_APP/z909ssaver.ini"
for scale in 1 2; do
  wl_as swaymsg -q output HEADLESS-1 scale $scale
  wl_start /s
  width=0
  for i in $(seq 1 15); do
    wl_shot "$E2E_WORK/4k.png" HEADLESS-1
    width=$(convert "$E2E_WORK/4k.png" -fuzz 12% -fill black +opaque 'rgb(0,0,255)' -trim -format '%w' info: 2>/dev/null)
    [ "${width:-0}" -ge 720 ] && break
    sleep 0.2
  done
  kill "$E2E_SAVER"
  wait "$E2E_SAVER" 2>/dev/null
  [ "${width:-0}" -ge 720 ] && [ "$width" -le 880 ] ||
    fail "at output scale $scale the picture is $width device pixels across on 3840 x 2160, not 800"
done
wl_as swaymsg -q output HEADLESS-1 scale 1 resolution 1024x768

# Sway 1.7 offers no session lock: a password run refuses before covering.
printf '[password]\nsaverPassword=Secret\nsaverEnabled=1\n' >"$E2E_APP/z909ssaver.ini"
wl_start /s
e2e_wait_exit 5
if wl_as swaymsg -t get_version | grep -q '"minor": 7,'; then
  [ "$E2E_STATUS" != running ] && [ "$E2E_STATUS" != 0 ] || fail "a password run did not refuse (status $E2E_STATUS)"
  grep -q "offers no session lock" "$E2E_WORK/stderr" || fail "the refusal says nothing: $(cat "$E2E_WORK/stderr")"
  wl_shot "$E2E_WORK/refused.png" HEADLESS-1
  [ "$(wl_share "$E2E_WORK/refused.png" "$WL_DESKTOP")" = 1 ] || fail "the refusing run covered the desktop"
fi
echo "ok"
