#!/usr/bin/env bash
# An installed copy run by an ordinary user: `cmake --install` into a
# temporary prefix made read-only, the user with a temporary home. The
# settings dialog's OK writes ~/.config/glidorama/z909ssaver.ini (mode 0600)
# and the cached pictures under ~/.local/share/glidorama/; "--root" and "/s"
# then show them. A copied folder without a cache folder gets one on OK.
set -u
source "$(dirname "$0")/lib.sh"
BUILD=$(cd "$(dirname "$1")" && pwd)
e2e_setup "$1" 1024x768
U=nobody
chmod 755 "$E2E_WORK"
PREFIX=$E2E_WORK/prefix
cmake --install "$BUILD" --prefix "$PREFIX" >"$E2E_WORK/install.log" 2>&1 || fail "cmake --install: $(tail -3 "$E2E_WORK/install.log")"
for f in bin/glidorama share/glidorama/samples/aurora.jpg share/xscreensaver/config/glidorama.xml \
         share/applications/screensavers/glidorama.desktop share/applications/glidorama-settings.desktop \
         share/icons/hicolor/scalable/apps/glidorama.svg; do
  [ -f "$PREFIX/$f" ] || fail "not installed: $f"
done
[ -x "$PREFIX/libexec/xscreensaver/glidorama" ] || fail "no saver in libexec/xscreensaver"
grep -q 'arg="--root"' "$PREFIX/share/xscreensaver/config/glidorama.xml" || fail "the XScreenSaver description runs no --root"
grep -q '^Categories=Screensaver;' "$PREFIX/share/applications/screensavers/glidorama.desktop" || fail "no Screensaver category"
grep -q '^Exec=glidorama /c' "$PREFIX/share/applications/glidorama-settings.desktop" || fail "the menu entry does not open /c"
chmod -R a-w "$PREFIX"

USER_HOME=$E2E_WORK/home
mkdir -p "$USER_HOME" "$E2E_WORK/user-runtime"
chmod 700 "$E2E_WORK/user-runtime"
chown -R "$U" "$USER_HOME" "$E2E_WORK/user-runtime"
as_user() {
  exec setpriv --reuid="$U" --regid=nogroup --clear-groups \
    env -i DISPLAY="$DISPLAY" HOME="$USER_HOME" XDG_RUNTIME_DIR="$E2E_WORK/user-runtime" PATH=/usr/bin:/bin "$@"
}
# The program's own pid is E2E_SAVER: the shell gives way to it.
start_as_user() { ( exec 2>"$E2E_WORK/stderr"; as_user "$@" ) & E2E_SAVER=$!; }

# Presses OK in the dialog of the program `$1` and waits for it to close.
dialog_ok() {
  start_as_user "$1" /c
  e2e_wait_dialog
  xdotool key alt+o
  e2e_wait_exit 20
  [ "$E2E_STATUS" = 0 ] || fail "OK did not close the dialog of $1 (status $E2E_STATUS): $(cat "$E2E_WORK/stderr")"
}

dialog_ok "$PREFIX/bin/glidorama"
INI=$USER_HOME/.config/glidorama/z909ssaver.ini
[ -f "$INI" ] || fail "OK wrote no $INI: $(cat "$E2E_WORK/stderr")"
[ "$(stat -c %a "$INI")" = 600 ] || fail "the settings file has mode $(stat -c %a "$INI"), not 600"
[ "$(stat -c %U "$INI")" = "$U" ] || fail "the settings file is not the user's"
grep -q "$PREFIX/share/glidorama/samples/" "$INI" || fail "the default pictures are not the installed samples"
ls "$USER_HOME/.local/share/glidorama/Glidorama/"Glidorama0.dib >/dev/null 2>&1 || fail "no cached pictures under ~/.local/share/glidorama"
[ -z "$(find "$PREFIX" -newer "$E2E_WORK/install.log" -not -type d)" ] || fail "something was written into the installed folder"

# Something on screen besides the background (black).
pictures_shown() {
  [ "$(xwd -root -silent | convert xwd:- -threshold 8% -format '%[fx:mean>0]' info:)" = 1 ]
}
wait_pictures() { local i; for i in $(seq 1 30); do pictures_shown && return 0; sleep 0.1; done; return 1; }

start_as_user "$PREFIX/libexec/xscreensaver/glidorama" --root
wait_pictures || fail "--root showed no pictures: $(cat "$E2E_WORK/stderr")"
kill -TERM "$E2E_SAVER"; e2e_wait_exit 1
[ "$E2E_STATUS" = 0 ] || fail "--root: SIGTERM status $E2E_STATUS"
grep -q 'not processed' "$E2E_WORK/stderr" && fail "--root: $(cat "$E2E_WORK/stderr")"

start_as_user "$PREFIX/bin/glidorama" /s
wait_pictures || fail "/s showed no pictures: $(cat "$E2E_WORK/stderr")"
sleep 0.5
xdotool key space
e2e_wait_exit 3
[ "$E2E_STATUS" = 0 ] || fail "/s did not end on a key with status 0 (status $E2E_STATUS)"

# A writable copy without a cache folder: OK makes it beside the program.
COPY=$E2E_WORK/copy
mkdir -p "$COPY" && cp "$E2E_APP/glidorama" "$COPY/" && cp -r "$E2E_APP/samples" "$COPY/" && chown -R "$U" "$COPY"
dialog_ok "$COPY/glidorama"
[ -f "$COPY/Glidorama/Glidorama0.dib" ] || fail "OK in a copied folder made no cache folder: $(cat "$E2E_WORK/stderr")"
[ -f "$COPY/z909ssaver.ini" ] || fail "OK in a copied folder wrote no settings beside the program"
[ ! -e "$USER_HOME/.config/glidorama/glidorama" ] || true

echo "install: ok"
