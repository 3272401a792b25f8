#!/usr/bin/env bash
# The command line chooses the mode; anything else, and a second instance,
# ends at once without showing anything.
set -u
source "$(dirname "$0")/lib.sh"
e2e_setup "$1"

for line in "" " /s" "-s" "/x"; do
  e2e_start "$line"
  e2e_wait_exit 3; [ "$E2E_STATUS" = 0 ] || fail "command line '$line' did not end at once with status 0"
done

printf '[saver]\nmode=%s\nnewBackColor=65280\n' "$NO_EFFECT" > "$E2E_APP/z909ssaver.ini"
for line in "/S" "/s:123" "/s 123"; do
  e2e_start $line
  sleep 1.5
  kill -0 "$E2E_SAVER" 2>/dev/null || fail "'$line' did not open the saver: $(cat "$E2E_WORK/stderr")"
  first=$E2E_SAVER
  # A second instance, whatever its switch, ends at once. (The saver shows
  # only its background.)
  for second in "/s" "/c" "/p 0"; do
    e2e_start $second
    e2e_wait_exit 3; [ "$E2E_STATUS" = 0 ] || fail "second instance '$second' did not end at once"
  done
  E2E_SAVER=$first
  e2e_wait_pixel 10 10 "0,255,0" || fail "'$line' does not cover the screen with the background colour"
  xdotool key space
  e2e_wait_exit 3; [ "$E2E_STATUS" != running ] || fail "a key press did not end '$line'"
done
# Without a runtime folder from the session the program makes a private
# one of its own, quietly, and a second run finds the first through it.
mkdir -p "$E2E_WORK/tmp"
export TMPDIR=$E2E_WORK/tmp
unset XDG_RUNTIME_DIR
e2e_start /s
sleep 1.5
kill -0 "$E2E_SAVER" 2>/dev/null || fail "without XDG_RUNTIME_DIR the saver did not start: $(cat "$E2E_WORK/stderr")"
cp "$E2E_WORK/stderr" "$E2E_WORK/first.stderr"
first=$E2E_SAVER
e2e_start /c
e2e_wait_exit 3; [ "$E2E_STATUS" = 0 ] || fail "without XDG_RUNTIME_DIR a second instance did not end at once"
E2E_SAVER=$first
runtime=$TMPDIR/glidorama-runtime-$(id -u)
[ "$(stat -c %a "$runtime" 2>/dev/null)" = 700 ] || fail "no private runtime folder $runtime"
grep -q XDG_RUNTIME_DIR "$E2E_WORK/first.stderr" && fail "Qt complained: $(cat "$E2E_WORK/first.stderr")"
xdotool key space
e2e_wait_exit 3; [ "$E2E_STATUS" != running ] || fail "a key press did not end the saver"
echo "dispatch: ok"
