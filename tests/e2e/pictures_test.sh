#!/usr/bin/env bash
# Pictures of every kind people bring, in the real program: WebP, TIFF, HEIC,
# AVIF, a turned phone photo, a half-transparent PNG and a 30000-pixel
# panorama, in a folder whose path is over 400 characters, are cached by OK
# and shown by a clone effect; Float shows a 6000 x 4000 photo whole on a
# 1024 x 768 screen; pictures crafted to be huge in memory are refused or
# converted within 300 MB; without a loadable HEIF library a HEIC picture is
# refused by name.
set -u
source "$(dirname "$0")/lib.sh"
e2e_setup "$1" 1024x768

deep=$E2E_WORK/pictures
for i in 1 2 3 4 5 6 7 8 9 10 11; do deep=$deep/folder-with-a-long-name-for-photos-$i; done
mkdir -p "$deep"
[ ${#deep} -gt 400 ] || fail "the picture folder's path is only ${#deep} characters"
# Red over blue: upright, red is on top.
halves() { convert -size "$1" xc:'rgb(230,20,20)' \( -size "$1" xc:'rgb(20,20,230)' -crop 100%x50%+0+0 \) -gravity south -composite "$2"; }
halves 320x240 "$deep/web.webp" || fail "cannot make pictures"
halves 320x240 "$deep/scan.tif"
halves 320x240 "PNG24:$E2E_WORK/src.png"
heif-enc -q 90 "$E2E_WORK/src.png" -o "$deep/phone.heic" >/dev/null 2>&1 || fail "heif-enc cannot make HEIC"
vips heifsave "$E2E_WORK/src.png" "$deep/photo.avif" --compression av1 || fail "vips cannot make AVIF"
# Stored on its side, to be turned a quarter clockwise.
convert "$E2E_WORK/src.png" -rotate -90 "$deep/turned.jpg" && exiftool -q -q -n -Orientation=6 -overwrite_original "$deep/turned.jpg"
convert -size 200x100 xc:'rgba(255,0,0,0.5)' "$deep/half.png"
vips black "$E2E_WORK/pano.v" 30000 1000 --bands 3 && vips linear "$E2E_WORK/pano.v" "$deep/panorama.jpg" "1 1 1" "230 20 20" || fail "vips cannot make the panorama"

list=(web.webp scan.tif phone.heic photo.avif turned.jpg half.png panorama.jpg)
write_settings() {  # mode, then the picture paths
  local mode=$1 i=0 p
  shift
  { printf '[saver]\nmode=%s\nnewBackColor=65280\nNextImageTime=30\neffectMode=0\ncenterImage=1\n' "$mode"
    printf '[total]\nnewTotal=%s\nClonesOfImage=12\n[speed]\nimageSpeed=20\n[images]\n' $#
    for p in "$@"; do printf '%s=%s\n' $i "$p"; i=$((i + 1)); done; } > "$E2E_APP/z909ssaver.ini"
}

# Opens the dialog and presses OK.
commit_dialog() {
  e2e_start /c
  e2e_wait_dialog
  xdotool key alt+o
}

# The program's peak resident memory so far, in MB.
peak_mb() { echo $(( $(awk '/^VmHWM/ {print $2}' "/proc/$E2E_SAVER/status") / 1024 )); }

# 1. OK caches every picture; the panorama keeps its proportions.
rm -f "$E2E_APP"/Glidorama/*.dib
mkdir -p "$E2E_APP/Glidorama"
write_settings 6 "${list[@]/#/$deep/}"
commit_dialog
e2e_wait_exit 30; [ "$E2E_STATUS" = 0 ] || fail "OK did not convert every picture: $(cat "$E2E_WORK/stderr")"
for i in 0 1 2 3 4; do
  [ "$(convert "$E2E_APP/Glidorama/Glidorama$i.dib" -format '%[fx:p{w/2,h/8}.r>0.7 && p{w/2,h*7/8}.b>0.7]' info:)" = 1 ] ||
    fail "cached copy of ${list[$i]} is not upright red over blue"
done
[ "$(identify -format '%wx%h' "$E2E_APP/Glidorama/Glidorama6.dib")" = 3900x130 ] || fail "panorama cached at $(identify -format '%wx%h' "$E2E_APP/Glidorama/Glidorama6.dib")"
# Half-transparent red over the chosen green.
half=$(convert "$E2E_APP/Glidorama/Glidorama5.dib" -format '%[fx:int(255*p{5,5}.r)],%[fx:int(255*p{5,5}.g)],%[fx:int(255*p{5,5}.b)]' info:)
[ "$half" = "128,127,0" ] || [ "$half" = "127,128,0" ] || fail "the transparent picture is cached as $half, not over green"
grep -q "^0=$deep/web.webp\$" "$E2E_APP/z909ssaver.ini" || fail "the long path was not written whole"

# 2. The clone effect shows the cached pictures.
e2e_start /s
sleep 2
e2e_screenshot "$E2E_WORK/clones.png"
covered=$(convert "$E2E_WORK/clones.png" -fuzz 10% -fill black -opaque 'rgb(0,255,0)' -colorspace gray -threshold 1% -format '%[fx:mean]' info:)
awk -v c="$covered" 'BEGIN { exit !(c > 0.02) }' || fail "the clone effect shows only the background"
kill "$E2E_SAVER"; wait "$E2E_SAVER" 2>/dev/null; E2E_SAVER=

# 3. Float, centred: a 6000 x 4000 photo is entirely on the 1024 x 768 screen.
convert -size 6000x4000 xc:'rgb(20,20,230)' -quality 90 "$deep/photo.jpg"
write_settings 1 "$deep/photo.jpg"
e2e_start /s
box=
for i in $(seq 1 60); do
  box=$(xwd -root -silent | convert xwd:- -fuzz 12% -fill black +opaque 'rgb(20,20,230)' -trim -format '%w %h %X %Y' info: 2>/dev/null)
  [ -n "$box" ] && [ "${box%% *}" -gt 100 ] && break
  sleep 0.1
done
read -r w h x y <<<"$box"
[ -n "${w:-}" ] && [ "$w" -le 1024 ] && [ "$h" -le 768 ] || fail "the photo is not whole on the screen: $box"
[ "$(( (w * 100 / h) ))" -ge 148 ] && [ "$(( (w * 100 / h) ))" -le 152 ] || fail "the photo lost its proportions: $box"
[ "${x#+}" -gt 0 ] && [ "${y#+}" -gt 0 ] || fail "the photo is not inside the screen: $box"
kill "$E2E_SAVER"; wait "$E2E_SAVER" 2>/dev/null; E2E_SAVER=

# 4. Crafted pictures: small on disk, huge in memory.
python3 - "$E2E_WORK" <<'PY'
import struct, sys, os
work = sys.argv[1]
w = h = 20000
row = (w * 24 + 31) // 32 * 4
with open(work + "/huge.bmp", "wb") as f:
    f.write(b"BM" + struct.pack("<IHHI", min(54 + row * h, 0xFFFFFFFF), 0, 0, 54))
    f.write(struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, 0, 2835, 2835, 0, 0))
os.truncate(work + "/huge.bmp", 54 + row * h)
PY
convert -size 5600x5600 xc:white "$E2E_WORK/wide.png"
convert -size 16x16 xc:gray -interlace JPEG "$E2E_WORK/crafted.jpg"
python3 - "$E2E_WORK/crafted.jpg" <<'PY'
import sys
data = bytearray(open(sys.argv[1], "rb").read())
at = data.index(b"\xff\xc2")
data[at + 5:at + 9] = (12000).to_bytes(2, "big") + (16000).to_bytes(2, "big")
open(sys.argv[1], "wb").write(data)
PY
write_settings 6 "$E2E_WORK/wide.png" "$E2E_WORK/crafted.jpg" "$E2E_WORK/huge.bmp"
start=$(date +%s.%N)
commit_dialog
for i in $(seq 1 600); do grep -q 'Image Processing Error' "$E2E_WORK/stderr" && break; sleep 0.05; done
took=$(echo "$(date +%s.%N) - $start" | bc)
grep -q "crafted.jpg (16000 x 12000 is too large to show)" "$E2E_WORK/stderr" || fail "the crafted JPEG was not refused with its reason: $(cat "$E2E_WORK/stderr")"
sleep 0.3
peak=$(peak_mb)
kill "$E2E_SAVER"; wait "$E2E_SAVER" 2>/dev/null; E2E_SAVER=
[ "$peak" -le 300 ] || fail "the dialog and OK peaked at $peak MB"
e2e_within "$took" 4 || fail "opening the dialog and refusing took $took s"
echo "crafted: PNG converted, JPEG refused, peak $peak MB, ${took}s from start to refusal" >&2

# The BMP first: its thumbnail is refused as the dialog opens.
write_settings 6 "$E2E_WORK/huge.bmp"
e2e_start /c
for i in $(seq 1 600); do grep -q 'too large to show' "$E2E_WORK/stderr" && break; sleep 0.05; done
grep -q "huge.bmp is not a picture Glidorama can show. (20000 x 20000 is too large to show)" "$E2E_WORK/stderr" ||
  fail "the huge BMP's thumbnail was not refused with its reason: $(cat "$E2E_WORK/stderr")"
peak=$(peak_mb)
[ "$peak" -le 300 ] || fail "the dialog peaked at $peak MB over the huge BMP"
kill "$E2E_SAVER"; wait "$E2E_SAVER" 2>/dev/null; E2E_SAVER=

# 5. The HEIF library is loaded only for a HEIF picture; one that cannot be
# loaded (here an empty file in its place) refuses the picture by name, and
# the dialog stays up.
mkdir "$E2E_WORK/broken"
: > "$E2E_WORK/broken/libheif.so.1"
write_settings 6 "$deep/phone.heic" "$deep/web.webp"
LD_LIBRARY_PATH=$E2E_WORK/broken e2e_start /c
e2e_wait_dialog
for i in $(seq 1 100); do grep -q 'phone.heic is not a picture' "$E2E_WORK/stderr" && break; sleep 0.05; done
grep -q "phone.heic is not a picture Glidorama can show. (the HEIF decoding library cannot be loaded" "$E2E_WORK/stderr" ||
  fail "a HEIC picture without its library was not refused by name: $(cat "$E2E_WORK/stderr")"
sleep 0.3
kill -0 "$E2E_SAVER" 2>/dev/null || fail "the dialog ended when the HEIF library could not be loaded"
kill "$E2E_SAVER"; wait "$E2E_SAVER" 2>/dev/null; E2E_SAVER=
echo "pictures: ok"
