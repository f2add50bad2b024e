# bash completion for animark-cli: its commands, the export's options and their fixed choices.
_animark_cli() {
  local current=${COMP_WORDS[COMP_CWORD]} previous=${COMP_WORDS[COMP_CWORD - 1]}
  local options="--help --stored --settings --output -o --from --to --last --range --map --rings
    --crosshairs --no-crosshairs --label-rings --no-label-rings --units --persistence --rate
    --pause --pause-last --iterations --comments --data-dir --min-strikes --optimize --no-optimize --age-colours --no-age-colours --jobs --force -f --quiet -q"
  if ((COMP_CWORD == 1)); then
    mapfile -t COMPREPLY < <(compgen -W "export sample map --help --version" -- "$current")
    return
  fi
  if [[ ${COMP_WORDS[1]} == map ]]; then
    options="--at --image --range --style --output -o --quiet -q --help"
  fi
  case $previous in
    --style) mapfile -t COMPREPLY < <(compgen -W "dark light" -- "$current") ;;
    --image) mapfile -t COMPREPLY < <(compgen -f -- "$current") ;;
    --range) mapfile -t COMPREPLY < <(compgen -W "100 200 300 160 320 480" -- "$current") ;;
    --units) mapfile -t COMPREPLY < <(compgen -W "mi km" -- "$current") ;;
    --settings | --output | -o) mapfile -t COMPREPLY < <(compgen -f -- "$current") ;;
    --data-dir) mapfile -t COMPREPLY < <(compgen -d -- "$current") ;;
    *)
      if [[ ${COMP_WORDS[1]} == sample ]]; then
        mapfile -t COMPREPLY < <(compgen -d -- "$current")
      elif [[ $current == -* ]]; then
        mapfile -t COMPREPLY < <(compgen -W "$options" -- "$current")
      fi
      ;;
  esac
}
complete -F _animark_cli animark-cli
