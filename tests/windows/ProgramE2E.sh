#!/usr/bin/env bash
# End to end under Wine in Xvfb: emrpatch.exe in a fresh 32-bit prefix with the
# ANSI code page 936 (EMR_E2E_LANG=C: a Western prefix, code page 1252, where the
# program must write and say the same Chinese). Clicking "确定" must show the system box "提示" saying
# "补丁应用成功！" (read by windowtext.exe, run in the same prefix), exit with
# status 0 after Enter and leave the five regional values in the prefix's
# registry with every other value as it was; clicking "退出" must change nothing.
# With the Linux program as a third argument, the command bar's pixels of both
# programs are compared at the same client points.
#
# usage: ProgramE2E.sh path/to/emrpatch.exe path/to/windowtext.exe [path/to/linux/emrpatch]
#        (the Linux program may also be named by EMR_LINUX_PROGRAM)
#        EMR_E2E_LANG: the locale the prefix is made and run in (default zh_CN.UTF-8)
set -euo pipefail
exe=$(realpath "$1")
window_text=$(realpath "$2")
linux_program=${3:-${EMR_LINUX_PROGRAM:-}}
work=$(mktemp -d)
xvfb=
cleanup() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# The stored layout's client size: the frame Wine draws is what is left over.
readonly client_width=382 client_height=198

# A private server (see PrivateXvfb.sh).
. "$(dirname "$0")/PrivateXvfb.sh"
start_private_xvfb "$work"
# Says whether the private server is still there, for the failure messages below.
server_state() {
  kill -0 "$xvfb" 2>/dev/null && echo "Xvfb on $DISPLAY running" ||
    echo "Xvfb on $DISPLAY gone: $(tail -n 5 "$work/xvfb.log")"
}

export WINEARCH=win32 WINEDEBUG=-all LANG=${EMR_E2E_LANG:-zh_CN.UTF-8} WINEDLLOVERRIDES=mscoree,mshtml=
# Wine reads a program's arguments in the locale's character set: in the C locale
# the Chinese title would not arrive. C.UTF-8 is the same system for Wine otherwise.
argument_locale=
[ "$LANG" = C ] && argument_locale=C.UTF-8
export WINEPREFIX=$work/prefix
wineboot --init >/dev/null 2>&1
# Wine's windows place themselves; nothing waits for a window manager.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
wineserver -w

# The user's regional settings as the prefix's registry file keeps them.
international() {
  awk '/^\[Control Panel\\\\International\]/ {on=1; next} /^\[/ {on=0} on && /^"/' "$1/user.reg" | sort
}
# The system keeps the older values that follow from a picture in step with it
# (a short date "yyyy-MM-dd" makes the date separator "-"): those may change too.
others() {
  grep -v -E '^"(sShortDate|sLongDate|sTimeFormat|s1159|s2359)"=' |
    grep -v -E '^"(sDate|iDate|iCentury|iDayLZero|iMonLZero|sTime|iTime|iTLZero|iTimePrefix|iTimeMarkPosn)"='
}

wait_window() { # name → window id of the first visible one, waiting up to 60 s
  # (Wine's first start in a prefix can take most of that on a loaded machine.)
  local id
  for _ in $(seq 1200); do
    # By the UTF-8 name (_NET_WM_NAME): outside a Chinese locale Wine cannot put
    # the Chinese title into the older WM_NAME, which is what searching reads.
    for id in $(xdotool search --onlyvisible --name . 2>/dev/null || true); do
      grep -qE "$1" <<<"$(xdotool getwindowname "$id" 2>/dev/null)" && { echo "$id"; return 0; }
    done
    sleep 0.05
  done
  return 1
}

# Client point → screen point of a Wine window (its X window includes the frame).
client_to_screen() { # window x y
  eval "$(xdotool getwindowgeometry --shell "$1")"
  local left=$(((WIDTH - client_width) / 2))
  local top=$((HEIGHT - client_height - left))
  echo "$((X + left + $2)) $((Y + top + $3))"
}

pixel_at() { # x y → "r,g,b" of the screen
  import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null | tail -n1 | sed -E 's/.*\(([0-9]+),([0-9]+),([0-9]+).*/\1,\2,\3/'
}

run_and_click() { # prefix client-x client-y → sets $program_pid, $window
  export WINEPREFIX=$1
  local start=$(date +%s%N)
  wine "$exe" 2> "$work/wine.err" & program_pid=$!
  window=$(wait_window '^电子病历补丁$') || fail "no window 电子病历补丁: $(cat "$work/wine.err"); $(server_state)"
  # The first frame is there when the dock's gradient is.
  read -r gx gy < <(client_to_screen "$window" 200 20)
  for _ in $(seq 200); do
    [ "$(pixel_at "$gx" "$gy")" != "0,0,0" ] && break
    sleep 0.05
  done
  echo "first frame after $((($(date +%s%N) - start) / 1000000)) ms"
  sleep 0.3
  read -r sx sy < <(client_to_screen "$window" "$2" "$3")
  local before=$(pixel_at "$sx" "$sy")
  xdotool mousemove "$sx" "$sy"
  sleep 0.3
  local hot=$(pixel_at "$sx" "$sy")
  [ "$before" != "$hot" ] || fail "pointing at the button painted no hot face ($before)"
  xdotool click 1
}

# 1. "确定": the patch, the box, Enter, exit status 0, the five values.
before=$(international "$work/prefix")
run_and_click "$work/prefix" 15 8
box=$(wait_window '^提示$') || fail "no box 提示; $(server_state)"
# The box's text as the system shows it, read by another program in the prefix.
said=$(LC_ALL=$argument_locale wine "$window_text" 提示 2>> "$work/wine.err") || fail "no text in the box 提示: $(cat "$work/wine.err")"
grep -qxF '补丁应用成功！' <<<"$said" || fail "the box 提示 says \"$said\", not 补丁应用成功！"
echo "提示 says $said"
sleep 0.3
xdotool windowactivate "$box" 2>/dev/null || true
xdotool key Return
status=0
wait "$program_pid" || status=$?
[ "$status" -eq 0 ] || fail "exit status $status after 确定"
wineserver -w
after=$(international "$work/prefix")
expect() {
  grep -qxF "$1" <<<"$after" || fail "missing $1 in HKCU\\Control Panel\\International"
}
expect '"sShortDate"="yyyy-MM-dd"'
expect "\"sLongDate\"=\"yyyy'\\x5e74'M'\\x6708 'd'\\x65e5'\""
expect '"sTimeFormat"="HH:mm:ss"'
expect '"s1159"=""'
expect '"s2359"=""'
diff <(others <<<"$before") <(others <<<"$after") >&2 || fail "other regional values changed"
echo "确定: five values written, others unchanged"

# 2. "退出": nothing changes.
before=$(international "$work/prefix")
run_and_click "$work/prefix" 49 8
status=0
wait "$program_pid" || status=$?
[ "$status" -eq 0 ] || fail "exit status $status after 退出"
wineserver -w
[ "$before" = "$(international "$work/prefix")" ] || fail "退出 changed the regional values"
echo "退出: no change"

# 3. The command bar against the Linux program's, point by point, and the time
#    each takes to its first frame (measured alike: until the dock's gradient shows).
if [ -n "$linux_program" ]; then
  # The Windows program paints in the desktop's colours (GetSysColor), the Linux
  # one in those of a default Windows 7 desktop: the prefix gets those for this run.
  cat > "$work/colors.reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Control Panel\Colors]
"Scrollbar"="200 200 200"
"Background"="0 0 0"
"ActiveTitle"="153 180 209"
"InactiveTitle"="191 205 219"
"Menu"="240 240 240"
"Window"="255 255 255"
"WindowFrame"="100 100 100"
"MenuText"="0 0 0"
"WindowText"="0 0 0"
"TitleText"="0 0 0"
"ActiveBorder"="180 180 180"
"InactiveBorder"="244 247 252"
"AppWorkSpace"="171 171 171"
"Hilight"="51 153 255"
"HilightText"="255 255 255"
"ButtonFace"="240 240 240"
"ButtonShadow"="160 160 160"
"GrayText"="109 109 109"
"ButtonText"="0 0 0"
"InactiveTitleText"="67 78 84"
"ButtonHilight"="255 255 255"
"ButtonDkShadow"="105 105 105"
"ButtonLight"="227 227 227"
"InfoText"="0 0 0"
"InfoWindow"="255 255 225"
"HotTrackingColor"="0 102 204"
"GradientActiveTitle"="185 209 234"
"GradientInactiveTitle"="215 228 242"
"MenuHilight"="51 153 255"
"MenuBar"="240 240 240"
REG
  WINEPREFIX=$work/prefix wine regedit /S "$(winepath -w "$work/colors.reg" 2>/dev/null || echo "$work/colors.reg")" \
    >/dev/null 2>&1
  WINEPREFIX=$work/prefix wineserver -w
  t0=$(date +%s%N)
  XDG_CONFIG_HOME=$work/linux-config "$linux_program" 2> "$work/linux.err" & linux_pid=$!
  # No Windows program runs now: the one window of that name is the Linux program's.
  linux_window=$(wait_window '^电子病历补丁$') ||
    fail "no Linux window ($(kill -0 "$linux_pid" 2>/dev/null && echo running || echo ended): $(cat "$work/linux.err"); $(server_state))"
  eval "$(xdotool getwindowgeometry --shell "$linux_window")"
  lx=$X ly=$Y
  for _ in $(seq 400); do
    [ "$(pixel_at $((lx + 200)) $((ly + 20)))" != "0,0,0" ] && break
    sleep 0.05
  done
  echo "Linux program: first frame after $((($(date +%s%N) - t0) / 1000000)) ms"
  xdotool mousemove 0 767
  # The two windows stand at the same place: each is shot alone.
  xdotool windowunmap "$linux_window"
  export WINEPREFIX=$work/prefix
  t0=$(date +%s%N)
  wine "$exe" 2> "$work/wine.err" & program_pid=$!
  window=$(wait_window '^电子病历补丁$') || fail "no window 电子病历补丁: $(cat "$work/wine.err"); $(server_state)"
  read -r gx gy < <(client_to_screen "$window" 200 20)
  for _ in $(seq 400); do
    [ "$(pixel_at "$gx" "$gy")" != "0,0,0" ] && break
    sleep 0.05
  done
  echo "Windows program: first frame after $((($(date +%s%N) - t0) / 1000000)) ms"
  sleep 0.5
  import -window root "$work/wine.png"
  read -r wx wy < <(client_to_screen "$window" 0 0)
  xdotool windowunmap "$window"
  xdotool windowmap "$linux_window"
  sleep 0.5
  import -window root "$work/linux.png"
  mismatches=0 points=0
  # Dock gradient, toolbar border and corners, grip and right handle; the buttons'
  # captions and glyphs are left to each platform's font rasteriser.
  for p in 0,0 1,1 2,2 3,1 4,5 5,10 6,20 7,30 8,40 4,44 3,45 50,1 50,2 50,44 89,5 90,10 91,20 92,30 \
           93,40 88,44 94,20 95,2 100,10 120,20 150,30 200,40 250,5 300,15 350,25 381,46 381,0 \
           200,0 200,46 10,1 20,44 60,43 85,2 93,1 93,45 3,2 4,1; do
    x=${p%,*} y=${p#*,}
    a=$(convert "$work/linux.png" -format "%[pixel:p{$((lx + x)),$((ly + y))}]" info:)
    b=$(convert "$work/wine.png" -format "%[pixel:p{$((wx + x)),$((wy + y))}]" info:)
    points=$((points + 1))
    [ "$a" = "$b" ] || { echo "  ($x, $y): Linux $a, Windows $b"; mismatches=$((mismatches + 1)); }
  done
  [ -n "${EMR_E2E_SHOTS:-}" ] && cp "$work/wine.png" "$work/linux.png" "$EMR_E2E_SHOTS/"
  kill "$linux_pid" "$program_pid" 2>/dev/null || true
  [ "$mismatches" -eq 0 ] || fail "$mismatches of $points command-bar pixels differ from the Linux program's"
  echo "command bar: $points pixels equal to the Linux program's"
fi
echo PASS
