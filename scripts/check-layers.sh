#!/usr/bin/env bash
# Fails when a source file includes a header of a layer it must not depend on.
# Layers, lowest first: platform <- link <- core <- {reports, regscan} <- {app, cli}.
# A layer includes its own headers and those of the layers below it; layers
# side by side do not include each other, except that the program's entry
# (app) may hand its arguments to the command-line layer (cli).
#   scripts/check-layers.sh [SOURCE-ROOT]
set -euo pipefail
root="${1:-$(dirname "$0")/..}"
cd "$root"

declare -A may_include=(
  [platform]="platform"
  [link]="link platform"
  [core]="core link platform"
  [reports]="reports core link platform"
  [regscan]="regscan core link platform"
  [cli]="cli reports regscan core link platform"
  [app]="app cli reports regscan core link platform"
)

wrong=0
for layer in "${!may_include[@]}"; do
  [ -d "$layer" ] || continue
  while IFS=: read -r file header; do
    top="${header%%/*}"
    # Only headers of the tree's own folders count (not "gtest/gtest.h").
    [ "$top" != "$header" ] && [ -d "$top" ] || continue
    if [[ " ${may_include[$layer]} " != *" $top "* ]]; then
      echo "$file includes \"$header\": $layer/ may include only ${may_include[$layer]// /, }" >&2
      wrong=1
    fi
  done < <(grep -rHoE --include='*.h' --include='*.cpp' '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"]+"' "$layer" |
           sed -E 's/:[^"]*"([^"]+)"$/:\1/')
done
exit "$wrong"
