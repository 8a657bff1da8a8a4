#!/usr/bin/env bash
# The program as a screen reader sees it, under Wine in a private Xvfb:
# emrpatch.exe starts in the given prefix, accessibleclient.exe (another process,
# as a screen reader is) walks its accessible tree, checks "确定" and "退出" and
# runs the default action of the one to press; the program must then end by
# itself with status 0. Pressing "确定" must also show the box "提示" saying
# "补丁应用成功！" (read by windowtext.exe) and, after Return, leave the patched
# short date in the prefix's registry.
#
# usage: ProgramAccessible.sh emrpatch.exe accessibleclient.exe [windowtext.exe]
#        EMR_WINEPREFIX: the prefix (made on first use by scripts/wine-run)
#        EMR_PRESS: the button to press, 退出 (default) or 确定 (needs windowtext.exe)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
exe=$(realpath "$1")
client=$(realpath "$2")
window_text=${3:+$(realpath "$3")}
press=${EMR_PRESS:-退出}
: "${EMR_WINEPREFIX:?the prefix to run in}"
program_pid=
xvfb=
work=$(mktemp -d)
cleanup() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
  # The prefix's server serves this test's display only: it must not outlive it.
  WINEPREFIX=$EMR_WINEPREFIX wineserver -k 2>/dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

. "$(dirname "$0")/PrivateXvfb.sh"
start_private_xvfb "$work"

# How long the program may take to end after its last step.
readonly end_wait_steps=200 end_step=0.05
readonly international='HKCU\Control Panel\International'

short_date() {
  WINEPREFIX=$EMR_WINEPREFIX "$root/scripts/wine-run" reg query "$international" /v sShortDate 2>/dev/null |
    tr -d '\r' | awk '/sShortDate/ {print $NF}'
}

box_window() { # → the X window of the box 提示, waiting up to 20 s
  local id
  for _ in $(seq 400); do
    for id in $(xdotool search --onlyvisible --name . 2>/dev/null || true); do
      [ "$(xdotool getwindowname "$id" 2>/dev/null)" = 提示 ] && { echo "$id"; return 0; }
    done
    sleep 0.05
  done
  return 1
}

if [ "$press" = 确定 ]; then
  [ -n "$window_text" ] || fail "pressing 确定 needs windowtext.exe"
  # A short date the patch is sure to change, so that a prefix patched by an
  # earlier run cannot pass for this one.
  "$root/scripts/wine-run" reg add "$international" /v sShortDate /t REG_SZ /d yyyy/M/d /f >/dev/null 2>&1
fi

"$root/scripts/wine-run" "$exe" & program_pid=$!
"$root/scripts/wine-run" "$client" 电子病历补丁 确定 退出 "$press" ||
  fail "the accessible tree is not as a user sees the window"
if [ "$press" = 确定 ]; then
  said=$("$root/scripts/wine-run" "$window_text" 提示) || fail "no box 提示 after 确定"
  grep -qxF '补丁应用成功！' <<<"$(tr -d '\r' <<<"$said")" || fail "the box 提示 says \"$said\""
  box=$(box_window) || fail "the box 提示 is not shown"
  xdotool windowactivate "$box" 2>/dev/null || true
  xdotool key Return
fi
for _ in $(seq "$end_wait_steps"); do
  kill -0 "$program_pid" 2>/dev/null || break
  sleep "$end_step"
done
kill -0 "$program_pid" 2>/dev/null && fail "the program did not end after $press was pressed through its accessible object"
status=0
wait "$program_pid" || status=$?
program_pid=
[ "$status" -eq 0 ] || fail "exit status $status after $press"
if [ "$press" = 确定 ]; then
  date_format=$(short_date)
  [ "$date_format" = yyyy-MM-dd ] || fail "the short date is \"$date_format\" after 确定, not yyyy-MM-dd"
fi
echo "$press pressed through the accessible tree: the program ended"
