#!/usr/bin/env bash
# Runs ./test.sh (or the command given) on Debian 13 "trixie", in the cached
# root of scripts/test-in-debian-root.sh (GLIDORAMA_DEBIAN13_CACHE moves it).
#
#   scripts/test-on-debian13.sh              # ./test.sh, as CI runs it
#   scripts/test-on-debian13.sh ./run.sh     # any command, from the copy
export GLIDORAMA_DEBIAN_CACHE=${GLIDORAMA_DEBIAN13_CACHE:-/var/cache/glidorama/debian13}
exec "$(dirname "$0")/test-in-debian-root.sh" trixie "$@"
