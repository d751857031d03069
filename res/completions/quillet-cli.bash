# bash completion for quillet-cli
#
# The options, and which of them take a value, are read from the program's
# own --help each time, so they follow the program; only the options whose
# values are a fixed set, and those that take a file, are listed here.

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

# The fixed values of an option, or nothing.
_quillet_cli_values() {
    case $1 in
        --level) echo L M Q H ;;
        --operator) echo 1 2 3 ;;
        --type) echo {0..8} ;;
        --size) echo auto rect 10x10 12x12 14x14 16x16 18x18 20x20 22x22 24x24 26x26 32x32 36x36 40x40 44x44 48x48 52x52 64x64 72x72 80x80 88x88 96x96 104x104 120x120 132x132 144x144 8x18 8x32 12x26 12x36 16x36 16x48 ;;
        --scheme) echo ascii c40 text x12 edifact base256 auto smallest ;;
        --format) echo png jpg gif bmp svg pdf eps utf8 ;;
        --sheet) echo A4 A5 Letter ;;
        --encoding) echo utf-8 gb18030 ;;
    esac
}

_quillet_cli() {
    local cur prev words cword
    _init_completion || return

    local cli=${words[0]} command=
    ((cword > 1)) && command=${words[1]}
    local -a prefix=("$cli")
    [[ $command == qr || $command == dm ]] && prefix+=("$command")

    case $prev in
        -o | --output | --data-file | --batch | --manifest)
            _filedir
            return
            ;;
    esac
    local specs option takes
    specs=$(_quillet_cli_options "${prefix[@]}")
    while read -r option takes; do
        if [[ $option == "$prev" && $takes == 1 ]]; then
            COMPREPLY=($(compgen -W "$(_quillet_cli_values "$prev")" -- "$cur"))
            return
        fi
    done <<<"$specs"

    local candidates=${specs// [01]/}
    ((cword == 1)) && candidates="qr dm $candidates"
    COMPREPLY=($(compgen -W "$candidates" -- "$cur"))
}
complete -F _quillet_cli quillet-cli
