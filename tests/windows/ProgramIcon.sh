#!/usr/bin/env bash
# Checks that a Windows executable carries the program's icon as resources:
# icon group 1 (what Explorer and the window class show) and one 32-bit icon
# image for each of 16, 32 and 48 pixels.
#   ProgramIcon.sh PROGRAM.exe [OBJDUMP]
set -euo pipefail
exe=$1
objdump=${2:-i686-w64-mingw32-objdump}
dump=$("$objdump" -p "$exe")
# Each leaf's size under resource type 3 (icon images) and the names under
# type 14 (icon groups), from the resource directory tree.
hex=$(printf '%s\n' "$dump" | awk '
  /The .rsrc Resource Directory section/ { on = 1; next }
  !on { next }
  { gsub(/,/, "") }
  /^[0-9a-f]+   Entry: ID: / { type = $4; next }
  /^[0-9a-f]+     Entry: ID: / { if (type == "0x00000e") print "group" $4; next }
  /Leaf: Addr:/ && type == "0x000003" { print $6 }')
found=()
for word in $hex; do
  case $word in
    group*) found+=("group$((${word#group}))") ;;
    *) found+=("$((word))") ;;
  esac
done
# A 32-bit icon image of s pixels: its header, the pixels and a 1-bit mask in
# rows of whole 32-bit words.
expected=()
for s in 16 32 48; do expected+=($((40 + 4 * s * s + ((s + 31) / 32) * 4 * s))); done
expected+=(group1)
if [ "${found[*]}" != "${expected[*]}" ]; then
  echo "$exe: icon resources are \"${found[*]}\", expected \"${expected[*]}\"" >&2
  exit 1
fi
echo "$exe: icon group 1 with images of 16, 32 and 48 pixels"
