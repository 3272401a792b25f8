#!/usr/bin/env bash
# The program copied alone into an empty folder (a USB stick, say) starts as
# a fresh build does: "/s" shows the samples it carries, "/c" lists them,
# and neither shows a message.
set -u
source "$(dirname "$0")/lib.sh"
e2e_setup "$1" 800x600
rm -rf "$E2E_APP"
STICK=$E2E_WORK/stick
mkdir -p "$STICK"
cp "$1" "$STICK/glidorama"
E2E_APP=$STICK

e2e_start /s
sleep 2
kill -0 "$E2E_SAVER" 2>/dev/null || fail "the saver did not keep running: $(cat "$E2E_WORK/stderr")"
grep -q "Glidorama:" "$E2E_WORK/stderr" && fail "the saver showed a message: $(cat "$E2E_WORK/stderr")"
e2e_screenshot "$E2E_WORK/shot.png"
covered=$(convert "$E2E_WORK/shot.png" -colorspace gray -threshold 1% -format '%[fx:mean]' info:)
awk -v c="$covered" 'BEGIN { exit !(c > 0.02) }' || fail "the screen shows no samples (covered $covered)"
xdotool key space
e2e_wait_exit 3; [ "$E2E_STATUS" = 0 ] || fail "a key did not end the saver (status $E2E_STATUS)"

e2e_start /c
e2e_wait_dialog
grep -q "Glidorama:" "$E2E_WORK/stderr" && fail "the dialog showed a message: $(cat "$E2E_WORK/stderr")"
xdotool key Escape
e2e_wait_exit 5; [ "$E2E_STATUS" = 0 ] || fail "the dialog did not close (status $E2E_STATUS)"
[ "$(ls "$STICK/samples" | wc -l)" = 5 ] || fail "the samples were not laid down: $(ls "$STICK/samples")"
echo "copied alone: ok"
