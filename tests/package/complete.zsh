#!/usr/bin/env zsh
# Prints, one a line, what zsh's completion offers for a command line, using
# the completion functions in a folder:  complete.zsh FOLDER 'LINE'
# An interactive zsh runs on a pseudo-terminal; its compadd is wrapped to
# print each match it adds, and a marker ends the output.
emulate -L zsh
zmodload zsh/zpty

zpty -b shell zsh -f -i
zpty -w shell 'PS1= PS2= RPS1=; unsetopt auto_list list_ambiguous list_beep beep; setopt no_auto_menu'
zpty -w shell "fpath=(${(q)1} \$fpath); autoload -Uz compinit; compinit -u -D"
zpty -w shell 'bindkey "^I" complete-word'
zpty -w shell 'compadd() {
  if [[ ${(j: :)@[1,(i)(-|--)]} == *-[OAD]* ]]; then builtin compadd "$@"; return; fi
  local -a __matches
  builtin compadd -A __matches "$@"
  (( $#__matches )) && print -r -l -- "<match>"${^__matches} >/dev/tty
  builtin compadd "$@"
}'
zpty -w shell '__end() { print -r -- "<end>" >/dev/tty }; zstyle ":completion:*" completer _complete; comppostfuncs=(__end)'
zpty -w shell 'print -r -- "<ready>"'
line=
until [[ $line == *'<ready>'* && $line != *print* ]]; do
  zpty -r -t shell line || sleep 0.05
done
zpty -w -n shell "$2"$'\t'
deadline=$(( SECONDS + 20 ))
while (( SECONDS < deadline )); do
  zpty -r -t shell line || { sleep 0.05; continue }
  line=${line//$'\r'/}
  [[ $line == *'<end>'* ]] && break
  [[ $line == *'<match>'* ]] && print -r -- ${${line##*<match>}%%$'\n'}
done
zpty -d shell
