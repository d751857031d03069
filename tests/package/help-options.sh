# Sourced by the tests of the manual pages and the completions.

# Every option word that `quillet-cli [COMMAND] --help` mentions, one a line,
# sorted: a dash or two and a letter, at the start of a word.
help_options() {
  "$@" --help | grep -oE '(^|[[:space:]([|,])--?[A-Za-z][A-Za-z0-9-]*' | sed -E 's/^[^-]*//' | sort -u
}

# Prints what differs between two sorted lists, named by $3 and $4, and fails
# when they differ.
same_options() {
  local only_first only_second
  only_first=$(comm -23 <(echo "$1") <(echo "$2") | tr '\n' ' ')
  only_second=$(comm -13 <(echo "$1") <(echo "$2") | tr '\n' ' ')
  [ -z "$only_first" ] && [ -z "$only_second" ] && return 0
  [ -n "$only_first" ] && echo "in $3 but not in $4: $only_first"
  [ -n "$only_second" ] && echo "in $4 but not in $3: $only_second"
  return 1
}
