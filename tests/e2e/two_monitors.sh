# A real X server with two monitors side by side, for the end-to-end tests
# of "/s" on several monitors: Xvfb cannot place two monitors apart, the
# Xorg server with the dummy video driver can (two RandR outputs on one
# screen). Needs the right to start Xorg (root here).
# Usage: source lib.sh; source two_monitors.sh
#        e2e_setup_two_monitors <path to glidorama> [WIDTH HEIGHT]
# Leaves DISPLAY set, the outputs DUMMY0 (primary, at 0,0) and DUMMY1 (to
# its right) on, and E2E_MONITOR_WIDTH / E2E_MONITOR_HEIGHT set.

e2e_setup_two_monitors() {
  E2E_BINARY=$1
  E2E_MONITOR_WIDTH=${2:-1024}
  E2E_MONITOR_HEIGHT=${3:-768}
  local w=$E2E_MONITOR_WIDTH h=$E2E_MONITOR_HEIGHT
  if ! command -v Xorg >/dev/null || [ ! -e /usr/lib/xorg/modules/drivers/dummy_drv.so ]; then
    skip "no Xorg with the dummy driver"
  fi
  e2e_make_app_folder "$E2E_BINARY"
  # A modeline of 60 frames a second for the monitor size; the screen is
  # wide enough for two monitors side by side.
  local modeline
  modeline=$(cvt "$w" "$h" 60 2>/dev/null | sed -n 's/^Modeline "[^"]*"/"'"${w}x${h}"'"/p')
  [ -n "$modeline" ] || modeline="\"${w}x${h}\" 65.00 $w $((w + 24)) $((w + 160)) $((w + 320)) $h $((h + 3)) $((h + 9)) $((h + 38))"
  # The screen may grow tall enough for a 1280 x 1024 monitor (a mirrored
  # projector) too.
  local tall=$((h > 1024 ? h : 1024))
  mkdir -p "$E2E_WORK/xorg.conf.d"
  cat > "$E2E_WORK/xorg.conf" <<CONF
Section "ServerFlags"
    Option "AutoAddDevices" "false"
    Option "AutoAddGPU" "false"
    Option "DontVTSwitch" "true"
EndSection
Section "Device"
    Identifier "dummy"
    Driver "dummy"
    VideoRam $(( (2 * w * tall * 4 / 1024) + 16384 ))
EndSection
Section "Monitor"
    Identifier "monitor"
    HorizSync 5.0 - 1000.0
    VertRefresh 5.0 - 200.0
    Modeline $modeline
EndSection
Section "Screen"
    Identifier "screen"
    Device "dummy"
    Monitor "monitor"
    DefaultDepth 24
    SubSection "Display"
        Depth 24
        Virtual $((2 * w)) $tall
        Modes "${w}x${h}"
    EndSubSection
EndSection
Section "ServerLayout"
    Identifier "layout"
    Screen "screen"
EndSection
CONF
  # -sharevts -novtswitch: the server starts without a console of its own.
  Xorg -displayfd 3 -config "$E2E_WORK/xorg.conf" -configdir "$E2E_WORK/xorg.conf.d" -logfile "$E2E_WORK/xorg.log" \
    -noreset -nolisten tcp +extension RANDR -sharevts -novtswitch 3>"$E2E_WORK/display" >/dev/null 2>&1 &
  E2E_XVFB=$!
  local i
  for i in $(seq 1 100); do
    [ -s "$E2E_WORK/display" ] && break
    kill -0 "$E2E_XVFB" 2>/dev/null || break
    sleep 0.05
  done
  trap e2e_teardown EXIT
  # The dummy driver is installed with the rest: a server that will not
  # start is a fault of this machine to see, not a reason to skip.
  [ -s "$E2E_WORK/display" ] || fail "Xorg did not start: $(grep -m1 '(EE)' "$E2E_WORK/xorg.log" 2>/dev/null)"
  export DISPLAY=:$(cat "$E2E_WORK/display")
  unset QT_QPA_PLATFORM
  xrandr --addmode DUMMY1 "${w}x${h}" || fail "xrandr cannot add a mode to the second output"
  e2e_monitor_on || fail "xrandr cannot switch the second monitor on"
}

# Switches the second monitor on (again), to the right of the first.
e2e_monitor_on() {
  xrandr --output DUMMY0 --mode "${E2E_MONITOR_WIDTH}x${E2E_MONITOR_HEIGHT}" --pos 0x0 --primary \
         --output DUMMY1 --mode "${E2E_MONITOR_WIDTH}x${E2E_MONITOR_HEIGHT}" --pos "${E2E_MONITOR_WIDTH}x0"
}

e2e_monitor_off() {
  xrandr --output DUMMY1 --off
}
