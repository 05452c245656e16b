# bash completion for vantrel: its commands, each command's options, and the
# values that are names (families, formats, built-in profiles).
_vantrel() {
  local cur prev command word
  cur="${COMP_WORDS[COMP_CWORD]}"
  prev="${COMP_WORDS[COMP_CWORD-1]}"
  for word in "${COMP_WORDS[@]:1:COMP_CWORD-1}"; do
    case "$word" in
      detect|report|read|monitor|unseal|full-access|seal|dump|diagnose|profiles|adapters|help) command="$word"; break ;;
    esac
  done
  case "$prev" in
    --family) mapfile -t COMPREPLY < <(compgen -W "auto bq20z bq30z bq40z bq9000" -- "$cur"); return ;;
    --format) mapfile -t COMPREPLY < <(compgen -W "csv jsonl" -- "$cur"); return ;;
    --adapter)
      local names
      names="sim i2c: cp2112 libsmbusb $(vantrel profiles 2>/dev/null | awk '{print "sim:" $1}')"
      mapfile -t COMPREPLY < <(compgen -W "$names" -- "$cur")
      return ;;
    --output) mapfile -t COMPREPLY < <(compgen -f -- "$cur"); return ;;
    --interval|--count|--key) return ;;
  esac
  local common="--adapter --no-pec --help"
  local words
  case "$command" in
    "") words="detect report read monitor diagnose unseal full-access seal dump profiles adapters help --help --version $common" ;;
    report) words="auto bq20z bq30z bq40z bq9000 $common" ;;
    read) words="--json $common" ;;
    monitor) words="--interval --count --output --format $common" ;;
    unseal|full-access) words="--key --family --yes $common" ;;
    seal) words="--family --yes $common" ;;
    dump) words="--output --family --yes $common" ;;
    diagnose) words="--json --family $common" ;;
    adapters) words="--json --help" ;;
    help) words="detect report read monitor diagnose unseal full-access seal dump profiles adapters" ;;
    *) words="$common" ;;
  esac
  mapfile -t COMPREPLY < <(compgen -W "$words" -- "$cur")
}
complete -F _vantrel vantrel
