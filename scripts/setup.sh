#!/usr/bin/env bash
# Installs what the build and the tests need, from Debian's packages, when missing.
set -euo pipefail

packages=(cmake make g++ pkg-config libgtest-dev nlohmann-json3-dev libi2c-dev)

missing=()
for package in "${packages[@]}"; do
  dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
done
if [ "${#missing[@]}" -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" </dev/null
fi
