#!/usr/bin/env bash
# Checks that each code block the guide marks with
#   <!-- quoted from examples/FILE -->          (the whole file), or
#   <!-- quoted from examples/FILE [REGION] --> (the lines between "// [REGION]" and "// [end]",
#                                                without the indentation they share)
# is that file as it is now, so that the guide never shows code the build no longer compiles.
#   check-quotes.sh GUIDE
set -euo pipefail
guide=$1
docs=$(dirname "$guide")
failed=0
quotes=0
while IFS=: read -r at marker; do
  quote=${marker#*quoted from }
  quote=${quote% -->*}
  file=${quote%% *}
  region=""
  [[ $quote == *"["*"]"* ]] && region=${quote#*[} && region=${region%]*}
  if [ ! -f "$docs/$file" ]; then
    echo "$guide:$at: no file $docs/$file" >&2
    failed=1
    continue
  fi
  if [ -n "$region" ]; then
    # The region's lines, without the indentation they share.
    expected=$(awk -v start="// [$region]" '
      { t = $0; sub(/^[ \t]+/, "", t) }
      t == start { on = 1; next }
      on && t == "// [end]" { exit }
      on { line[++n] = $0; if (t != "") { m = match($0, /[^ ]/) - 1; if (min == "" || m < min) min = m } }
      END { for (i = 1; i <= n; i++) print substr(line[i], min + 1) }' "$docs/$file")
  else
    expected=$(cat "$docs/$file")
  fi
  # The fenced block that follows the marker.
  shown=$(awk -v from="$at" 'NR <= from {next} /^```/ {if (on) exit; on = 1; next} on' "$guide")
  if [ -z "$expected" ] || [ "$expected" != "$shown" ]; then
    echo "$guide:$at: the block does not match $file${region:+ [$region]}:" >&2
    diff <(printf '%s\n' "$expected") <(printf '%s\n' "$shown") >&2 || true
    failed=1
  fi
  quotes=$((quotes + 1))
done < <(grep -n '<!-- quoted from ' "$guide")
if [ "$quotes" -eq 0 ]; then
  echo "$guide: quotes nothing" >&2
  exit 1
fi
[ "$failed" -eq 0 ] && echo "$quotes quoted block(s) match their files"
exit "$failed"
