#!/usr/bin/env bash
# A program as a screen reader sees it: a private session bus, the desktop's
# accessibility bus launcher with accessibility switched on, and a private Xvfb
# server; the program starts there and atspi_client.py finds it through the
# registry and drives it as SCENARIO says (see atspi_client.py):
#   quit       emrpatch quit through the click action of "退出": ends with 0, nothing written;
#   apply      emrpatch applied through the click action of "确定": the settings written,
#              the box read as an alert and closed, ends with 0;
#   workbench  the workbench's menu bar, tool bar, Bold checked and a focus event.
#   AtspiE2E.sh PROGRAM SCENARIO
# Exits 77 (skipped) only when a package that scripts/install-deps installs is missing.
set -euo pipefail
program=$(realpath "$1")
scenario=${2:-}
case "$scenario" in
  quit | apply | workbench) ;;
  *) echo "usage: AtspiE2E.sh PROGRAM {quit|apply|workbench}"; exit 2 ;;
esac
here=$(cd "$(dirname "$0")" && pwd)
launcher=/usr/libexec/at-spi-bus-launcher

missing=()
for tool in Xvfb openbox xdotool xprop dbus-run-session dbus-send "$launcher"; do
  command -v "$tool" >/dev/null 2>&1 || missing+=("$tool")
done
/usr/bin/python3 -c 'import gi; gi.require_version("Atspi", "2.0")' 2>/dev/null || missing+=(python3-pyatspi)
if [ ${#missing[@]} -gt 0 ]; then
  echo "SKIP: not installed: ${missing[*]} (scripts/install-deps installs them)"
  exit 77
fi

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

# The X server first, so that the session bus and the services it starts know the display.
if [ -z "${EMR_ATSPI_SESSION:-}" ]; then
  exec 3> "$work/display"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
  pids+=($!)
  exec 3>&-
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
  [ -s "$work/display" ] || { echo "FAIL: Xvfb did not start"; exit 1; }
  export DISPLAY=:$(head -n1 "$work/display")
  # A window manager, so that the window can be activated and take the keys.
  openbox --sm-disable >/dev/null 2>&1 &
  pids+=($!)
  for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break; sleep 0.1; done
  status=0
  EMR_ATSPI_SESSION=1 GSETTINGS_BACKEND=memory dbus-run-session -- bash "$0" "$@" || status=$?
  exit "$status"
fi

"$launcher" --launch-immediately >/dev/null 2>&1 &
pids+=($!)
owned=0
for _ in $(seq 100); do
  if dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner \
       string:org.a11y.Bus 2>/dev/null | grep -q 'boolean true'; then
    owned=1
    break
  fi
  sleep 0.1
done
[ "$owned" -eq 1 ] || { echo "FAIL: the accessibility bus launcher did not start"; exit 1; }
# Accessibility switched on, as the desktop's setting does when a screen reader runs.
dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.freedesktop.DBus.Properties.Set \
  string:org.a11y.Status string:IsEnabled variant:boolean:true >/dev/null
# The launcher of a desktop session leaves the bus's address on the root window;
# this one does not on a bare server, so the test leaves it there as a session would.
address=$(dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress |
            sed -n 's/^ *string "\(.*\)"$/\1/p')
[ -n "$address" ] || { echo "FAIL: the launcher gave no bus address"; exit 1; }
xprop -root AT_SPI_BUS 2>/dev/null | grep -q '"' || xprop -root -f AT_SPI_BUS 8s -set AT_SPI_BUS "$address"

mkdir -p "$work/config"
XDG_CONFIG_HOME=$work/config "$program" &
app=$!
pids+=($app)

/usr/bin/python3 "$here/atspi_client.py" "$(basename "$program")" "$scenario"
# The workbench has no quit button; it is asked to stop as a desktop session would,
# before its folder goes away with the clean-up.
[ "$scenario" = workbench ] && kill -TERM "$app"

for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$app" 2>/dev/null; then
  echo "FAIL: the program still runs after it was asked to end"
  exit 1
fi
status=0
wait "$app" || status=$?
[ "$status" -eq 0 ] || { echo "FAIL: the program ended with status $status"; exit 1; }
echo "the program ended with status 0"

[ "$scenario" = workbench ] && exit 0
settings=$work/config/regional-settings.ini
if [ "$scenario" = quit ]; then
  [ -z "$(ls -A "$work/config")" ] || { echo "FAIL: quitting wrote $(ls -A "$work/config")"; exit 1; }
  echo "nothing written"
  exit 0
fi
[ -f "$settings" ] || { echo "FAIL: no $settings after the action of 确定"; exit 1; }
for expected in "sShortDate=yyyy-MM-dd" "sLongDate=yyyy'年'M'月 'd'日'" "sTimeFormat=HH:mm:ss" "s1159=" "s2359="; do
  tr -d '\r' < "$settings" | grep -qxF -- "$expected" || { echo "FAIL: $settings lacks $expected"; exit 1; }
done
echo "the settings were written"
