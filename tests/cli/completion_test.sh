#!/usr/bin/env bash
# The bash and zsh completions offer every command of --help and every option
# of each command's --help, so that neither drifts from the program.
set -euo pipefail
bin="$1" bash_file="$2" zsh_file="$3"

bash_offers() {  # the words bash offers after the given ones
  bash -c '. "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _vantrel; printf "%s\n" "${COMPREPLY[@]}"' \
    _ "$bash_file" "$@"
}
# zsh's completion system is replaced by functions that print what they are
# given: the _arguments descriptions of the program (no argument) or of one command.
zsh_arguments() {
  zsh -fc '_arguments() { print -rl -- "$@" }; compadd() { :; }
           if [[ -n $2 ]]; then . "$1" >/dev/null; _vantrel_command_options "$2"; else . "$1"; fi' _ "$zsh_file" "${1:-}"
}
options_of() {  # the long options of a --help text's Options section
  sed -n '/^Options:/,/^[^ ]/p' | grep -oE '^ +(-[a-zA-Z],)?--[a-z-]+' | grep -oE -- '--[a-z-]+'
}

failed=0
fail() { echo "$1"; failed=1; }
commands=$("$bin" --help | sed -n '/^Commands:/,/^[^ ]/p' | awk '/^  [a-z]/ {print $1}')
[ -n "$commands" ] || fail "no commands in --help"
top_bash=$(bash_offers vantrel "")
top_zsh=$(zsh_arguments)
for option in $("$bin" --help | options_of); do
  grep -qx -- "$option" <<<"$top_bash" || fail "bash does not offer $option"
  grep -qF -- "$option[" <<<"$top_zsh" || fail "zsh does not offer $option"
done
for command in $commands; do
  grep -qx -- "$command" <<<"$top_bash" || fail "bash does not offer the command $command"
  grep -qE "^1:command:\(.*\b$command\b" <<<"$top_zsh" || fail "zsh does not offer the command $command"
  command_bash=$(bash_offers vantrel "$command" "")
  command_zsh=$(zsh_arguments "$command")
  for option in $("$bin" "$command" --help | options_of); do
    grep -qx -- "$option" <<<"$command_bash" || fail "bash does not offer $option for $command"
    grep -qF -- "$option[" <<<"$command_zsh" || fail "zsh does not offer $option for $command"
  done
done
[ "$failed" = 0 ] && echo "completions: every command and option of --help"
exit "$failed"
