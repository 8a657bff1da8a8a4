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

cmake -S "$consumer" -B "$work/cmake" -G Ninja -DCMAKE_PREFIX_PATH="$work/prefix" >/dev/null
cmake --build "$work/cmake" >/dev/null
"$work/cmake/consumer"

export PKG_CONFIG_PATH="$work/prefix/lib/pkgconfig${PKG_CONFIG_PATH:+:$PKG_CONFIG_PATH}"
# shellcheck disable=SC2046
c++ -std=c++20 -o "$work/pc-consumer" "$consumer/main.cpp" $(pkg-config --cflags --libs --static emrtoolkit)
"$work/pc-consumer"
echo "1 passed, 0 failed"
