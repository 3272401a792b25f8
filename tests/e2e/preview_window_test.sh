#!/usr/bin/env bash
# "/p <id>" draws the preview picture into the top-left corner of that X11
# window and ends with status 0 within a second; "/p:<id>" reads the same
# id; "/p abc" names no window (0) and draws into the screen's corner; a
# window id that does not exist, "/p" alone, and a display that cannot be
# reached draw nothing and end quietly.
set -u
source "$(dirname "$0")/lib.sh"
e2e_setup "$1" 640x480
PY=/usr/bin/python3

# A white 300 x 200 window at 200, 150 that stays until killed; prints its id.
cat > "$E2E_WORK/window.py" <<'PYEOF'
import sys, time
from Xlib import X, display
d = display.Display()
s = d.screen()
w = s.root.create_window(200, 150, 300, 200, 0, s.root_depth, background_pixel=s.white_pixel, override_redirect=1)
w.map()
d.sync()
print(w.id, flush=True)
time.sleep(120)
PYEOF
$PY "$E2E_WORK/window.py" > "$E2E_WORK/window.id" &
WINDOW=$!
trap 'kill $WINDOW 2>/dev/null; e2e_teardown' EXIT
for i in $(seq 1 40); do [ -s "$E2E_WORK/window.id" ] && break; sleep 0.05; done
ID=$(cat "$E2E_WORK/window.id")
[ -n "$ID" ] || fail "the test window did not open"

# Runs the preview and checks it ends with status 0 within a second.
preview() {
  local started=$(date +%s.%N)
  e2e_start "$@"
  e2e_wait_exit 2
  local took=$(awk -v a="$started" -v b="$(date +%s.%N)" 'BEGIN { print b - a }')
  [ "$E2E_STATUS" = 0 ] || fail "'$*' ended with status $E2E_STATUS: $(cat "$E2E_WORK/stderr")"
  e2e_within "$took" 1 || fail "'$*' took $took s"
}
# The screen's pixels in a rectangle, as one text line per pixel.
crop() { xwd -root -silent | convert xwd:- -crop "$1" +repage -depth 8 txt:- | tail -n +2 | awk '{print $3}'; }
white=$(crop 1x1+499+349)

preview /p "$ID"
crop 151x119+200+150 > "$E2E_WORK/picture.txt"
[ "$(sort -u "$E2E_WORK/picture.txt" | wc -l)" -gt 8 ] || fail "no picture in the window's corner"
[ "$(crop 1x1+400+300)" = "$white" ] || fail "the preview drew beyond its block"
[ "$(crop 1x1+359+269)" != "$white" ] || fail "the 160 x 120 block was not drawn whole"
# The picture is our preview picture, when it is in the source tree.
asset="$(dirname "$0")/../../assets/preview.png"
if [ -f "$asset" ]; then
  convert "$asset" -depth 8 txt:- | tail -n +2 | awk '{print $3}' > "$E2E_WORK/asset.txt"
  cmp -s "$E2E_WORK/asset.txt" "$E2E_WORK/picture.txt" || fail "the window does not show assets/preview.png"
fi

# Wipe the window, then the same with a colon before the id.
$PY -c "
from Xlib import display
d = display.Display(); w = d.create_resource_object('window', $ID); w.clear_area(0, 0, 300, 200); d.sync()"
sleep 0.2
[ "$(crop 1x1+210+160)" = "$white" ] || fail "the test window was not wiped"
preview "/p:$ID"
crop 151x119+200+150 | cmp -s - "$E2E_WORK/picture.txt" || fail "'/p:<id>' did not draw the same picture"

# Not a number: the window 0, the screen's top-left corner.
preview /p abc
crop 151x119+0+0 | cmp -s - "$E2E_WORK/picture.txt" || fail "'/p abc' did not draw into the screen's corner"

# No window to draw into: nothing happens, and the program still ends cleanly.
before=$(xwd -root -silent | md5sum)
preview /p 123456789
preview /p
preview /p 99999999999999
[ "$(xwd -root -silent | md5sum)" = "$before" ] || fail "a preview without a window changed the screen"
# No X server at all: the preview still ends quietly.
DISPLAY=:1999 "$E2E_APP/glidorama" /p 0 2>"$E2E_WORK/stderr"
[ $? = 0 ] || fail "the preview without an X server ended with an error: $(cat "$E2E_WORK/stderr")"
echo "preview window: ok"
