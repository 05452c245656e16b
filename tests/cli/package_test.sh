#!/bin/sh
# cpack -G DEB makes a package that installs the program and its man page.
set -eu
build="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$build"
cpack -G DEB -B "$work" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/vantrel_1.0.0_*.deb)
dpkg-deb -x "$deb" "$work/root"
test "$("$work/root/usr/bin/vantrel" --version)" = "vantrel 1.0.0"
page="$work/root/usr/share/man/man1/vantrel.1.gz"
# help2man's page: the name line, the commands from --help, the included sections.
gzip -dc "$page" | grep -q "^vantrel \\\\- read a battery pack's fuel gauge over SMBus"
for text in 'monitor' 'unseal' 'EXIT STATUS' 'SMBUS_ADAPTER' '\-\-no\-pec'; do
  gzip -dc "$page" | grep -qF -- "$text" || { echo "man page without $text"; exit 1; }
done
echo "package: $(basename "$deb") holds usr/bin/vantrel and its man page"
