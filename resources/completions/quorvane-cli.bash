# bash completion for quorvane-cli
_quorvane_cli() {
  local cur prev
  cur=${COMP_WORDS[COMP_CWORD]}
  prev=${COMP_WORDS[COMP_CWORD-1]}
  case $prev in
    --format) mapfile -t COMPREPLY < <(compgen -W "webp jpeg jpg png heic avif jxl auto same" -- "$cur"); return ;;
    --naming) mapfile -t COMPREPLY < <(compgen -W "original custom" -- "$cur"); return ;;
    --output) mapfile -t COMPREPLY < <(compgen -d -- "$cur"); return ;;
    --report) mapfile -t COMPREPLY < <(compgen -f -- "$cur"); return ;;
    --quality|--max-width|--max-height|--prefix|--start|--jobs|--min-saving|--max-file-size) return ;;
  esac
  if [[ $cur == -* ]]; then
    mapfile -t COMPREPLY < <(compgen -W "--format --quality --max-width --max-height --naming
      --prefix --start --output --jobs --min-saving --max-file-size --keep-metadata --keep-icc --keep-alpha --lossless --auto-jxl --auto-best-effort --keep-dates
      --keep-structure --skip-converted --check-quality --no-quality-check --report --verbose
      --help --version" -- "$cur")
    return
  fi
  mapfile -t COMPREPLY < <(compgen -f -- "$cur")
  compopt -o filenames 2>/dev/null
}
complete -F _quorvane_cli quorvane-cli
