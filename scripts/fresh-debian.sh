#!/usr/bin/env bash
# Maintainer's check, not part of CI: the README's two commands, exactly as
# written, in a fresh Debian 12 minimal root (debootstrap --variant=minbase,
# plus sudo) as a user with sudo. The root is made once and cached
# ($FRESH_DEBIAN_CACHE, default ~/.cache/vantrel-fresh-debian); each run starts
# from a fresh copy of it with the tracked files of this checkout. A run takes
# about half an hour; it prints each command's exit status and time.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
cache="${FRESH_DEBIAN_CACHE:-$HOME/.cache/vantrel-fresh-debian}"
mirror="${DEBIAN_MIRROR:-http://deb.debian.org/debian}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
command -v debootstrap >/dev/null || { echo "fresh-debian: needs debootstrap (apt-get install debootstrap)"; exit 2; }

base="$cache/bookworm-minbase.tar"
if [ ! -f "$base" ]; then
  echo "fresh-debian: making the minimal root (once)"
  mkdir -p "$cache"
  made="$(mktemp -d)"
  $sudo debootstrap --variant=minbase --include=sudo bookworm "$made/root" "$mirror"
  $sudo tar -C "$made/root" -cf "$base.part" .
  $sudo mv "$base.part" "$base"
  $sudo rm -rf "$made"
fi

root="$(mktemp -d)"
mounted=()
cleanup() {
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do $sudo umount -l "${mounted[i]}" || true; done
  $sudo rm -rf --one-file-system "$root"
}
trap cleanup EXIT
$sudo tar -C "$root" -xf "$base"
for fs in proc sys dev dev/pts; do
  $sudo mount --bind "/$fs" "$root/$fs"
  mounted+=("$root/$fs")
done
# A booted Debian has a tmpfs for everyone there; the bind of /dev brings only its empty folder.
$sudo mount -t tmpfs -o mode=1777 tmpfs "$root/dev/shm"
mounted+=("$root/dev/shm")
$sudo cp /etc/resolv.conf "$root/etc/resolv.conf"
$sudo chroot "$root" useradd -m -s /bin/bash tester
echo 'tester ALL=(ALL) NOPASSWD:ALL' | $sudo tee "$root/etc/sudoers.d/tester" >/dev/null
$sudo mkdir "$root/home/tester/vantrel"
git -C "$here" ls-files -z | tar -C "$here" --null -T - -cf - | $sudo tar -C "$root/home/tester/vantrel" -xf -
$sudo chroot "$root" chown -R tester:tester /home/tester/vantrel

status=0
for command in ./scripts/run.sh ./scripts/test.sh; do
  start=$(date +%s)
  # run.sh starts the interactive program: end of input ends it as choice 0 does.
  if $sudo chroot "$root" su - tester -c "cd vantrel && $command </dev/null" >"$cache/${command##*/}.log" 2>&1; then
    result=0
  else
    result=$?
    status=1
  fi
  echo "fresh-debian: $command exit $result in $(($(date +%s) - start)) s (log: $cache/${command##*/}.log)"
done
exit $status
