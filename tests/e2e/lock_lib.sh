# Helpers for the end-to-end tests of the lock: a magenta stand-in desktop
# under everything, settings that lock with the password "Secret", and the
# check that an attempt on the lock left it whole.
# Usage: source lock_lib.sh; lock_setup <path to glidorama>
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

lock_setup() {
  e2e_setup "$1"
  XC="/usr/bin/python3 $(dirname "${BASH_SOURCE[0]}")/x_client.py"
  $XC window 0 0 1024 768 600 >/dev/null &
  LOCK_DESKTOP=$!
  trap 'kill $LOCK_DESKTOP 2>/dev/null; e2e_teardown' EXIT
  e2e_wait_pixel 500 500 "255,0,255" || fail "the stand-in desktop did not show"
  lock_settings
}

# No effect: only the background colour (green) shows.
lock_settings() {
  printf '[saver]\nmode=%s\nnewBackColor=65280\n[password]\nsaverPassword=Secret\nsaverEnabled=1\n' "$NO_EFFECT" \
    > "$E2E_APP/z909ssaver.ini"
}

magenta_pixels() {
  xwd -root -silent | convert xwd:- -alpha off -fill black +opaque "#FF00FF" -fill white -opaque "#FF00FF" \
    -format "%[fx:round(mean*w*h)]" info:
}

# The lock holds after the attempt named in $1: the saver runs, every master
# keyboard and pointer is grabbed, and no pixel of the desktop shows.
check_locked() {
  kill -0 "$E2E_SAVER" 2>/dev/null || fail "$1 ended the saver: $(tail -5 "$E2E_WORK/stderr")"
  $XC masters_held >/dev/null || fail "$1 released a keyboard or a pointer"
  local shown
  shown=$(magenta_pixels)
  [ "$shown" = 0 ] || fail "$1 showed $shown pixels of the desktop"
}
