#!/usr/bin/env bash
# The Float effect in the real saver: the first picture comes centred a
# moment after start, the pictures follow in list order, a floating picture
# moves, and a picture deleted while the saver runs ends it with its message.
set -u
source "$(dirname "$0")/lib.sh"
e2e_setup "$1" 1024x768

pics=$E2E_WORK/pictures
mkdir -p "$pics"
convert -size 200x100 xc:'rgb(255,0,0)' "$pics/red.png" || fail "cannot make pictures"
convert -size 200x100 xc:'rgb(0,0,255)' "$pics/blue.jpg"
convert -size 160x120 xc:'rgb(255,255,0)' "$pics/yellow.bmp"

write_settings() {  # effectMode centerImage NextImageTime
  cat > "$E2E_APP/z909ssaver.ini" <<INI
[saver]
mode=1
NextImageTime=$3
NeverChange=False
newBackColor=0
effectMode=$1
randomEffect=0
centerImage=$2
floatImageSpeed=5
[total]
newTotal=3
ClonesOfImage=10
[speed]
imageSpeed=20
[images]
0=$pics/red.png
1=$pics/blue.jpg
2=$pics/yellow.bmp
[password]
saverEnabled=0
INI
}

# The box around the pixels of one colour on screen: "width height +x +y".
colour_box() {
  xwd -root -silent | convert xwd:- -fuzz 12% -fill black +opaque "$1" -trim -format '%w %h %X %Y' info: 2>/dev/null
}

# Waits up to $2 seconds for colour $1 to cover the box "$3"; prints how long it took.
wait_box() {
  local colour=$1 limit=$2 want=$3 start now box
  start=$(date +%s.%N)
  while :; do
    box=$(colour_box "$colour")
    [ "$box" = "$want" ] && { echo "$(echo "$(date +%s.%N) - $start" | bc)"; return 0; }
    now=$(date +%s.%N)
    [ "$(echo "$now - $start > $limit" | bc)" = 1 ] && { echo "last seen: '$box'" >&2; return 1; }
    kill -0 "$E2E_SAVER" 2>/dev/null || { echo "saver ended: $(cat "$E2E_WORK/stderr")" >&2; return 1; }
    sleep 0.05
  done
}

# 1. "Standard", centred: red first, centred ((1024 - 200) \ 2, (768 - 100) \ 2),
#    then blue; then yellow is deleted before its turn.
write_settings 0 1 2
e2e_start /s
took=$(wait_box 'rgb(255,0,0)' 3 "200 100 +412 +334") || fail "the first picture was not shown centred"
echo "first picture centred after ${took}s (program start included)"
wait_box 'rgb(0,0,255)' 4 "200 100 +412 +334" >/dev/null || fail "the second picture did not follow the first"
rm -f "$pics/yellow.bmp"
expected="$pics/yellow.bmp does not exist! Glidorama will not function unless a different image is reloaded."
for i in $(seq 1 100); do
  grep -qF -- "$expected" "$E2E_WORK/stderr" && break
  kill -0 "$E2E_SAVER" 2>/dev/null || break
  sleep 0.05
done
grep -qF -- "$expected" "$E2E_WORK/stderr" || fail "no message for the deleted picture; stderr: $(cat "$E2E_WORK/stderr")"
# The message box waits for OK; the saver ends once it is closed.
for i in 1 2 3 4 5; do
  kill -0 "$E2E_SAVER" 2>/dev/null || break
  for w in $(xdotool search --onlyvisible --name '^Glidorama$' 2>/dev/null); do
    xdotool windowfocus "$w" 2>/dev/null; xdotool key --window "$w" Return 2>/dev/null
  done
  xdotool key Return 2>/dev/null
  sleep 0.5
done
e2e_wait_exit 5
[ "$E2E_STATUS" != running ] || fail "the saver did not end after the deleted picture's message"

# 2. A transition and the float motion: the picture builds up from the
#    middle while it already drifts, then keeps moving, whole.
convert -size 160x120 xc:'rgb(255,255,0)' "$pics/yellow.bmp"
write_settings 5 0 30
e2e_start /s
a=
for i in $(seq 1 60); do
  a=$(colour_box 'rgb(255,0,0)')
  case "$a" in "200 100 "*) break;; esac
  kill -0 "$E2E_SAVER" 2>/dev/null || fail "the saver ended: $(cat "$E2E_WORK/stderr")"
  sleep 0.1
done
case "$a" in "200 100 "*) ;; *) fail "the floating picture never became whole: '$a'";; esac
sleep 0.5
b=$(colour_box 'rgb(255,0,0)')
case "$b" in "200 100 "*) ;; *) fail "the floating picture is not whole: '$b'";; esac
[ "$a" != "$b" ] || fail "the floating picture does not move ($a)"
echo "float: ok"
