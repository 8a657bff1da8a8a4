#!/usr/bin/env bash
# The program as a screen reader sees it, under Wine (run inside xvfb-run):
# emrpatch.exe starts in the build's accessibility prefix, accessibleclient.exe
# (another process, as a screen reader is) walks its accessible tree, checks
# "确定" and "退出" and runs the default action of "退出"; the program must then
# end by itself with status 0.
#
# usage: ProgramAccessible.sh path/to/emrpatch.exe path/to/accessibleclient.exe
#        EMR_WINEPREFIX: the prefix (made on first use by scripts/wine-run)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
exe=$(realpath "$1")
client=$(realpath "$2")
: "${EMR_WINEPREFIX:?the prefix to run in}"
program_pid=
cleanup() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
  # The prefix's server serves this test's display only: it must not outlive it.
  WINEPREFIX=$EMR_WINEPREFIX wineserver -k 2>/dev/null || true
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# How long the program may take to end after "退出" is pressed.
readonly end_wait_steps=200 end_step=0.05

"$root/scripts/wine-run" "$exe" & program_pid=$!
"$root/scripts/wine-run" "$client" 电子病历补丁 确定 退出 || fail "the accessible tree is not as a user sees the window"
for _ in $(seq "$end_wait_steps"); do
  kill -0 "$program_pid" 2>/dev/null || break
  sleep "$end_step"
done
kill -0 "$program_pid" 2>/dev/null && fail "the program did not end after 退出 was pressed through its accessible object"
status=0
wait "$program_pid" || status=$?
program_pid=
[ "$status" -eq 0 ] || fail "exit status $status after 退出"
echo "退出 pressed through the accessible tree: the program ended"
