#!/usr/bin/env bash
# Runs vantrel's i2c-dev backend on a real Linux kernel: boots a small virtual
# machine (QEMU, software emulation) whose initramfs holds busybox, the
# kernel's i2c-dev and i2c-stub modules, the drivers of the CP2112 and MCP2221
# USB-SMBus bridges with uhid, the bridges' emulator (hid_bridge/), a static
# vantrel and the shared hidapi that it loads for its own CP2112 backend, lets tests/qemu/init.sh run the cases there, and compares
# what came back with tests/qemu/expected.sh, and each bridge case with the
# same case on the simulated battery.
#
# Skips (exit 0, with a message) only when this machine cannot boot the VM:
# no qemu-system-x86_64, no Debian kernel with i2c-stub, no static busybox,
# no hidapi.
set -euo pipefail
cd "$(dirname "$0")/../.."
here=tests/qemu

skip() {
  echo "vm test SKIPPED: $*"
  exit 0
}

qemu=$(command -v qemu-system-x86_64 || true)
[ -n "$qemu" ] || skip "qemu-system-x86_64 is not installed (package qemu-system-x86)"
busybox=/bin/busybox
[ -x "$busybox" ] && ! ldd "$busybox" >/dev/null 2>&1 || skip "no static busybox at $busybox (package busybox-static)"
for tool in cpio xz base64 tar cc python3; do
  command -v "$tool" >/dev/null || skip "$tool is not installed"
done

# The newest installed kernel whose modules include i2c-stub.
kernel="" modules=""
for image in $(ls /boot/vmlinuz-* 2>/dev/null | sort -V -r); do
  version=${image#/boot/vmlinuz-}
  if [ -r "$image" ] && ls /lib/modules/"$version"/kernel/drivers/i2c/i2c-stub.ko* >/dev/null 2>&1; then
    kernel=$image
    modules=/lib/modules/$version
    break
  fi
done
[ -n "$kernel" ] || skip "no readable /boot/vmlinuz-* with i2c-stub in /lib/modules (package linux-image-amd64)"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A static vantrel for the VM's initramfs (the linker's note that the vendor
# library backend's dlopen needs glibc at run time is expected: it is unused).
if ! ./scripts/build.sh build-vm -DVANTREL_TESTS=OFF -DCMAKE_EXE_LINKER_FLAGS=-static >"$work/build.log" 2>&1; then
  cat "$work/build.log"
  echo "vm test FAILED: the static build failed"
  exit 1
fi
root=$work/root
mkdir -p "$root"/{bin,modules,proc,sys,dev,tmp}
cp "$busybox" "$root/bin/busybox"
ln -s busybox "$root/bin/sh"
cp build-vm/vantrel "$root/vantrel"
strip "$root/vantrel" 2>/dev/null || true
cp "$here/init.sh" "$root/init"
# The static vantrel loads hidapi with dlopen for SMBUS_ADAPTER=cp2112: its
# shared C library, loader and libudev come from this system, where vantrel was
# linked, so that they match the C library inside it. A static program's dlopen
# looks for each by its name in the system's library folder (the loader too,
# which libc names), with no cache to point it to /lib64.
hidapi=$(/sbin/ldconfig -p | sed -n 's/^[[:space:]]*libhidapi-hidraw\.so\.0 (libc6,x86-64) => //p' | head -1)
[ -n "$hidapi" ] || skip "no libhidapi-hidraw.so.0 (package libhidapi-hidraw0)"
mkdir -p "$root$(dirname "$hidapi")"
for library in "$hidapi" $(ldd "$hidapi" | grep -o '/[^ ]*'); do
  cp -L "$library" "$root$(dirname "$hidapi")/"
done
chmod +x "$root/init"

# The bridge chips' emulator, and the battery behind them as registers and as
# the profile of the simulated battery that each case is compared with.
if ! cc -std=c11 -D_GNU_SOURCE -O2 -Wall -Werror -static -o "$root/bin/hid-bridge" "$here"/hid_bridge/*.c \
  >"$work/bridge-build.log" 2>&1; then
  cat "$work/bridge-build.log"
  echo "vm test FAILED: the bridge emulator does not build"
  exit 1
fi
battery=link/sim/profiles/bq40z50.json
long_name=$(printf 'Long device name %03d ' $(seq 1 20) | cut -c1-200)
python3 "$here/profile_registers.py" "$battery" --profile "$root/battery.json" >"$root/battery.regs"
python3 "$here/profile_registers.py" "$battery" "21=$long_name" --profile "$root/long-name.json" >"$root/long-name.regs"

# A module's file, decompressed: busybox insmod reads plain .ko files only.
install_module() { # PATH_RELATIVE_TO_MODULES -> prints its name in the initramfs
  local source=$modules/$1 name
  name=$(basename "$1")
  name=${name%.xz}
  name=${name%.zst}
  name=${name%.gz}
  case "$1" in
    *.xz) xz -dc "$source" >"$root/modules/$name" ;;
    *.zst) zstd -qdc "$source" >"$root/modules/$name" ;;
    *.gz) gzip -dc "$source" >"$root/modules/$name" ;;
    *) cp "$source" "$root/modules/$name" ;;
  esac
  echo "$name"
}

# Dependencies first, each module once (modules.dep: "module: dep1 dep2 ...").
declare -A loaded=()
order=()
add_with_dependencies() { # PATH_RELATIVE_TO_MODULES
  local path=$1 dependency
  [ -z "${loaded[$path]:-}" ] || return 0
  loaded[$path]=1
  for dependency in $(sed -n "s|^$path: *||p" "$modules/modules.dep"); do
    add_with_dependencies "$dependency"
  done
  order+=("$path")
}
stub_path=$(grep -o '^kernel/drivers/i2c/i2c-stub\.ko[^:]*' "$modules/modules.dep")
add_with_dependencies "$(grep -o '^kernel/drivers/i2c/i2c-dev\.ko[^:]*' "$modules/modules.dep")"
add_with_dependencies "$stub_path"
# The USB-SMBus bridges' drivers and the interface that presents their chips.
for module in uhid hid-cp2112 hid-mcp2221; do
  path=$(grep -o "^kernel/drivers/hid/$module\.ko[^:]*" "$modules/modules.dep") ||
    skip "the kernel has no module $module"
  add_with_dependencies "$path"
done
: >"$root/modules/order"
for path in "${order[@]}"; do
  name=$(install_module "$path")
  # init.sh loads i2c-stub itself, with each case's parameters.
  [ "$path" = "$stub_path" ] || echo "$name" >>"$root/modules/order"
done

(cd "$root" && find . | cpio -o -H newc --quiet) >"$work/initramfs.cpio"

echo "vm test: booting $(basename "$kernel") under QEMU (software emulation)"
started=$(date +%s)
status=0
timeout 1500 "$qemu" -accel tcg -m 256 -smp 1 -nographic -no-reboot -monitor none \
  -kernel "$kernel" -initrd "$work/initramfs.cpio" \
  -append "console=ttyS0 quiet loglevel=1 panic=-1 oops=panic" \
  -serial "file:$work/console.log" -serial "file:$work/results.txt" </dev/null >"$work/qemu.log" 2>&1 || status=$?
echo "vm test: the VM ran for $(($(date +%s) - started)) s"

if ! grep -q '=== vantrel results end ===' "$work/results.txt" 2>/dev/null; then
  echo "vm test FAILED: no results from the VM (qemu exit status $status)"
  echo "--- qemu:" && tail -20 "$work/qemu.log"
  echo "--- console:" && tail -40 "$work/console.log" 2>/dev/null
  exit 1
fi
results=$work/results
mkdir -p "$results"
tr -d '\r' <"$work/results.txt" | sed -n '/=== vantrel results begin ===/,/=== vantrel results end ===/p' |
  sed '1d;$d' | base64 -d | tar -C "$results" -xf -
if [ -s "$results/init.log" ]; then
  echo "vm test FAILED: the VM could not set up the chip:"
  cat "$results/init.log"
  exit 1
fi

# shellcheck source=tests/qemu/expected.sh
. "$here/expected.sh"

passed=0
failed=0
show() { sed 's/\f/<CLS>/g' "$1"; }
check() { # CASE WHAT EXPECTED_TEXT ACTUAL_TEXT
  if [ "$3" == "$4" ]; then
    return 0
  fi
  echo "vm test case $1: $2 differs (expected -, actual +):"
  diff -u <(printf '%s' "$3") <(printf '%s' "$4") | tail -n +3 | head -60 || true
  return 1
}
finish_case() { # CASE OK
  if [ "$2" = 0 ]; then
    passed=$((passed + 1))
    echo "vm test case $1: ok"
  else
    failed=$((failed + 1))
    echo "vm test case $1: FAILED"
  fi
}

for case in report wordscan pec smbusblock i2cblock noblock; do
  dir=$results/$case
  bus=$(cat "$dir/bus")
  bad=0
  check "$case" "exit status" "0" "$(cat "$dir/rc")" || bad=1
  check "$case" "output" "$(expected_${case}_out)" "$(show "$dir/out")" || bad=1
  check "$case" "bus trace" "$(expected_${case}_trace)" "$(cat "$dir/trace")" || bad=1
  check "$case" "error output" "$(expected_stub_err "$bus")" "$(cat "$dir/err")" || bad=1
  finish_case "$case" "$bad"
done

# The probe never finds the chip, so the run is ended by the timeout: only
# its start is compared.
dir=$results/nochip
bad=0
expected_out=$(expected_nochip_out_start)
expected_trace=$(expected_nochip_trace_start)
check nochip "output start" "$expected_out" "$(show "$dir/out" | head -c "${#expected_out}")" || bad=1
check nochip "bus trace start" "$expected_trace" "$(head -c "${#expected_trace}" "$dir/trace")" || bad=1
check nochip "error output" "" "$(cat "$dir/err")" || bad=1
finish_case nochip "$bad"

# The bridges: each case through the chip against the same case on the
# simulated battery. The adapters' open answers differ (the i2c-dev adapter
# reports 1.0.0), so the trace is compared without them.
without_open() { grep -v -e '^open ' -e '^id -> ' "$1"; }
for dir in "$results"/bridge/*/; do
  case=$(basename "$dir")
  bad=0
  check "$case" "exit status" "$(cat "$dir/sim/rc")" "$(cat "$dir/chip/rc")" || bad=1
  check "$case" "output" "$(cat "$dir/sim/out")" "$(cat "$dir/chip/out")" || bad=1
  check "$case" "error output" "$(cat "$dir/sim/err")" "$(cat "$dir/chip/err")" || bad=1
  check "$case" "bus trace" "$(without_open "$dir/sim/trace")" "$(without_open "$dir/chip/trace")" || bad=1
  check "$case" "backup image" "$(cat "$dir/sim/image" 2>/dev/null)" "$(cat "$dir/chip/image" 2>/dev/null)" || bad=1
  # Through hidraw the program's own backend opens the chip: its open answer
  # is the chip's version, 2 (what the firmware version line shows).
  case $case in
    hidraw-*) check "$case" "open answer" "2" "$(sed -n '1s/^open .* -> //p' "$dir/chip/trace")" || bad=1 ;;
  esac
  operations=$(grep -c -E '^(rw|ww|rb|wb) ' "$dir/chip/trace" || true)
  sleeps=$(awk '$1 == "sleep" { s += $2 } $1 == "beep" { s += $3 } END { print s + 0 }' "$dir/chip/trace")
  read -r reports_out reports_in <"$dir/chip/reports"
  echo "vm test case $case: $(cat "$dir/chip/time")0 ms through the chip ($sleeps ms of them the program's" \
    "sleeps), $operations bus operations, $reports_out HID reports to the chip and $reports_in back," \
    "exit $(cat "$dir/chip/rc")"
  finish_case "$case" "$bad"
done
[ ! -s "$results/bridge.log" ] || { echo "--- bridge emulator:" && cat "$results/bridge.log"; }

echo "qemu: $passed passed, $failed failed"
[ "$failed" = 0 ]
