#!/usr/bin/env bash
# Glidorama on a Wayland desktop as a user sets it up (headless sway): the
# settings dialog opens as a Wayland window and answers the keyboard, and
# swayidle starts the saver after the idle time; a key ends it.
set -u
source "$(dirname "$0")/wayland_lib.sh"
wl_setup "$1"

# "/c": a Wayland window (no X server here), Cancel focused at the start.
open_dialog() {
  wl_start /c
  local i
  for i in $(seq 1 100); do
    wl_as swaymsg -t get_tree | grep -q '"app_id": "glidorama"' && break
    sleep 0.1
  done
  wl_as swaymsg -t get_tree | grep -q '"app_id": "glidorama"' ||
    fail "the dialog did not open as a Wayland window: $(cat "$E2E_WORK/stderr")"
  sleep 1
}
open_dialog
wl_shot "$E2E_WORK/dialog.png" HEADLESS-1
[ "$(wl_share "$E2E_WORK/dialog.png" "$WL_DESKTOP")" != 1 ] || fail "the dialog shows nothing"
wl_as wtype -s 400 -k Return
e2e_wait_exit 5
[ "$E2E_STATUS" = 0 ] || fail "Return on Cancel did not close the dialog (status $E2E_STATUS)"
[ ! -e "$E2E_APP/z909ssaver.ini" ] || fail "Cancel wrote the settings file"
open_dialog
wl_as wtype -s 400 -M alt o -m alt
e2e_wait_exit 30
[ "$E2E_STATUS" = 0 ] || fail "Alt+O did not close the dialog (status $E2E_STATUS)"
[ -s "$E2E_APP/z909ssaver.ini" ] || fail "OK wrote no settings file"

# The README's swayidle line, with a 5 s idle time.
command -v swayidle >/dev/null || skip "swayidle is not installed"
WL_EXEC=exec wl_as swayidle -w timeout 5 "$E2E_APP/glidorama /s" >"$E2E_WORK/swayidle.log" 2>&1 &
idle=$!
sleep 3
wl_shot "$E2E_WORK/early.png" HEADLESS-1
[ "$(wl_share "$E2E_WORK/early.png" "$WL_DESKTOP")" = 1 ] || { kill $idle; fail "the saver started before the idle time"; }
wl_wait_covered HEADLESS-1 8 || { kill $idle; fail "swayidle did not start the saver: $(cat "$E2E_WORK/swayidle.log")"; }
wl_as wtype -s 400 a
uncovered=
for i in $(seq 1 15); do
  wl_shot "$E2E_WORK/after.png" HEADLESS-1
  [ "$(wl_share "$E2E_WORK/after.png" "$WL_DESKTOP")" = 1 ] && uncovered=yes && break
  sleep 0.2
done
kill $idle
[ -n "$uncovered" ] || fail "a key did not end the saver that swayidle started"
echo "ok"
