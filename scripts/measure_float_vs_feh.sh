#!/usr/bin/env bash
# CPU time and peak memory of Float against feh's slide show, in one run on
# one virtual screen: 20 photo-like 24-megapixel JPEGs changing every 3 s,
# each program for the same time, each under /usr/bin/time -v.
# Usage: scripts/measure_float_vs_feh.sh [path to glidorama] [SECONDS] [WIDTHxHEIGHT]
# The photos are made once and kept in $PHOTOS (/tmp/glidorama-photos-24mp).
# FLOAT_SPEED (5: the motion timer at its fastest), FLOAT_EFFECT (0:
# "Standard") and FLOAT_CENTER (0: the picture floats) set the saver's
# Float settings.
set -u
here=$(cd "$(dirname "$0")/.." && pwd)
binary=$(realpath "${1:-$here/build/glidorama}")
seconds=${2:-30}
size=${3:-1920x1080}
photos=${PHOTOS:-/tmp/glidorama-photos-24mp}
count=20

# Photo-like content: smooth colour clouds with fine grain, so each file
# compresses (about 9 MB) and decodes like a camera photo.
make_photos() {
  mkdir -p "$photos"
  local i work
  work=$(mktemp -d)
  for i in $(seq -w 1 "$count"); do
    [ -s "$photos/photo-$i.jpg" ] && continue
    echo "making $photos/photo-$i.jpg" >&2
    convert -seed "$((10#$i))" -size 750x500 plasma:fractal -blur 0x1 -depth 8 "$work/base.png" &&
      vips resize "$work/base.png" "$work/big.v" 8 &&
      vips gaussnoise "$work/noise.v" 6000 4000 --sigma 10 --mean 0 &&
      vips add "$work/big.v" "$work/noise.v" "$work/sum.v" &&
      vips cast "$work/sum.v" "$work/photo.v" uchar &&
      vips jpegsave "$work/photo.v" "$photos/photo-$i.jpg.part" --Q 90 &&
      mv "$photos/photo-$i.jpg.part" "$photos/photo-$i.jpg" || { echo "cannot make the photos" >&2; exit 1; }
    rm -f "$work"/*
  done
  rmdir "$work"
}
make_photos
files=("$photos"/photo-*.jpg)

source "$here/tests/e2e/lib.sh"
e2e_setup "$binary" "$size"
{
  cat <<INI
[saver]
mode=1
NextImageTime=3
NeverChange=False
newBackColor=0
effectMode=${FLOAT_EFFECT:-0}
randomEffect=0
centerImage=${FLOAT_CENTER:-0}
floatImageSpeed=${FLOAT_SPEED:-5}
[total]
newTotal=$count
ClonesOfImage=10
[speed]
imageSpeed=20
[images]
INI
  for i in "${!files[@]}"; do echo "$i=${files[$i]}"; done
  cat <<INI
[password]
saverEnabled=0
INI
} > "$E2E_APP/z909ssaver.ini"

# Runs the command for $seconds under /usr/bin/time -v; prints "cpu_seconds max_rss_kB".
measure() {
  local report=$E2E_WORK/time.txt
  /usr/bin/time -v -o "$report" timeout -s TERM "$seconds" "$@" >/dev/null 2>"$E2E_WORK/stderr"
  local user sys rss
  user=$(awk -F': ' '/User time/ {print $2}' "$report")
  sys=$(awk -F': ' '/System time/ {print $2}' "$report")
  rss=$(awk -F': ' '/Maximum resident/ {print $2}' "$report")
  echo "$(echo "$user + $sys" | bc) $rss $user $sys"
}

read -r saver_cpu saver_rss saver_user saver_sys < <(measure "$E2E_APP/glidorama" /s)
grep -v "ended by signal 15" "$E2E_WORK/stderr" | grep -q . && { echo "glidorama said:" >&2; cat "$E2E_WORK/stderr" >&2; }
sleep 1
read -r feh_cpu feh_rss feh_user feh_sys < <(measure feh -F -Z -D 3 "${files[@]}")

echo "screen $size, ${#files[@]} photos of 6000 x 4000, ${seconds} s each"
printf 'glidorama: CPU %6.2f s (user %5.2f, system %5.2f), peak RSS %7d kB\n' "$saver_cpu" "$saver_user" "$saver_sys" "$saver_rss"
printf 'feh:       CPU %6.2f s (user %5.2f, system %5.2f), peak RSS %7d kB\n' "$feh_cpu" "$feh_user" "$feh_sys" "$feh_rss"
printf 'ratio:     CPU %5.1f %%, memory %5.1f %%\n' "$(echo "100 * $saver_cpu / $feh_cpu" | bc -l)" \
  "$(echo "100 * $saver_rss / $feh_rss" | bc -l)"
