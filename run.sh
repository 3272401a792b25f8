#!/usr/bin/env bash
# Builds Glidorama and starts the saver on its built-in defaults. Without a
# display it runs the saver on a virtual one for a few seconds and leaves a
# screenshot in build/screenshots/.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
install_missing_packages
source scripts/build_settings.sh

configure_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo
# The program and what its first run needs; ./test.sh builds the tests.
cmake --build build -j "$(nproc)" --target glidorama

if [ -n "${DISPLAY:-}" ]; then
  exec build/glidorama /s
fi

mkdir -p build/screenshots
shot="build/screenshots/glidorama-$(date +%Y%m%d-%H%M%S).png"
echo "No display: running the saver on a virtual screen for a few seconds..."
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  build/glidorama /s &
  saver=$!
  sleep 6
  xwd -root -silent | convert xwd:- "$1"
  kill "$saver" 2>/dev/null || true
  wait "$saver" 2>/dev/null || true
' _ "$shot"
echo "Screenshot: $shot"
