#!/usr/bin/env bash
# The real XScreenSaver daemon runs Glidorama as its users do: our line put
# into ~/.xscreensaver of a throw-away home by --install-xscreensaver, the
# daemon and its saver running as an ordinary user (it refuses to run
# savers as root), started with "-select 1" as the README says. Our pictures are on screen and still there past the daemon's
# watchdog, with one process of ours for the one monitor; turned off, the
# daemon leaves no process of ours within a second.
set -u
source "$(dirname "$0")/lib.sh"
command -v xscreensaver >/dev/null || skip "the daemon is not installed"
e2e_setup "$1" 1024x768
SAVER_USER=nobody
WATCH_SECONDS=${WATCH_SECONDS:-60}

chmod 755 "$E2E_WORK"
USER_HOME=$E2E_WORK/home
mkdir -p "$USER_HOME" "$E2E_WORK/user-runtime"
chmod 700 "$E2E_WORK/user-runtime"
cat > "$USER_HOME/.xscreensaver" <<EOF2
timeout:	1:00:00
lock:		False
fade:		False
unfade:		False
dpmsEnabled:	False
splash:		False
EOF2
printf '[saver]\nnewBackColor=65280\nmode=2\n' > "$E2E_APP/z909ssaver.ini"
chown -R "$SAVER_USER" "$USER_HOME" "$E2E_WORK/user-runtime" "$E2E_APP"

as_user() {
  setpriv --reuid="$SAVER_USER" --regid=nogroup --clear-groups \
    env -i DISPLAY="$DISPLAY" HOME="$USER_HOME" XDG_RUNTIME_DIR="$E2E_WORK/user-runtime" \
    PATH="$E2E_APP:/usr/bin:/bin" "$@"
}
# Our line goes into the daemon's default list, as the README has the user do.
as_user glidorama --install-xscreensaver >/dev/null || fail "--install-xscreensaver failed"
# Our processes: the copy of the program in this test's folder.
ours() { pgrep -f "^glidorama --root" -u "$SAVER_USER" | while read -r p; do
  [ "$(readlink "/proc/$p/exe")" = "$E2E_APP/glidorama" ] && echo "$p"; done; }

as_user xscreensaver -no-splash >"$E2E_WORK/daemon.log" 2>&1 &
DAEMON=$!
trap 'kill $DAEMON 2>/dev/null; e2e_teardown' EXIT
for i in $(seq 1 50); do as_user xscreensaver-command -time >/dev/null 2>&1 && break; sleep 0.1; done
as_user xscreensaver-command -select 1 >/dev/null 2>&1 || fail "the daemon did not take -select 1: $(tail -3 "$E2E_WORK/daemon.log")"

# Something of ours on screen: neither black nor our green background everywhere.
pictures_shown() {
  [ "$(xwd -root -silent | convert xwd:- -fill black -opaque '#00ff00' -threshold 8% -format '%[fx:mean>0]' info:)" = 1 ]
}
for i in $(seq 1 50); do [ -n "$(ours)" ] && pictures_shown && break; sleep 0.1; done
[ -n "$(ours)" ] || fail "the daemon did not start Glidorama: $(tail -5 "$E2E_WORK/daemon.log")"
pictures_shown || fail "no pictures on screen after activating"
first=$(ours)
sleep "$WATCH_SECONDS"
[ "$(ours | wc -l)" = 1 ] || fail "not exactly one Glidorama for the one monitor: $(ours | tr '\n' ' ')"
[ "$(ours)" = "$first" ] || fail "the daemon restarted Glidorama ($first, now $(ours))"
pictures_shown || { e2e_screenshot "$E2E_WORK/late.png"; fail "no pictures on screen ${WATCH_SECONDS} s after activating"; }

as_user xscreensaver-command -deactivate >/dev/null 2>&1
t0=$(date +%s.%N)
for i in $(seq 1 40); do [ -z "$(ours)" ] && break; sleep 0.05; done
took=$(echo "$(date +%s.%N) - $t0" | bc)
[ -z "$(ours)" ] || fail "Glidorama still runs 2 s after -deactivate"
echo "xscreensaver: Glidorama ended ${took:0:5} s after -deactivate returned"
e2e_within "$took" 1 || fail "Glidorama took $took s to end after -deactivate"
grep -i 'glidorama' "$E2E_WORK/daemon.log" | grep -iE 'crash|exited|signal' | head -3
grep -q 'unparsable' "$E2E_WORK/daemon.log" && fail "the daemon refused a line: $(grep unparsable "$E2E_WORK/daemon.log")"
as_user glidorama --uninstall-xscreensaver >/dev/null || fail "--uninstall-xscreensaver failed"
grep -q glidorama "$USER_HOME/.xscreensaver" && fail "--uninstall-xscreensaver left Glidorama listed"
echo "xscreensaver: ok"
