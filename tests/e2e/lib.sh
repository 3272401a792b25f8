# Helpers for end-to-end tests: each test gets its own virtual screen, its
# own program folder (a copy of the program, so the settings file and cache
# beside it are the test's own) and its own runtime folder.
# Usage: source lib.sh; e2e_setup <path to glidorama> [WIDTHxHEIGHT]

# The "mode" that names no effect, so the saver shows only its background.
# Effects count up from 0; a negative number never becomes one.
NO_EFFECT=-1

# A work folder for the test (E2E_WORK) holding a copy of the program with
# its samples and cached copies (E2E_APP) and a private runtime folder.
e2e_make_app_folder() {
  E2E_BINARY=$1
  E2E_WORK=$(mktemp -d)
  E2E_APP=$E2E_WORK/app
  mkdir -p "$E2E_APP" "$E2E_WORK/runtime"
  chmod 700 "$E2E_WORK/runtime"
  cp "$E2E_BINARY" "$E2E_APP/glidorama"
  local built_dir
  built_dir=$(dirname "$E2E_BINARY")
  [ -d "$built_dir/samples" ] && cp -r "$built_dir/samples" "$E2E_APP/"
  [ -d "$built_dir/Glidorama" ] && cp -r "$built_dir/Glidorama" "$E2E_APP/"
  export XDG_RUNTIME_DIR=$E2E_WORK/runtime
}

e2e_setup() {
  local size=${2:-1024x768}
  e2e_make_app_folder "$1"
  # -noreset: without it the server resets each time its last client leaves,
  # and the next program of the test can find no display for a moment.
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset 3>"$E2E_WORK/display" 2>/dev/null &
  E2E_XVFB=$!
  local i
  for i in $(seq 1 100); do
    [ -s "$E2E_WORK/display" ] && break
    sleep 0.05
  done
  export DISPLAY=:$(cat "$E2E_WORK/display")
  unset QT_QPA_PLATFORM
  trap e2e_teardown EXIT
}

e2e_teardown() {
  [ -n "${E2E_SAVER:-}" ] && kill "$E2E_SAVER" 2>/dev/null
  kill "$E2E_XVFB" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$E2E_WORK"
}

# Runs the program with the given switch in the background; its pid is E2E_SAVER.
e2e_start() {
  "$E2E_APP/glidorama" "$@" 2>"$E2E_WORK/stderr" &
  E2E_SAVER=$!
}

# Waits up to $1 seconds for the program to end; sets E2E_STATUS to its
# exit status, or to "running" when it is still running.
e2e_wait_exit() {
  local limit=$1 i
  E2E_STATUS=running
  for i in $(seq 1 $((limit * 20))); do
    if ! kill -0 "$E2E_SAVER" 2>/dev/null; then
      wait "$E2E_SAVER"
      E2E_STATUS=$?
      E2E_SAVER=
      return 0
    fi
    sleep 0.05
  done
}

e2e_screenshot() {
  xwd -root -silent | convert xwd:- "$1"
}

# The colour of one pixel of the screen as "r,g,b".
e2e_pixel() {
  xwd -root -silent | convert xwd:- -crop "1x1+$1+$2" -depth 8 txt:- | tail -1 | grep -oE '\([0-9]+,[0-9]+,[0-9]+' | head -1 | tr -d '('
}

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# The running saver's CPU share over the $1 seconds it has run, and its
# peak memory, as one line for the measuring scripts.
e2e_saver_figures() {
  local stat ticks hwm
  stat=($(sed 's/.*) //' "/proc/$E2E_SAVER/stat"))
  ticks=$((${stat[11]} + ${stat[12]}))
  hwm=$(awk '/VmHWM/ {print $2}' "/proc/$E2E_SAVER/status")
  echo "CPU $(echo "scale=1; 100 * $ticks / $(getconf CLK_TCK) / $1" | bc)% of one core, peak RSS $hwm kB"
}

# Ends a test that cannot run here (status 77: ctest reports it as skipped).
skip() {
  echo "skipped: $*"
  exit 77
}

# Succeeds when $1 seconds is within the time limit $2 (seconds). The limits
# are the program's promises on an idle machine; when other work holds the
# processors (load above one per core) the limit grows in proportion, so a
# busy build machine does not fail a program that is only waiting its turn.
e2e_within() {
  local cores load
  cores=$(nproc)
  read -r load _ </proc/loadavg
  awk -v t="$1" -v limit="$2" -v load="$load" -v cores="$cores" 'BEGIN {
    factor = load / cores; if (factor < 1) factor = 1
    if (factor > 1) printf "(limit %.2f s, %.1f times for a load of %s)\n", limit * factor, factor, load > "/dev/stderr"
    exit !(t < limit * factor)
  }'
}

# Waits up to $4 seconds (3 by default) until the pixel at $1,$2 is $3, or,
# when $3 starts with "!", until it is no longer the rest of $3. A loaded
# machine may take longer than a fixed pause to show a change.
e2e_wait_pixel() {
  local x=$1 y=$2 want=$3 limit=${4:-3} got i
  for i in $(seq 1 $((limit * 10))); do
    got=$(e2e_pixel "$x" "$y")
    if [ "${want#!}" != "$want" ]; then
      [ "$got" != "${want#!}" ] && return 0
    else
      [ "$got" = "$want" ] && return 0
    fi
    sleep 0.1
  done
  return 1
}

# Waits for the settings dialog of the program just started to be on screen
# and gives it the keyboard; its window id is E2E_DIALOG.
e2e_wait_dialog() {
  local i
  E2E_DIALOG=
  for i in $(seq 1 100); do
    E2E_DIALOG=$(xdotool search --onlyvisible --name '^ Glidorama $' 2>/dev/null | head -1)
    [ -n "$E2E_DIALOG" ] && break
    sleep 0.05
  done
  [ -n "$E2E_DIALOG" ] || fail "the dialog did not open: $(cat "$E2E_WORK/stderr")"
  sleep 0.5
  xdotool windowfocus --sync "$E2E_DIALOG" 2>/dev/null || true
}
