#!/usr/bin/env bash
# A list of 50 pictures: the first "&OK" converts them all; a second "&OK"
# with nothing changed converts none (no cached file is touched) and closes
# as quickly.
set -u
source "$(dirname "$0")/lib.sh"
e2e_setup "$1" 1024x768

mkdir -p "$E2E_APP/Glidorama" "$E2E_WORK/album"
rm -f "$E2E_APP"/Glidorama/*
{
  echo "[total]"; echo "newTotal=50"; echo "ClonesOfImage=5"
  echo "[saver]"; echo "mode=0"
  echo "[images]"
} > "$E2E_APP/z909ssaver.ini"
for i in $(seq 0 49); do
  convert -size 120x90 "xc:rgb($((i * 5)),$((250 - i * 5)),128)" "$E2E_WORK/album/p$i.png" || fail "convert could not make a picture"
  echo "$i=$E2E_WORK/album/p$i.png" >> "$E2E_APP/z909ssaver.ini"
done

# Opens the dialog, presses "&OK" and waits for it to close.
confirm() {
  e2e_start /c
  e2e_wait_dialog
  xdotool key alt+o
  e2e_wait_exit 30
  [ "$E2E_STATUS" = 0 ] || fail "OK did not close the dialog (status $E2E_STATUS): $(cat "$E2E_WORK/stderr")"
}

confirm
[ "$(ls "$E2E_APP"/Glidorama/Glidorama*.dib | wc -l)" = 50 ] || fail "the first OK did not cache 50 pictures"
first=$(cd "$E2E_APP/Glidorama" && stat -c '%n %y %s' Glidorama*.dib | sort)
sleep 1.1  # a new conversion would carry a later time
confirm
second=$(cd "$E2E_APP/Glidorama" && stat -c '%n %y %s' Glidorama*.dib | sort)
[ "$first" = "$second" ] || fail "the second OK touched cached files: $(diff <(echo "$first") <(echo "$second") | head -5)"
ls -A "$E2E_APP/Glidorama" | grep -q '^\.' && fail "temporary files were left: $(ls -A "$E2E_APP/Glidorama" | grep '^\.')"

# One picture changed: only its copy is made again.
convert -size 130x90 xc:white "$E2E_WORK/album/p7.png"
sleep 1.1
confirm
third=$(cd "$E2E_APP/Glidorama" && stat -c '%n %y %s' Glidorama*.dib | sort)
changed=$(diff <(echo "$second") <(echo "$third") | grep -c '^>')
[ "$changed" = 1 ] || fail "changing one picture remade $changed copies"
echo "$third" | grep -q '^Glidorama7.dib ' || fail "copy 7 missing"
echo "album: ok"
