#!/usr/bin/env bash
# emrpatch.exe under Wine in Xvfb with the prefix's LogPixels at 144 and at 192:
# its client area is 573 × 297 and 764 × 396 pixels, and a click at the scaled
# centre of "确定" applies the patch (the box 提示 comes up, Enter ends the program
# with status 0, and the short date is written).
#
# usage: ScaledProgramE2E.sh path/to/emrpatch.exe path/to/clientrect.exe
set -euo pipefail
exe=$(realpath "$1")
client_rect=$(realpath "$2")
work=$(mktemp -d)
xvfb=
cleanup() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# The stored layout's client area and its "确定" button, in device-independent pixels.
readonly client_width=382 client_height=198
readonly confirm_left=12 confirm_top=3 confirm_right=46 confirm_bottom=44

# A private server (see PrivateXvfb.sh).
. "$(dirname "$0")/PrivateXvfb.sh"
start_private_xvfb "$work" 1280x1024x24

export WINEARCH=win32 WINEDEBUG=-all LANG=zh_CN.UTF-8 WINEDLLOVERRIDES=mscoree,mshtml= WINEPREFIX=$work/prefix
wineboot --init >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
wineserver -w

# A device-pixel edge of a logical one, rounded to nearest.
edge() { awk -v v="$1" -v d="$2" 'BEGIN { printf "%d", int(v * d / 96 + 0.5) }'; }

for dpi in 144 192; do
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  wine reg add 'HKCC\Software\Fonts' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  wine reg delete 'HKCU\Control Panel\International' /v sShortDate /f >/dev/null 2>&1 || true
  wineserver -w
  wine "$exe" 2> "$work/wine.err" & program_pid=$!
  read -r x y width height < <(wine "$client_rect" 电子病历补丁 60000 | tr -d '\r') ||
    fail "no window 电子病历补丁 at $dpi dpi: $(cat "$work/wine.err")"
  expected="$(edge $client_width "$dpi") $(edge $client_height "$dpi")"
  [ "$width $height" = "$expected" ] || fail "at $dpi dpi the client area is $width × $height, not ${expected/ / × }"
  echo "$dpi dpi: client area $width × $height"
  sleep 1 # the first frame
  [ -n "${EMR_E2E_SHOTS:-}" ] && import -window root -crop "${width}x${height}+$x+$y" "$EMR_E2E_SHOTS/wine-${dpi}dpi.png"
  cx=$((x + ($(edge $confirm_left "$dpi") + $(edge $confirm_right "$dpi")) / 2))
  cy=$((y + ($(edge $confirm_top "$dpi") + $(edge $confirm_bottom "$dpi")) / 2))
  xdotool mousemove "$cx" "$cy"
  sleep 0.3
  xdotool click 1
  wine "$client_rect" 提示 10000 >/dev/null || fail "no box 提示 after clicking 确定 at $dpi dpi"
  sleep 0.3
  xdotool key Return
  status=0
  wait "$program_pid" || status=$?
  [ "$status" -eq 0 ] || fail "exit status $status after 确定 at $dpi dpi"
  wineserver -w
  grep -q '^"sShortDate"="yyyy-MM-dd"' "$WINEPREFIX/user.reg" || fail "the short date was not written at $dpi dpi"
  echo "$dpi dpi: 确定 applied the patch"
done
echo PASS
