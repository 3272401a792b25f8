#!/usr/bin/env bash
# A clone effect fills the screen with copies of the cached pictures; a
# missing first cached picture ends the saver with a message naming it.
set -u
source "$(dirname "$0")/lib.sh"
e2e_setup "$1" 800x600

mkdir -p "$E2E_APP/Glidorama"
for i in 0 1; do
  convert -size 120x80 "gradient:rgb(250,$((i * 200)),40)-rgb(20,90,250)" "BMP3:$E2E_APP/Glidorama/Glidorama$i.dib"
done

# "Splat!" on a black background: after a second the clones cover part of it.
printf '[saver]\nmode=7\nnewBackColor=0\n[total]\nnewTotal=2\nClonesOfImage=15\n[speed]\nimageSpeed=20\n' \
  > "$E2E_APP/z909ssaver.ini"
e2e_start /s
sleep 2
kill -0 "$E2E_SAVER" 2>/dev/null || fail "the saver did not keep running: $(cat "$E2E_WORK/stderr")"
e2e_screenshot "$E2E_WORK/shot.png"
covered=$(convert "$E2E_WORK/shot.png" -colorspace gray -threshold 1% -format '%[fx:mean]' info:)
awk -v c="$covered" 'BEGIN { exit !(c > 0.02) }' || fail "the screen shows only the background (covered $covered)"
# A window over the saver and away: what it covered is shown again, not left
# as the window's magenta where no clone happens to pass.
/usr/bin/python3 "$(dirname "$0")/x_client.py" window 100 100 500 350 1 >/dev/null
sleep 0.5
e2e_screenshot "$E2E_WORK/exposed.png"
left=$(convert "$E2E_WORK/exposed.png" -fill white -opaque 'rgb(255,0,255)' -fill black +opaque white -format '%[fx:mean]' info:)
awk -v l="$left" 'BEGIN { exit !(l < 0.01) }' || fail "the uncovered part was not shown again ($left of the screen magenta)"
xdotool key space
e2e_wait_exit 3; [ "$E2E_STATUS" != running ] || fail "a key press did not end the saver"

# Without Glidorama0.dib the saver reports the file and ends.
rm "$E2E_APP/Glidorama/Glidorama0.dib"
e2e_start /s
for i in $(seq 1 100); do
  grep -q "was not processed correctly" "$E2E_WORK/stderr" && break
  sleep 0.05
done
grep -q "Glidorama/Glidorama0.dib" "$E2E_WORK/stderr" || fail "no message naming the missing picture: $(cat "$E2E_WORK/stderr")"
grep -q "Please go into settings and choose a different image." "$E2E_WORK/stderr" || fail "message text incomplete"
sleep 0.5
xdotool key Return
e2e_wait_exit 5; [ "$E2E_STATUS" != running ] || fail "the saver did not end after the message"
[ "$E2E_STATUS" != 0 ] || fail "a failed start ended with status 0"
echo "display effects: ok"
