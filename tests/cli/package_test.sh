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
for text in 'monitor' 'unseal' 'SMBUS_ADAPTER' '\-\-no\-pec' 'CountSRCHadp.bin'; do
  gzip -dc "$page" | grep -qF -- "$text" || { echo "man page without $text"; exit 1; }
done
# Each section once: the help's sections become the page's.
for section in NAME SYNOPSIS DESCRIPTION COMMANDS OPTIONS '"EXIT STATUS"' ENVIRONMENT FILES; do
  test "$(gzip -dc "$page" | grep -cx "\.SH $section")" = 1 || { echo "man page: section $section not once"; exit 1; }
done
# The files section names the budget file; the description the menu.
gzip -dc "$page" | sed -n '/^\.SH FILES/,/^\.SH/p' | grep -qF CountSRCHadp.bin || { echo "FILES without the budget file"; exit 1; }
gzip -dc "$page" | sed -n '/^\.SH DESCRIPTION/,/^\.SH/p' | grep -qF 'register scans' || { echo "no menu in DESCRIPTION"; exit 1; }
test -f "$work/root/usr/share/bash-completion/completions/vantrel" || { echo "no bash completion"; exit 1; }
test -f "$work/root/usr/share/zsh/vendor-completions/_vantrel" || { echo "no zsh completion"; exit 1; }
bash -c ". '$work/root/usr/share/bash-completion/completions/vantrel'; COMP_WORDS=(vantrel rea); COMP_CWORD=1; _vantrel;
         test \"\${COMPREPLY[*]}\" = read" || { echo "bash completion does not complete rea"; exit 1; }
echo "package: $(basename "$deb") holds usr/bin/vantrel, its man page and its completions"
