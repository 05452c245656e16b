#!/usr/bin/env bash
# Installs what the Windows cross build and its tests under wine need, from
# Debian's packages, when missing.
set -euo pipefail

packages=(cmake make g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix nlohmann-json3-dev libcli11-dev googletest
          wine wine64)

missing=()
for package in "${packages[@]}"; do
  dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
done
if [ "${#missing[@]}" -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
fi
