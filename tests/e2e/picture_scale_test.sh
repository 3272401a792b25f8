#!/usr/bin/env bash
# A 3840 x 2160 screen shows the composition of a 1920 x 1080 one: the
# largest clone and the Float picture take the same share of the screen, and
# the cached copy of a 4000 x 3000 photo made at OK is twice as large on each
# side, so the clones keep its detail.
set -u
source "$(dirname "$0")/lib.sh"

# Run at one screen size: prints "copy-width copy-height clone-share float-share".
if [ "${2:-}" = --at ]; then
  e2e_setup "$1" "$3"
  width=${3%x*}
  convert -size 4000x3000 xc:'rgb(255,0,0)' "$E2E_WORK/photo.jpg" || fail "cannot make pictures"
  convert -size 800x600 xc:'rgb(0,0,255)' "$E2E_WORK/small.png"
  write_settings() {  # mode picture
    printf '[saver]\nmode=%s\nnewBackColor=0\ncenterImage=1\nNeverChange=True\n[total]\nnewTotal=1\nClonesOfImage=1\n' "$1" \
      > "$E2E_APP/z909ssaver.ini"
    printf '[speed]\nimageSpeed=20\n[images]\n0=%s\n' "$2" >> "$E2E_APP/z909ssaver.ini"
  }
  # The widest box of one colour seen on screen over many looks (a clone
  # is now and then caught small or half off the screen), looking until one
  # is at least $2 pixels wide.
  widest() {
    local best=0 i w
    for i in $(seq 1 40); do
      w=$(xwd -root -silent | convert xwd:- -fuzz 12% -fill black +opaque "$1" -trim -format '%w' info: 2>/dev/null)
      [ "${w:-0}" -gt "$best" ] && best=$w
      [ "$best" -ge "${2:-999999}" ] && break
    done
    echo "$best"
  }

  write_settings 0 "$E2E_WORK/photo.jpg"
  e2e_start /c
  e2e_wait_dialog
  xdotool key alt+o
  e2e_wait_exit 30; [ "$E2E_STATUS" = 0 ] || fail "OK did not convert the photo: $(cat "$E2E_WORK/stderr")"
  copy=$(identify -format '%w %h' "$E2E_APP/Glidorama/Glidorama0.dib")

  # One clone of the photo in Splat!, which grows in place and leaves slowly,
  # so most looks catch it at its largest even on a busy machine (a
  # Glidorama clone leaves at its largest within a few steps, and a busy 4K
  # screen can miss them all).
  write_settings 7 "$E2E_WORK/photo.jpg"
  e2e_start /s
  sleep 2
  # The largest clone is 0.99 of the copy; nine tenths of that will do.
  clone=$(widest 'rgb(255,0,0)' $(( ${copy% *} * 9 / 10 )))
  kill "$E2E_SAVER"; wait "$E2E_SAVER" 2>/dev/null; E2E_SAVER=

  # Float holds the picture still in the middle, at its natural size.
  write_settings 1 "$E2E_WORK/small.png"
  e2e_start /s
  sleep 2
  float=$(widest 'rgb(0,0,255)' 0)
  kill "$E2E_SAVER"; wait "$E2E_SAVER" 2>/dev/null; E2E_SAVER=
  echo "$copy $(echo "scale=4; $clone / $width" | bc) $(echo "scale=4; $float / $width" | bc)"
  exit 0
fi

small=$(bash "$0" "$1" --at 1920x1080) || fail "the 1920 x 1080 run failed"
large=$(bash "$0" "$1" --at 3840x2160) || fail "the 3840 x 2160 run failed"
echo "1920x1080: $small"
echo "3840x2160: $large"
read -r small_w small_h small_clone small_float <<<"$small"
read -r large_w large_h large_clone large_float <<<"$large"
within10() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > 0 && b > 0 && a / b > 0.9 && a / b < 1.1) }'; }
within10 "$large_clone" "$small_clone" || fail "the largest clone takes $large_clone of the 4K screen, $small_clone at 1080p"
within10 "$large_float" "$small_float" || fail "the Float picture takes $large_float of the 4K screen, $small_float at 1080p"
[ $((large_w * 10)) -ge $((small_w * 19)) ] && [ $((large_h * 10)) -ge $((small_h * 19)) ] ||
  fail "the copy for 4K is ${large_w}x$large_h, for 1080p ${small_w}x$small_h"
echo "picture scale: ok"
