#!/usr/bin/env bash
# Installs what the build needs, from Debian's packages, when missing; with the
# argument "tests", also what the tests need.
set -euo pipefail

# file: CPackDeb finds the package's shared-library dependencies with it;
# zsh: the test of the zsh completion runs it.
packages=(cmake make g++ pkg-config libgtest-dev nlohmann-json3-dev libi2c-dev
          libcli11-dev libssl-dev help2man gzip dpkg-dev file
          libhidapi-dev zsh)
# The virtual machine of tests/qemu: an emulator, a kernel with i2c-dev,
# i2c-stub and the USB-SMBus bridges' drivers, a static busybox, the tools
# that build its initramfs, and what builds the bridges' emulator and battery.
vm_packages=(qemu-system-x86 linux-image-amd64 busybox-static cpio xz-utils gcc libc6-dev python3)

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
updated=""

missing_of() {
  local package
  for package in "$@"; do
    dpkg -s "$package" >/dev/null 2>&1 || echo "$package"
  done
}

mapfile -t missing < <(missing_of "${packages[@]}")
if [ "${#missing[@]}" -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  updated=1
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" </dev/null
fi

[ "${1:-}" = "tests" ] || exit 0

# The fuzz targets (scripts/fuzz.sh): clang, and the libFuzzer and sanitizer
# runtimes of its version (the runtimes are only recommended by clang).
install_missing() {
  mapfile -t missing < <(missing_of "$@")
  if [ "${#missing[@]}" -gt 0 ]; then
    echo "Installing for the fuzz targets: ${missing[*]}"
    [ -n "$updated" ] || { $sudo apt-get update -qq && updated=1; }
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
  fi
}
install_missing clang
clang_major="$(clang -dumpversion | cut -d. -f1)"
install_missing "libfuzzer-$clang_major-dev" "libclang-rt-$clang_major-dev"

# Without these the VM test skips, so a failed install is only a warning.
mapfile -t missing < <(missing_of "${vm_packages[@]}")
if [ "${#missing[@]}" -gt 0 ]; then
  echo "Installing for the VM test: ${missing[*]}"
  { [ -n "$updated" ] || $sudo apt-get update -qq; } &&
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null ||
    echo "setup: could not install ${missing[*]}; the VM test will be skipped"
fi
