#!/usr/bin/env bash
# Runs one menu choice N times on a simulated battery and prints two figures:
#  - real time (SMBUS_SIM_REALTIME=1): wall time against the sum of the sleeps
#    and beeps in the bus trace, as a ratio (1.00 means no time beyond pacing);
#  - virtual time: CPU time per cycle (user + system).
# Usage: bench/bench.sh CHOICE [N] [PROFILE] [EXTRA_INPUT]
#   CHOICE       a menu character, e.g. 3 (7 is a bare menu cycle)
#   N            repetitions (default 20)
#   PROFILE      built-in profile name or file (default bq40z50)
#   EXTRA_INPUT  a line typed after each choice, e.g. 00 for a register scan
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
binary="${VANTREL_BINARY:-$here/build/vantrel}"
choice="${1:?usage: bench.sh CHOICE [N] [PROFILE] [EXTRA_INPUT]}"
count="${2:-20}"
profile="${3:-bq40z50}"
extra="${4:-}"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"
: > input
for _ in $(seq "$count"); do
  if [ -n "$extra" ]; then printf '%s\n%s ' "$choice" "$extra" >> input; else printf '%s' "$choice" >> input; fi
done

TIMEFORMAT='%R %U %S'
measure() {  # prints "real user sys" of one run
  { time "$binary" < input > /dev/null; } 2>&1 | tail -n 1
}

read -r real_wall _ _ < <(SMBUS_ADAPTER="sim:$profile" SMBUS_SIM_REALTIME=1 SMBUS_TRACE=trace measure)
paced_ms=$(awk '$1 == "sleep" { s += $2 } $1 == "beep" { s += $3 } END { print s + 0 }' trace)
read -r _ user sys < <(SMBUS_ADAPTER="sim:$profile" measure)

awk -v wall="$real_wall" -v paced="$paced_ms" -v user="$user" -v sys="$sys" -v n="$count" \
    -v choice="$choice" -v profile="$profile" 'BEGIN {
  printf "choice %s x %d on %s\n", choice, n, profile
  printf "  real time:    wall %.3f s, sleeps and beeps %.3f s, ratio %.3f\n", wall, paced / 1000, wall / (paced / 1000)
  printf "  virtual time: CPU %.3f ms per cycle\n", (user + sys) * 1000 / n
}'
