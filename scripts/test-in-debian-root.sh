#!/usr/bin/env bash
# Runs ./test.sh (or the command given) on a Debian release other than the
# machine's own: in a root made once with debootstrap and then reused from a
# cache folder outside the checkout, into which the checkout's tracked files
# are copied afresh. Needs root (debootstrap, chroot, mounts). Exits with the
# command's status.
#
#   scripts/test-in-debian-root.sh trixie              # ./test.sh, as CI runs it
#   scripts/test-in-debian-root.sh bookworm ./run.sh   # any command, from the copy
#
# GLIDORAMA_DEBIAN_CACHE moves the cache (default
# /var/cache/glidorama/<release>); GLIDORAMA_WERROR is passed through.
set -euo pipefail
cd "$(dirname "$0")/.."
checkout=$PWD

if [ "$(id -u)" -ne 0 ]; then
  echo "test-in-debian-root: needs root (debootstrap, chroot and mounts)" >&2
  exit 1
fi
[ $# -gt 0 ] || { echo "usage: $0 <release> [command...]" >&2; exit 2; }
release=$1
shift
[ $# -gt 0 ] || set -- ./test.sh

cache=${GLIDORAMA_DEBIAN_CACHE:-/var/cache/glidorama/$release}
root=$cache/root
copy=/root/glidorama
mkdir -p "$cache"

# One run at a time per cache: a second one waits.
exec 9>"$cache/lock"
flock 9

# Every mount below the root, deepest first.
unmount_all() {
  local point
  awk -v root="$root/" 'index($2, root) == 1 { print $2 }' /proc/self/mounts | sort -r |
    while read -r point; do
      umount "$point" 2>/dev/null || umount -l "$point"
    done
}
# An earlier run stopped by force may have left its mounts.
unmount_all
trap unmount_all EXIT
trap 'exit 130' INT TERM HUP

# The archive apt uses here, so the root comes from the same place.
mirror=$(awk '/^URIs:/ && $2 !~ /security/ { print $2; exit }' \
  /etc/apt/sources.list.d/*.sources 2>/dev/null || true)
mirror=${mirror:-http://deb.debian.org/debian}

if [ ! -x "$root/usr/bin/apt-get" ]; then
  if ! command -v debootstrap >/dev/null; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq debootstrap >/dev/null
  fi
  # Built beside the cache and moved in whole, so a stopped run leaves no
  # half-made root that a later run would take for a good one.
  rm -rf "$root.new"
  echo "test-in-debian-root: making the $release root in $root (once)"
  nice debootstrap --variant=minbase "$release" "$root.new" "$mirror" >"$cache/debootstrap.log" 2>&1 ||
    { tail -20 "$cache/debootstrap.log" >&2; exit 1; }
  # Packages installed in the root must not start services.
  printf '#!/bin/sh\nexit 101\n' >"$root.new/usr/sbin/policy-rc.d"
  chmod 755 "$root.new/usr/sbin/policy-rc.d"
  # A throw-away root: dpkg need not sync each file it unpacks.
  echo force-unsafe-io >"$root.new/etc/dpkg/dpkg.cfg.d/unsafe-io"
  mv "$root.new" "$root"
fi
cp -L /etc/resolv.conf "$root/etc/resolv.conf"

mount -t proc proc "$root/proc"
mount --bind /sys "$root/sys"
mount --bind /dev "$root/dev"
mount -t devpts -o newinstance,ptmxmode=0666 devpts "$root/dev/pts"
mount -t tmpfs shm "$root/dev/shm"
# The host's /tmp: X servers in the root share the host's network and so
# its abstract sockets; the display lock files in /tmp must be shared too,
# or a server in the root takes a display number already in use outside.
mount --bind /tmp "$root/tmp"

# Qt takes the root for another machine (its own machine id), so a lock
# file that a run on the host left in the shared /tmp would look held to the
# root's saver, which would then end at once as a second instance. The
# root's programs get a runtime folder of their own.
rm -rf "${root:?}/run/user/0"
mkdir -p -m 0700 "$root/run/user/0"

rm -rf "${root:?}$copy"
mkdir -p "$root$copy"
git -C "$checkout" ls-files -z | tar -C "$checkout" --null -T - --ignore-failed-read -cf - |
  tar -C "$root$copy" -xf -

# CI's environment, with a compiler cache kept in the root so a second run
# compiles only what changed.
nice chroot "$root" /usr/bin/env -i \
  HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
  LANG=C.UTF-8 TERM="${TERM:-dumb}" CCACHE_DIR=/var/cache/ccache XDG_RUNTIME_DIR=/run/user/0 \
  ${GLIDORAMA_WERROR:+GLIDORAMA_WERROR="$GLIDORAMA_WERROR"} \
  bash -c 'cd "$1" && shift && "$@"' _ "$copy" "$@"
