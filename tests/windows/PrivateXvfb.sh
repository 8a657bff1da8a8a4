# Sourced by the Wine tests. start_private_xvfb WORK [GEOMETRY] starts Xvfb on a
# display number the server chooses itself (-displayfd): it claims the number
# atomically, so two tests started together never share one server, and one's
# clean-up never takes the other's display away. Sets DISPLAY and xvfb (the
# server's pid, for the caller's clean-up); the server's log is WORK/xvfb.log.
# The caller defines fail().
start_private_xvfb() {
  local work=$1 geometry=${2:-1024x768x24}
  exec 3>"$work/display"
  Xvfb -displayfd 3 -screen 0 "$geometry" -nolisten tcp >"$work/xvfb.log" 2>&1 &
  xvfb=$!
  exec 3>&-
  for _ in $(seq 300); do
    [ -s "$work/display" ] && break
    kill -0 "$xvfb" 2>/dev/null || break
    sleep 0.05
  done
  [ -s "$work/display" ] || fail "Xvfb did not start: $(tail -n 5 "$work/xvfb.log")"
  DISPLAY=:$(head -n1 "$work/display")
  export DISPLAY
}
