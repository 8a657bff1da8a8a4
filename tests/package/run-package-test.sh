#!/usr/bin/env bash
# Installs the toolkit from a build folder into a temporary prefix, then builds
# and runs a small program against it twice: through the CMake package and
# through the pkg-config file.
#   run-package-test.sh BUILD_DIR CONSUMER_SOURCE_DIR
set -euo pipefail
build=$1
consumer=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cmake --install "$build" --prefix "$work/prefix" >/dev/null
test -f "$work/prefix/include/emrtoolkit/toolbar/AdvToolBar.h"
test ! -e "$work/prefix/include/emrtoolkit/app"

# The utility with its desktop file and its icon in the hicolor theme's sizes.
test -x "$work/prefix/bin/emrpatch"
desktop=$work/prefix/share/applications/emrpatch.desktop
grep -qx 'Exec=emrpatch' "$desktop"
grep -qx 'Icon=emrpatch' "$desktop"
if command -v desktop-file-validate >/dev/null; then desktop-file-validate "$desktop"; fi
for size in 16 32 48; do
  icon=$work/prefix/share/icons/hicolor/${size}x${size}/apps/emrpatch.png
  # A PNG's width and height: big-endian words at bytes 16 and 20.
  read -r w0 w1 w2 w3 h0 h1 h2 h3 < <(od -An -tu1 -j16 -N8 "$icon")
  if [ $(((w0 << 24) | (w1 << 16) | (w2 << 8) | w3)) -ne "$size" ] ||
     [ $(((h0 << 24) | (h1 << 16) | (h2 << 8) | h3)) -ne "$size" ]; then
    echo "$icon is not $size x $size" >&2
    exit 1
  fi
done

cmake -S "$consumer" -B "$work/cmake" -G Ninja -DCMAKE_PREFIX_PATH="$work/prefix" >/dev/null
cmake --build "$work/cmake" >/dev/null
"$work/cmake/consumer"
"$work/cmake/layout_consumer"

export PKG_CONFIG_PATH="$work/prefix/lib/pkgconfig${PKG_CONFIG_PATH:+:$PKG_CONFIG_PATH}"
# shellcheck disable=SC2046
c++ -std=c++20 -o "$work/pc-consumer" "$consumer/main.cpp" $(pkg-config --cflags --libs --static emrtoolkit)
"$work/pc-consumer"
echo "1 passed, 0 failed"
