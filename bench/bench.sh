#!/usr/bin/env bash
# Timings of the program on a simulated battery.
#
#   bench/bench.sh CHOICE [N] [PROFILE] [EXTRA_INPUT]
#     Runs one menu choice N times (default 20) in one process and prints:
#     - real time (SMBUS_SIM_REALTIME=1): wall time against the sum of the
#       sleeps and beeps in the bus trace, as a ratio (1.00: no time beyond pacing);
#     - virtual time: CPU time per cycle (user + system).
#     CHOICE is a menu character, e.g. 3 (7 is a bare menu cycle); EXTRA_INPUT
#     a line typed after each choice, e.g. 00 for a register scan.
#
#   bench/bench.sh pacing [RUNS] [CHOICE] [PROFILE]
#     The whole process, started RUNS times (default 7) for one choice
#     (default 3 on bq40z50) in real time: the median wall time against the
#     mandated sleeps and beeps, as a ratio.
#
#   bench/bench.sh cp2112 [RUNS]
#     The CP2112 backend through the tests' fake chip (build/cp2112_bench, built
#     with the tests): the HID reports of each kind of bus operation, and the
#     time of one bq40z report (best of RUNS, default 20) with its HID reports.
#
#   bench/bench.sh vm
#     The VM test (tests/qemu/vm_test.sh, a few minutes): each bridge case's
#     time through the emulated chip, with its sleeps, bus operations and HID
#     reports; the hidraw-* cases go through the CP2112 backend and hidapi.
#
#   bench/bench.sh recording [RUNS]
#     A session of the four reports and the four register scans from 0x00,
#     ten times over, on bq40z50 in virtual time (about 16000 answers), RUNS
#     times (default 7) plain and RUNS times with SMBUS_RECORD: the medians
#     and their ratio (what recording costs).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
binary="${VANTREL_BINARY:-$here/build/vantrel}"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"

# The wall time of one run in microseconds; the input comes from the file `input`.
run_us() {
  local start end
  start=$EPOCHREALTIME
  "$binary" < input > /dev/null
  end=$EPOCHREALTIME
  echo $(( (${end/./} - ${start/./}) ))
}

median_us() {  # RUNS, then the environment assignments of the runs
  local runs="$1"
  shift
  (
    export "$@"
    for _ in $(seq "$runs"); do run_us; done
  ) | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

paced_ms() {  # the sleeps and beeps of a bus trace
  awk '$1 == "sleep" { s += $2 } $1 == "beep" { s += $3 } END { print s + 0 }' "$1"
}

case "${1:-}" in
  pacing)
    runs="${2:-7}"
    choice="${3:-3}"
    profile="${4:-bq40z50}"
    printf '%s' "$choice" > input
    SMBUS_ADAPTER="sim:$profile" SMBUS_TRACE=trace "$binary" < input > /dev/null
    paced=$(paced_ms trace)
    wall=$(median_us "$runs" SMBUS_ADAPTER="sim:$profile" SMBUS_SIM_REALTIME=1)
    # The same run without pacing: what is left is what the sleeps overran.
    unpaced=$(median_us "$runs" SMBUS_ADAPTER="sim:$profile")
    awk -v wall="$wall" -v unpaced="$unpaced" -v paced="$paced" -v runs="$runs" -v choice="$choice" \
        -v profile="$profile" -v sleeps="$(grep -c '^sleep\|^beep' trace)" 'BEGIN {
      printf "pacing: choice %s on %s, median of %d whole runs in real time\n", choice, profile, runs
      printf "  wall %.1f ms, sleeps and beeps %.1f ms, ratio %.3f\n", wall / 1000, paced, wall / 1000 / paced
      printf "  the run without pacing %.1f ms; %d sleeps and beeps overran by %.0f us each\n", unpaced / 1000, sleeps,
             (wall - unpaced - paced * 1000) / sleeps
    }'
    ;;
  cp2112)
    "$(dirname "$binary")/cp2112_bench" "${2:-20}"
    ;;
  vm)
    "$here/tests/qemu/vm_test.sh" | grep -E 'through the chip|SKIPPED|FAILED|^qemu:'
    ;;
  recording)
    runs="${2:-7}"
    for _ in $(seq 10); do printf '1234Z\n00\nY\n00\nX\n00\nB\n00\n'; done > input
    # Taken in turns, so that what else the machine does weighs on both alike.
    export SMBUS_ADAPTER=sim:bq40z50
    for _ in $(seq "$runs"); do
      echo "plain $(run_us)"
      echo "recorded $(SMBUS_RECORD="$work/recorded.json" run_us)"
    done > times
    median() { awk -v kind="$1" '$1 == kind { print $2 }' times | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
    plain=$(median plain)
    recorded=$(median recorded)
    awk -v plain="$plain" -v recorded="$recorded" -v runs="$runs" 'BEGIN {
      printf "recording: the reports and scans ten times on bq40z50, median of %d runs in virtual time\n", runs
      printf "  plain %.1f ms, recorded %.1f ms, ratio %.2f\n", plain / 1000, recorded / 1000, recorded / plain
    }'
    ;;
  *)
    choice="${1:?usage: bench.sh CHOICE [N] [PROFILE] [EXTRA_INPUT] | pacing [RUNS] [CHOICE] [PROFILE] | cp2112 [RUNS] | vm | recording [RUNS]}"
    count="${2:-20}"
    profile="${3:-bq40z50}"
    extra="${4:-}"
    : > input
    for _ in $(seq "$count"); do
      if [ -n "$extra" ]; then printf '%s\n%s ' "$choice" "$extra" >> input; else printf '%s' "$choice" >> input; fi
    done
    TIMEFORMAT='%R %U %S'
    measure() {  # prints "real user sys" of one run
      { time "$binary" < input > /dev/null; } 2>&1 | tail -n 1
    }
    read -r real_wall _ _ < <(SMBUS_ADAPTER="sim:$profile" SMBUS_SIM_REALTIME=1 SMBUS_TRACE=trace measure)
    paced=$(paced_ms trace)
    read -r _ user sys < <(SMBUS_ADAPTER="sim:$profile" measure)
    awk -v wall="$real_wall" -v paced="$paced" -v user="$user" -v sys="$sys" -v n="$count" \
        -v choice="$choice" -v profile="$profile" 'BEGIN {
      printf "choice %s x %d on %s\n", choice, n, profile
      printf "  real time:    wall %.3f s, sleeps and beeps %.3f s, ratio %.3f\n", wall, paced / 1000, wall / (paced / 1000)
      printf "  virtual time: CPU %.3f ms per cycle\n", (user + sys) * 1000 / n
    }'
    ;;
esac
