#!/usr/bin/env bash
# "/s" on two monitors side by side: each shows the effect; with a password
# the prompt comes up on the monitor that holds the pointer while both stay
# covered and the keyboard and pointer stay grabbed; a monitor switched off
# goes away without an error and one switched on is covered within a
# second; the right password ends the run with the grabs released.
# A key without a password ends the saver on either monitor.
set -u
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/two_monitors.sh"
e2e_setup_two_monitors "$1"
XC="/usr/bin/python3 $(dirname "$0")/x_client.py"

# The desktop: a magenta window under everything, across both monitors.
$XC window 0 0 2048 1024 600 >/dev/null &
DESKTOP=$!
trap 'kill $DESKTOP 2>/dev/null; e2e_teardown' EXIT
sleep 0.5

magenta_pixels() {
  xwd -root -silent | convert xwd:- -alpha off -fill black +opaque "#FF00FF" -fill white -opaque "#FF00FF" \
    -format "%[fx:round(mean*w*h)]" info:
}
# Whether the monitor starting at x = $1 shows something besides black.
shows_effect() {
  local i mean
  for i in $(seq 1 30); do
    mean=$(xwd -root -silent | convert xwd:- -crop "1024x768+$1+0" -alpha off -fill black -opaque "#FF00FF" \
      -format "%[fx:mean>0.001?1:0]" info:)
    [ "$mean" = 1 ] && return 0
    sleep 0.1
  done
  return 1
}
POINTS="10,10 1013,757 512,384 1034,10 2037,757 1536,384"
check_covered() {
  kill -0 "$E2E_SAVER" 2>/dev/null || fail "$1: the saver ended: $(cat "$E2E_WORK/stderr")"
  $XC covered $POINTS || fail "$1: a monitor is not covered"
  local shown
  shown=$(magenta_pixels)
  [ "$shown" = 0 ] || fail "$1: $shown pixels of the desktop show"
}

# Without a password: both monitors animate; a key ends the run.
printf '[saver]\nmode=0\n' > "$E2E_APP/z909ssaver.ini"
e2e_start /s
sleep 1.5
check_covered "without a password"
shows_effect 0 || fail "the first monitor shows no effect"
shows_effect 1024 || fail "the second monitor shows no effect"
$XC free || fail "the saver holds the input without a password"
xdotool mousemove 1500 300 key space
e2e_wait_exit 3
[ "$E2E_STATUS" = 0 ] || fail "a key did not end the saver on two monitors (status $E2E_STATUS)"

printf '[saver]\nmode=0\n[password]\nsaverPassword=Secret\nsaverEnabled=1\n' > "$E2E_APP/z909ssaver.ini"
e2e_start /s
sleep 1.5
check_covered "with a password"
$XC held || fail "the keyboard and pointer are not grabbed on two monitors"
xdotool mousemove 1500 300
xdotool key b
sleep 0.8
[ "$($XC top 1500,300)" = "Password Protection" ] || fail "the prompt is not on the monitor that holds the pointer"
[ "$($XC top 500,300)" = "Glidorama" ] || fail "the first monitor does not keep its display behind the prompt"
check_covered "with the prompt up"
$XC held || fail "the grabs went with the prompt on two monitors"
shows_effect 0 || fail "the other monitor stopped animating behind the prompt"

e2e_monitor_off
sleep 0.8
kill -0 "$E2E_SAVER" 2>/dev/null || fail "switching a monitor off ended the saver: $(cat "$E2E_WORK/stderr")"
POINTS="10,10 1013,757 512,384" check_covered "after the second monitor went away"
$XC held || fail "the grabs went with the second monitor"
e2e_monitor_on
sleep 1
check_covered "a second after the monitor came back"
$XC held || fail "the grabs went when the monitor came back"
grep -q . "$E2E_WORK/stderr" && fail "monitors coming and going printed: $(cat "$E2E_WORK/stderr")"

xdotool type Secret
xdotool key Return
e2e_wait_exit 3
[ "$E2E_STATUS" = 0 ] || fail "the right password did not end the saver on two monitors (status $E2E_STATUS)"
$XC free || fail "the grabs outlive the saver"

# Layouts where monitors share a corner or overlap, or where another client
# redefines them while locked: no pixel of the screen shows the desktop.
# The settings file deleted while locked changes nothing: a monitor plugged
# in afterwards, then a key, brings up the prompt.
W=$E2E_MONITOR_WIDTH H=$E2E_MONITOR_HEIGHT
POINTS="10,10 $((W - 1)),$((H - 1)) $((W + 10)),10 $((2 * W - 1)),$((H - 1))"
e2e_start /s
sleep 1.5
check_covered "before the layouts"
rm "$E2E_APP/z909ssaver.ini"
e2e_monitor_off
sleep 0.5
e2e_monitor_on
sleep 1
check_covered "a monitor plugged in after the settings file was deleted"
xdotool key a
sleep 0.8
kill -0 "$E2E_SAVER" 2>/dev/null || fail "a key ended the saver once the settings file was gone"
xdotool key Return
sleep 0.5
xrandr --output DUMMY1 --pos 0x0
sleep 1
check_covered "mirrored monitors"
xrandr --output DUMMY1 --pos "$((W / 2))x0"
sleep 1
check_covered "overlapping monitors"
# A mirrored projector of another size: 1280 x 1024 at 0,0 over the
# 1024 x 768 monitor, each display its own monitor's size.
# (The server may know the mode already.)
xrandr --newmode 1280x1024 $(cvt 1280 1024 60 | sed -n 's/^Modeline "[^"]*"//p') 2>/dev/null
xrandr --addmode DUMMY1 1280x1024 2>/dev/null
xrandr --output DUMMY1 --mode 1280x1024 --pos 0x0 || fail "xrandr cannot mirror a 1280 x 1024 monitor"
sleep 1
POINTS="10,10 $((W - 1)),$((H - 1)) 1100,100 100,1000 1279,1023" check_covered "a mirrored monitor of another size"
xrandr --output DUMMY1 --mode "${W}x${H}"
xrandr --delmode DUMMY1 1280x1024 2>/dev/null
xrandr --output DUMMY1 --off
sleep 0.5
# Switched on with --auto, the monitor lands at 0,0 over the first one
# and the screen shrinks to it.
xrandr --output DUMMY1 --auto
sleep 1
POINTS="10,10 $((W - 1)),$((H - 1))"
check_covered "a monitor switched on with --auto"
xrandr --setmonitor tiny 10/10x10/10+0+0 none || fail "xrandr cannot define a monitor"
sleep 1
check_covered "a tiny monitor defined by another client"
xrandr --delmonitor tiny
$XC masters_held >/dev/null || fail "the grabs went with the layouts"
xdotool key b
sleep 0.5
xdotool type Secret
xdotool key Return
e2e_wait_exit 3
[ "$E2E_STATUS" = 0 ] || fail "the right password did not end the saver after the layouts (status $E2E_STATUS)"
$XC free || fail "the grabs outlive the saver"
echo "two monitors: ok"
