#!/usr/bin/env bash
# The layer check on small trees: the includes a layer may make pass, and each
# kind of wrong include is found and named.
#   tests/layers_test.sh PATH-TO-check-layers.sh
set -uo pipefail
check="$1"
tree="$(mktemp -d)"
trap 'rm -rf "$tree"' EXIT
failures=0

# Writes FILE (below the tree) with one include of HEADER.
put() { mkdir -p "$tree/$(dirname "$1")"; printf '#include "%s"\n' "$2" >"$tree/$1"; }
expect() {  # expect pass|fail DESCRIPTION
  local output status
  output="$(bash "$check" "$tree" 2>&1)"
  status=$?
  if { [ "$1" = pass ] && [ "$status" -ne 0 ]; } || { [ "$1" = fail ] && [ "$status" -eq 0 ]; }; then
    echo "expected the check to $1: $2 (status $status) $output" >&2
    failures=$((failures + 1))
  fi
  rm -rf "${tree:?}"/*
}

for dir in platform link core reports regscan app cli tests; do mkdir -p "$tree/$dir"; done
put platform/a.h "platform/b.h"
put link/smbus.h "platform/console.h"
put core/program.h "link/smbus.h"
put reports/r.cpp "core/program.h"
put reports/bq20z/x.cpp "reports/flag_lines.h"
put regscan/s.cpp "platform/console.h"
put app/menu.cpp "reports/bq20z/bq20z.h"
put app/main.cpp "cli/cli.h"
put cli/cli.cpp "regscan/regscan.h"
put tests/t.cpp "app/program_main.h"
put link/x.cpp "gtest/gtest.h"
expect pass "includes of the same and lower layers"

for wrong in "link/discovery.h:core/program.h" "platform/x.cpp:link/adapter.h" "core/x.h:reports/x.h" \
             "reports/x.cpp:regscan/regscan.h" "regscan/x.cpp:reports/x.h" "reports/x.cpp:app/x.h" \
             "core/x.cpp:cli/cli.h" "cli/x.cpp:app/program_main.h" "link/x.cpp:tests/support/harness.h"; do
  for dir in platform link core reports regscan app cli tests; do mkdir -p "$tree/$dir"; done
  put "${wrong%%:*}" "${wrong#*:}"
  expect fail "${wrong%%:*} including ${wrong#*:}"
done

[ "$failures" -eq 0 ]
