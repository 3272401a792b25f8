# Helpers for end-to-end tests on a real Wayland compositor: a headless sway
# of its own per test, run by an unprivileged user (sway refuses root), with
# the program copied where that user can read and write it.
# Usage: source wayland_lib.sh; wl_setup <path to glidorama> [WIDTHxHEIGHT]
# The desktop's background is pure green (WL_DESKTOP): wherever it shows,
# the saver does not cover.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

WL_DESKTOP="0,255,0"
WL_USER=glidorama-test

wl_setup() {
  local size=${2:-1024x768} tool
  for tool in sway swaymsg grim wtype convert setpriv; do
    command -v "$tool" >/dev/null || skip "$tool is not installed"
  done
  e2e_make_app_folder "$1"
  if [ "$(id -u)" -eq 0 ]; then
    id "$WL_USER" >/dev/null 2>&1 || useradd -M -r -s /usr/sbin/nologin "$WL_USER" || skip "cannot add the user $WL_USER"
    chown -R "$WL_USER:" "$E2E_WORK"
  else
    WL_USER=$(id -un)
  fi
  chmod 755 "$E2E_WORK"
  printf 'output * bg #00ff00 solid_color\noutput HEADLESS-1 resolution %s\n' "$size" >"$E2E_WORK/sway.conf"
  trap wl_teardown EXIT
  WL_SWAYSOCK=
  WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 WL_EXEC=exec \
    wl_as sway -c "$E2E_WORK/sway.conf" >"$E2E_WORK/sway.log" 2>&1 &
  WL_SWAY=$!
  local i
  for i in $(seq 1 200); do
    WL_SWAYSOCK=$(ls "$XDG_RUNTIME_DIR"/sway-ipc.*.sock 2>/dev/null | head -1)
    [ -S "$XDG_RUNTIME_DIR/wayland-1" ] && [ -n "$WL_SWAYSOCK" ] && break
    WL_SWAYSOCK=
    sleep 0.05
  done
  [ -n "$WL_SWAYSOCK" ] || skip "sway did not start: $(tail -3 "$E2E_WORK/sway.log")"
  # A pointer for the seat, which swaymsg then moves and clicks.
  # (Copied where the test user can read it: the checkout may be under /root.)
  cp "$(dirname "${BASH_SOURCE[0]}")/wl_pointer.py" "$E2E_WORK/"
  WL_EXEC=exec wl_as python3 "$E2E_WORK/wl_pointer.py" >"$E2E_WORK/pointer.log" 2>&1 &
  WL_POINTER=$!
  # The background is drawn by swaybg, a moment after sway is up.
  for i in $(seq 1 50); do
    wl_shot "$E2E_WORK/desktop.png" && [ "$(wl_share "$E2E_WORK/desktop.png" "$WL_DESKTOP")" = 1 ] && return 0
    sleep 0.1
  done
  skip "the desktop's background did not show: $(ls "$XDG_RUNTIME_DIR"; tail -3 "$E2E_WORK/sway.log")"
}

wl_teardown() {
  [ -n "${E2E_SAVER:-}" ] && kill "$E2E_SAVER" 2>/dev/null
  [ -n "${WL_POINTER:-}" ] && kill "$WL_POINTER" 2>/dev/null
  kill "$WL_SWAY" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$E2E_WORK"
}

# Runs a command as the test user in the compositor's session (with
# WL_EXEC=exec, in place of the calling shell: a background job's $! is
# then the command itself).
# (Sway itself is started with neither socket named.)
wl_as() {
  local run=() session=()
  [ "$(id -u)" -eq 0 ] && run=(setpriv --reuid="$WL_USER" --regid="$WL_USER" --clear-groups --)
  [ -n "${WL_SWAYSOCK:-}" ] && session=(WAYLAND_DISPLAY=wayland-1 SWAYSOCK="$WL_SWAYSOCK")
  ${WL_EXEC:-} "${run[@]}" env -u DISPLAY -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY -u SWAYSOCK XDG_RUNTIME_DIR="$XDG_RUNTIME_DIR" \
    HOME="$E2E_WORK" "${session[@]}" "$@"
}

# Runs the program with the given switch in the background; its pid is
# E2E_SAVER (the background shell becomes the program).
wl_start() {
  WL_EXEC=exec wl_as "$E2E_APP/glidorama" "$@" 2>"$E2E_WORK/stderr" &
  E2E_SAVER=$!
}

# A screenshot of every output, or of output $2.
wl_shot() {
  wl_as grim ${2:+-o "$2"} - >"$1" 2>/dev/null
}

# The share (0 to 1, three decimals) of the picture's pixels that are
# exactly the colour "r,g,b"; and 1 when any pixel is, else 0.
wl_matches() {
  local file=$1 colour=$2
  shift 2
  # White where the pixel is the colour, black elsewhere.
  convert "$file" -alpha off \( +clone -fill "rgb($colour)" -colorize 100 \) -compose difference -composite \
    -colorspace gray -threshold 0 -negate "$@"
}
wl_share() { wl_matches "$1" "$2" -format '%[fx:round(mean*1000)/1000]' info:; }
wl_shows() { wl_matches "$1" "$2" -format '%[fx:maxima]' info:; }

# Waits up to $3 seconds until output $1 shows no pixel of the desktop.
wl_wait_covered() {
  local output=$1 limit=${2:-3} i
  for i in $(seq 1 $((limit * 5))); do
    wl_shot "$E2E_WORK/check.png" "$output" && [ "$(wl_shows "$E2E_WORK/check.png" "$WL_DESKTOP")" = 0 ] && return 0
    sleep 0.2
  done
  return 1
}
