#!/usr/bin/env bash
# Configures the project with EMR_LIBRARIES_ONLY and checks that a build would
# make every layer's library and nothing else: no program, example, tool, test
# or benchmark.
#   libraries-only.sh SOURCE_DIR
set -euo pipefail
source=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cmake -S "$source" -B "$work" -G Ninja -DEMR_LIBRARIES_ONLY=ON >/dev/null
built=$(ninja -C "$work" -t commands all | grep -o '\(ar qc\| -o\) [^ ]*' | sed 's/^\(ar qc\| -o\) //')
failed=0
for layer in core graphics platform streaming controls forms storage headless atspi x11 styling menus toolbar; do
  if ! grep -qx "src/libemr_$layer.a" <<<"$built"; then
    echo "the library of $layer is not built" >&2
    failed=1
  fi
done
others=$(grep -v '^src/CMakeFiles/\(core\|graphics\|platform\|streaming\|controls\|forms\|storage\|headless\|atspi\|x11\|styling\|menus\|toolbar\)\.dir/\|^src/libemr_[a-z0-9]*\.a$' <<<"$built" || true)
if [ -n "$others" ] || grep -q 'libemr_app\.a' <<<"$built"; then
  echo "built besides the libraries:" >&2
  printf '%s\n' "$others" | head -20 >&2
  failed=1
fi
[ "$failed" -eq 0 ] && echo "$(grep -c '\.o$' <<<"$built") sources, thirteen libraries, nothing else"
exit "$failed"
