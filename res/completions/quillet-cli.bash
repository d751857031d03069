# bash completion for quillet-cli
#
# The options, and which of them take a value, are read from the program's
# own --help each time, and the values of an option from `quillet-cli values`,
# so they follow the program; only the options that take a file are listed here.

# One line per option of `quillet-cli [COMMAND]`: the option, then 1 when it
# takes a value. Option lines of the help start with blanks and a dash (or
# the program's name and a dash); the option's words end at the first run of
# two blanks.
_quillet_cli_options() {
    local line word usage
    local -a words
    while IFS= read -r line; do
        [[ $line =~ ^[[:space:]]+(quillet-cli[[:space:]]+)?(-[^[:space:]].*)$ ]] || continue
        usage=${BASH_REMATCH[2]%%  *}
        read -ra words <<<"$usage"
        for word in "${words[@]}"; do
            word=${word%,}
            [[ $word == -* ]] || continue
            if [[ $word == *=* || $usage == *" "[!-]* ]]; then
                printf '%s 1\n' "${word%%=*}"
            else
                printf '%s 0\n' "$word"
            fi
        done
    done < <("$@" --help 2>/dev/null)
}

_quillet_cli() {
    local cur prev words cword
    _init_completion || return

    local cli=${words[0]} command=
    ((cword > 1)) && command=${words[1]}
    local -a prefix=("$cli")
    [[ $command == qr || $command == dm ]] && prefix+=("$command")

    case $prev in
        -o | --output | --data-file | --batch | --manifest | --logo)
            _filedir
            return
            ;;
    esac
    local specs option takes
    specs=$(_quillet_cli_options "${prefix[@]}")
    while read -r option takes; do
        if [[ $option == "$prev" && $takes == 1 ]]; then
            COMPREPLY=($(compgen -W "$("$cli" values "$command" "$prev" 2>/dev/null)" -- "$cur"))
            return
        fi
    done <<<"$specs"

    local candidates=${specs// [01]/}
    ((cword == 1)) && candidates="qr dm $candidates"
    COMPREPLY=($(compgen -W "$candidates" -- "$cur"))
}
complete -F _quillet_cli quillet-cli
