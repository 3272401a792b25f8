#!/usr/bin/env bash
# The uninstall target takes away what an install put down. The Debian
# package holds every installed file and is one a distribution would take:
# lintian finds no error in it, its menu and catalogue entries validate, its
# manual page reads cleanly and tells of every option of --help, and
# --version says the package's version.
set -u
source "$(dirname "$0")/lib.sh"
BUILD=$(cd "$(dirname "$1")" && pwd)
E2E_WORK=$(mktemp -d)
trap 'rm -rf "$E2E_WORK"' EXIT
PREFIX=$E2E_WORK/prefix
cmake --install "$BUILD" --prefix "$PREFIX" >"$E2E_WORK/install.log" 2>&1 || fail "cmake --install: $(tail -3 "$E2E_WORK/install.log")"
( cd "$PREFIX" && find . -not -type d | sed 's|^\./||' | sort ) > "$E2E_WORK/installed.list"
cmake --build "$BUILD" --target uninstall >"$E2E_WORK/uninstall.log" 2>&1 || fail "uninstall: $(tail -3 "$E2E_WORK/uninstall.log")"
left=$(find "$PREFIX" -not -type d; find "$PREFIX" -type d -name glidorama)
[ -z "$left" ] || fail "uninstall left: $left"

( cd "$BUILD" && cpack -G DEB -B "$E2E_WORK/pkg" >"$E2E_WORK/cpack.log" 2>&1 ) || fail "cpack: $(tail -3 "$E2E_WORK/cpack.log")"
DEB=$(ls "$E2E_WORK"/pkg/*.deb | head -1)
[ -n "$DEB" ] || fail "cpack made no .deb"
# cpack's own install leaves a list of package files the target must not remove.
cmake --build "$BUILD" --target uninstall >/dev/null 2>&1 && fail "uninstall removed the files of a package build"
dpkg-deb -c "$DEB" | awk '{print $6}' | sed 's|^\./usr/||' | sort > "$E2E_WORK/deb.list"
missing=$(comm -23 "$E2E_WORK/installed.list" "$E2E_WORK/deb.list")
[ -z "$missing" ] || fail "the package lacks: $missing"
dpkg-deb -f "$DEB" Depends | grep -q 'libqt6gui6' || fail "the package does not depend on Qt"
dpkg-deb -f "$DEB" Depends | grep -q 'libheif1' || fail "the package does not depend on the HEIF library it loads"

lintian --tag-display-limit 0 "$DEB" >"$E2E_WORK/lintian.log" 2>&1
grep -q '^E:' "$E2E_WORK/lintian.log" && fail "lintian: $(grep '^E:' "$E2E_WORK/lintian.log")"
dpkg-deb -x "$DEB" "$E2E_WORK/deb"
USR=$E2E_WORK/deb/usr
for f in share/applications/screensavers/glidorama.desktop share/applications/glidorama-settings.desktop; do
  desktop-file-validate "$USR/$f" >"$E2E_WORK/desktop.log" 2>&1 || fail "$f: $(cat "$E2E_WORK/desktop.log")"
done
appstream-util validate-relax --nonet "$USR/share/metainfo/glidorama-settings.metainfo.xml" >"$E2E_WORK/appstream.log" 2>&1 ||
  fail "metainfo: $(cat "$E2E_WORK/appstream.log")"
"$USR/bin/glidorama" --help >"$E2E_WORK/help.txt" 2>&1 || fail "--help: status $?"
version=$("$USR/bin/glidorama" --version)
[ "$version" = "glidorama $(dpkg-deb -f "$DEB" Version)" ] || fail "--version says \"$version\", the package $(dpkg-deb -f "$DEB" Version)"
LC_ALL=C.UTF-8 MANWIDTH=100 man --warnings -l "$USR/share/man/man6/glidorama.6.gz" >"$E2E_WORK/man.txt" 2>"$E2E_WORK/man.err" ||
  fail "man: $(cat "$E2E_WORK/man.err")"
[ -s "$E2E_WORK/man.err" ] && fail "man: $(cat "$E2E_WORK/man.err")"
for option in $(grep -oE -- '(^| )(--[a-z-]+|/[scp])' "$E2E_WORK/help.txt" | sort -u); do
  grep -qF -- "$option" "$E2E_WORK/man.txt" || fail "the manual page does not tell of $option"
done
echo "package: ok ($(wc -l < "$E2E_WORK/installed.list") files; lintian: $(grep -c '^W:' "$E2E_WORK/lintian.log") warnings)"
