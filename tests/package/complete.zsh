#!/usr/bin/env zsh
# Prints, one a line, what zsh's completion offers for a command line, using
# the completion functions in a folder:  complete.zsh FOLDER 'LINE'
# An interactive zsh runs on a pseudo-terminal with compadd wrapped to print
# each match it adds; a marker printed after completion ends the output.
emulate -L zsh
zmodload zsh/zpty

setup=$(mktemp)
trap 'rm -f $setup' EXIT
cat >$setup <<SETUP
PS1= PS2= RPS1=
unsetopt auto_list list_ambiguous list_beep beep
setopt no_auto_menu
fpath=(${(q)1} \$fpath)
autoload -Uz compinit
compinit -u -D
bindkey '^I' complete-word
zstyle ':completion:*' completer _complete
SETUP
cat >>$setup <<'SETUP'
compadd() {
  if [[ ${(j: :)@[1,(i)(-|--)]} == *-[OAD]* ]]; then builtin compadd "$@"; return; fi
  local -a __matches
  builtin compadd -A __matches "$@"
  (( $#__matches )) && print -r -l -- "<match>"${^__matches} >/dev/tty
  builtin compadd "$@"
}
__end() { print -r -- "<end>" >/dev/tty }
comppostfuncs=(__end)
SETUP

# Reads the shell's output until a line holds the marker; fails after 30 s.
read_until() {
  local marker=$1 line deadline=$(( SECONDS + 30 ))
  while (( SECONDS < deadline )); do
    zpty -r -t shell line || { sleep 0.02; continue }
    line=${line//$'\r'/}
    [[ $line == *$marker* ]] && return 0
    [[ $marker == '<end>' && $line == *'<match>'* ]] && print -r -- ${${line##*<match>}%%$'\n'}
  done
  print -u2 "complete.zsh: no $marker from zsh within 30 s"
  return 1
}

zpty -b shell zsh -f -i
# The marker is split in the command, so only its output matches.
zpty -w shell "source ${(q)setup}; print -r -- '<''ready>'"
read_until '<ready>' || exit 1
zpty -w -n shell "$2"$'\t'
read_until '<end>'
status_=$?
zpty -d shell
exit $status_
