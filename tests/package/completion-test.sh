#!/usr/bin/env bash
# Runs a completion script in its own shell and checks what it offers:
#   completion-test.sh bash|zsh|fish QUILLET_CLI COMPLETIONS_FOLDER
# Exit status 77 (skipped) when the shell is not installed.
set -euo pipefail
shell=$1 cli=$(realpath "$2") completions=$(realpath "$3")
here=$(realpath "$(dirname "$0")")
source "$here/help-options.sh"
command -v "$shell" >/dev/null || { echo "$shell is not installed"; exit 77; }
export PATH="$(dirname "$cli"):$PATH"

# What the shell offers for a command line, one a line, sorted.
offers_bash() {
  bash --norc --noprofile -c '
    source /usr/share/bash-completion/bash_completion
    source "$1/quillet-cli.bash"
    function=$(complete -p quillet-cli | sed -E "s/.* -F ([^ ]+) .*/\1/")
    COMP_LINE=$2 COMP_POINT=${#2}
    read -ra COMP_WORDS <<<"$COMP_LINE"
    [[ $COMP_LINE == *" " ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    "$function" quillet-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    printf "%s\n" "${COMPREPLY[@]}"' _ "$completions" "$1"
}
offers_zsh() { zsh "$here/complete.zsh" "$completions" "$1"; }
offers_fish() {
  FOLDER=$completions LINE=$1 fish --no-config -c 'set -p fish_complete_path $FOLDER; complete -C "$LINE"' | cut -f1
}
offers() { "offers_$shell" "$1" | sed '/^$/d' | sort -u; }

failures=0
check() {  # description, then a command that succeeds when it holds
  local what=$1
  shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}
contains() { grep -qxF -- "$2" <<<"$1"; }
# The names an option takes, from the program's own message for a bad value
# ("--scheme takes ascii, c40 ... or auto, not '?'"), one a line, sorted;
# nothing when the message gives a range or a pattern instead of names.
named_values() {
  local list item
  local -a items
  list=$("$cli" "$1" "$2" '?' --help 2>&1 >/dev/null | sed -nE "s/.* $2 takes (.*), not '\\?'.*/\1/p" | head -n 1)
  [ -n "$list" ] || return 0
  list=${list// or /, }
  IFS=$'\n' read -d '' -ra items <<<"${list//, /$'\n'}" || true
  for item in "${items[@]}"; do
    [[ $item == *" "* || $item == *[A-Z][A-Z]* ]] && return 0
  done
  printf '%s\n' "${items[@]}" | sort -u
}
# Values offered for an option, each accepted by the program's parser.
accepted() {
  local command=$1 option=$2 values=$3 value
  [ -n "$values" ] || return 1
  for value in $values; do
    "$cli" "$command" "$option" "$value" --help >/dev/null 2>&1 || { echo "refused: $option $value"; return 1; }
  done
}

check "'quillet-cli qr --le' offers --level" contains "$(offers 'quillet-cli qr --le')" --level
check "'quillet-cli qr --level ' offers L M Q H" \
  same_options "$(offers 'quillet-cli qr --level ')" "$(printf '%s\n' H L M Q)" "the completion" "L M Q H"
check "'quillet-cli qr --type ' offers the tabs' captions" contains "$(offers 'quillet-cli qr --type ')" 电话
commands=$(offers 'quillet-cli ')
check "'quillet-cli ' offers qr" contains "$commands" qr
check "'quillet-cli ' offers dm" contains "$commands" dm
check "'quillet-cli ' offers read" contains "$commands" read
check "'quillet-cli read --' offers --csv" contains "$(offers 'quillet-cli read --')" --csv
if contains "$(help_options "$cli")" --version; then
  check "'quillet-cli --ver' offers --version" contains "$(offers 'quillet-cli --ver')" --version
fi

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
touch "$scratch/sample-input.csv"
cd "$scratch"
check "'quillet-cli read sample-' offers the file" contains "$(offers 'quillet-cli read sample-')" sample-input.csv
for command in qr dm; do
  options=$(help_options "$cli" "$command")
  check "'quillet-cli $command -' offers every option of its --help and no other" \
    same_options "$options" "$(offers "quillet-cli $command -")" "--help" "the completion"
  # Values offered must be accepted; options that do not exist yet are skipped.
  for option in --level --segments --operator --type --size --scheme --format --sheet --encoding; do
    contains "$options" "$option" || continue
    values=$(offers "quillet-cli $command $option ")
    check "'quillet-cli $command $option ' offers values, each accepted" accepted "$command" "$option" "$values"
    names=$(named_values "$command" "$option")
    [ -z "$names" ] ||
      check "'quillet-cli $command $option ' offers every name the program takes" \
        same_options "$names" "$values" "the program's $option" "the completion"
  done
  for option in -o --data-file --batch --manifest; do
    contains "$options" "$option" || continue
    check "'quillet-cli $command $option sample-' offers the file" \
      contains "$(offers "quillet-cli $command $option sample-")" sample-input.csv
  done
done
echo "$failures failed"
[ $failures -eq 0 ]
