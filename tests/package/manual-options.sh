#!/usr/bin/env bash
# The manual page and --help list exactly the options of the program's option
# table (`quillet-cli options qr|dm|read`), per command; without a command, the
# manual lists what the overview's --help shows:
#   manual-options.sh QUILLET_CLI MANUAL_SOURCE
# A translated manual is checked against the --help of its language (the
# caller sets LANG); its options section may be titled in that language.
# Under OPTIONS, an entry (.TP) belongs to qr, dm and/or read when its
# subsection's title names them, and to quillet-cli without a command otherwise.
set -euo pipefail
cli=$1 manual=$2
source "$(dirname "$0")/help-options.sh"

# "subsection<TAB>term line" for every entry under OPTIONS, roff dashes undone.
entries=$(awk '
  /^\.SH / { options = ($0 ~ /^\.SH (OPTIONS|选项)/) }
  options && /^\.SS / { title = $0; sub(/^\.SS /, "", title); gsub(/"/, "", title) }
  options && term { print title "\t" $0 }
  { term = ($0 ~ /^\.TP/) }' "$manual" | sed 's/\\-/-/g')

manual_options() {
  local wanted=$1
  while IFS=$'\t' read -r title term; do
    case " $title " in
      *" qr "* | *" dm "*) [[ " $title " == *" $wanted "* ]] || continue ;;
      # The overview's help shows read's usage line, options and all.
      *" read "*) [ "$wanted" = read ] || [ "$wanted" = none ] || continue ;;
      *) [ "$wanted" = none ] || continue ;;
    esac
    grep -oE '(^|[[:space:]"])--?[A-Za-z][A-Za-z0-9-]*' <<<"$term" | sed -E 's/^[^-]*//' || true
  done <<<"$entries" | sort -u
}

# The options a help lists at the start of its lines: read's names qr's in its prose.
listed_options() {
  "$@" --help | grep -oE '^ +--?[A-Za-z][A-Za-z0-9-]*' | sed -E 's/^ *//' | sort -u
}

status=0
for command in none qr dm read; do
  args=()
  [ "$command" != none ] && args=("$command")
  if [ "$command" = read ]; then help=$(listed_options "$cli" read)
  else help=$(help_options "$cli" "${args[@]+"${args[@]}"}"); fi
  table=$help
  if [ "$command" != none ]; then
    table=$("$cli" options "$command" | sort -u)
    same_options "$table" "$help" "the option table of '$command'" "'quillet-cli $command --help'" || status=1
  fi
  same_options "$table" "$(manual_options "$command")" "the options of '$command'" \
    "the manual's options of '$command'" || status=1
done
[ $status -eq 0 ] && echo "the manual and --help list the options of the table"
exit $status
