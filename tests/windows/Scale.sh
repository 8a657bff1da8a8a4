#!/usr/bin/env bash
# Under Wine in Xvfb, with the prefix's LogPixels at 144 and then at 192: the
# Windows backend gives its window and every monitor the scale 1.5, then 2.
#
# usage: Scale.sh path/to/scaleprobe.exe
set -euo pipefail
probe=$(realpath "$1")
work=$(mktemp -d)
xvfb=
cleanup() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# A private server (see PrivateXvfb.sh).
. "$(dirname "$0")/PrivateXvfb.sh"
start_private_xvfb "$work"

# A prefix of its own: the DPI is the prefix's, and other tests share theirs.
export WINEARCH=win32 WINEDEBUG=-all WINEPREFIX=$work/prefix WINEDLLOVERRIDES=mscoree,mshtml=
wineboot --init >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
wineserver -w

for dpi in 144 192; do
  # Where the user's setting lives, and where older Wine versions read it.
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  wine reg add 'HKCC\Software\Fonts' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  # The DPI is read when the prefix's server starts.
  wineserver -w
  expected=$(awk -v d="$dpi" 'BEGIN { printf "%g", d / 96 }')
  out=$(wine "$probe" 2>"$work/wine.err" | tr -d '\r') || fail "the probe failed at $dpi dpi: $(cat "$work/wine.err")"
  wineserver -w
  echo "$dpi dpi: $(tr '\n' ' ' <<<"$out")"
  grep -qx "window $expected" <<<"$out" || fail "at $dpi dpi the window's scale is not $expected: $out"
  monitors=$(grep -c '^monitor ' <<<"$out" || true)
  [ "$monitors" -ge 1 ] || fail "no monitor reported at $dpi dpi: $out"
  [ "$(grep -cx "monitor $expected" <<<"$out" || true)" = "$monitors" ] ||
    fail "at $dpi dpi not every monitor's scale is $expected: $out"
done
echo "PASS"
