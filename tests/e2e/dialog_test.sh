#!/usr/bin/env bash
# The settings dialog under a real X server: it opens centred with the focus
# on "&Cancel"; Cancel writes nothing; OK converts the listed pictures into
# the cache and writes the settings file.
set -u
source "$(dirname "$0")/lib.sh"
e2e_setup "$1" 1024x768

mkdir -p "$E2E_APP/Glidorama"
rm -f "$E2E_APP"/Glidorama/*.dib  # the first-run cache copied with the program
convert -size 800x500 gradient:navy-orange "$E2E_WORK/first.jpg" || fail "convert could not make a picture"
convert -size 300x200 xc:green "$E2E_WORK/second.png"
cat > "$E2E_APP/z909ssaver.ini" <<INI
[total]
newTotal=2
ClonesOfImage=12
[images]
0=$E2E_WORK/first.jpg
1=$E2E_WORK/second.png
[saver]
mode=6
NextImageTime=25
INI
before=$(md5sum < "$E2E_APP/z909ssaver.ini")

# Waits for the dialog's window; its id is DIALOG.
open_dialog() {
  e2e_start /c
  e2e_wait_dialog
  DIALOG=$E2E_DIALOG
}

open_dialog
eval "$(xdotool getwindowgeometry --shell "$DIALOG")"
# About the size it always had (588 x 429) on a plain screen, laid out by its text.
[ $((WIDTH - 588)) -ge -40 ] && [ $((WIDTH - 588)) -le 40 ] && [ $((HEIGHT - 429)) -ge -40 ] &&
  [ $((HEIGHT - 429)) -le 40 ] || fail "dialog is ${WIDTH}x${HEIGHT}, not about 588x429"
[ $((X - (1024 - WIDTH) / 2)) -ge -1 ] && [ $((X - (1024 - WIDTH) / 2)) -le 1 ] || fail "dialog not centred across (x=$X)"
[ $((Y - (768 - HEIGHT) / 2)) -ge -1 ] && [ $((Y - (768 - HEIGHT) / 2)) -le 1 ] || fail "dialog not centred down (y=$Y)"
# It can be made larger.
xdotool windowsize "$DIALOG" 800 600
sleep 0.5
size=$(xdotool getwindowgeometry "$DIALOG" | awk '/Geometry/ {print $2}')
[ "$size" = 800x600 ] || fail "the dialog did not grow to 800x600 (it is $size)"
# The focus starts on "&Cancel": Return presses it.
xdotool key Return
e2e_wait_exit 5; [ "$E2E_STATUS" = 0 ] || fail "Cancel did not close the dialog (status $E2E_STATUS)"
[ "$(md5sum < "$E2E_APP/z909ssaver.ini")" = "$before" ] || fail "Cancel changed the settings file"
[ ! -e "$E2E_APP/Glidorama/Glidorama0.dib" ] || fail "Cancel converted pictures"

open_dialog
xdotool key alt+o
e2e_wait_exit 20
if [ "$E2E_STATUS" = running ] && grep -q 'Image Processing Error' "$E2E_WORK/stderr"; then
  # This build's image cache cannot convert: the dialog must stay open and
  # write nothing; the rest is checked with "Float", which converts nothing.
  echo "dialog: the image cache failed to convert here; checking the commit with Float" >&2
  [ "$(md5sum < "$E2E_APP/z909ssaver.ini")" = "$before" ] || fail "a failed conversion changed the settings file"
  kill "$E2E_SAVER"; wait "$E2E_SAVER" 2>/dev/null; E2E_SAVER=
  sed -i 's/^mode=6$/mode=1/' "$E2E_APP/z909ssaver.ini"
  open_dialog
  xdotool key alt+o
  e2e_wait_exit 20
  expected_mode=1
  converts=no
else
  expected_mode=6
  converts=yes
fi
[ "$E2E_STATUS" = 0 ] || fail "OK did not close the dialog (status $E2E_STATUS): $(cat "$E2E_WORK/stderr")"
ini=$E2E_APP/z909ssaver.ini
grep -qx 'newTotal=2' "$ini" || fail "newTotal not written: $(cat "$ini")"
grep -qx "0=$E2E_WORK/first.jpg" "$ini" || fail "picture 0 not written"
grep -qx "1=$E2E_WORK/second.png" "$ini" || fail "picture 1 not written"
grep -qx "mode=$expected_mode" "$ini" || fail "mode not kept"
grep -qx 'ClonesOfImage=12' "$ini" || fail "ClonesOfImage not kept"
grep -qx 'NextImageTime=25' "$ini" || fail "NextImageTime not kept"
grep -qx 'saverEnabled=0' "$ini" || fail "saverEnabled not written"
if [ $converts = yes ]; then
  for n in 0 1; do
    identify "$E2E_APP/Glidorama/Glidorama$n.dib" >/dev/null 2>&1 || fail "cached picture $n missing or unreadable"
  done
  # 300 x 200 pixels is 4500 twips across: cached at 0.82 of its size.
  width=$(identify -format '%w' "$E2E_APP/Glidorama/Glidorama1.dib")
  [ "$width" -ge 240 ] && [ "$width" -le 247 ] || fail "cached picture 1 is $width pixels wide"
fi
echo "dialog: ok"
