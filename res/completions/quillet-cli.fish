# fish completion for quillet-cli. The options, their descriptions and which
# of them take a value are read from the program's own --help each time, and
# the values of an option from `quillet-cli values`, so they follow the
# program; only the options that take a file are listed here.

# Prints "option<TAB>1 or 0<TAB>description" for `quillet-cli [COMMAND]`, 1
# when the option takes a value. Option lines of the help start with blanks
# and a dash (or the program's name and a dash); the option's words end at the
# first run of two blanks.
function __quillet_cli_options
    $argv --help 2>/dev/null | while read -l line
        set -l found (string match -rg '^\s+(?:quillet-cli\s+)?(-\S.*?)(?:\s{2,}(.*))?$' -- $line)
        or continue
        set -l usage $found[1]
        set -l takes 0
        string match -qr ' [^-]|=' -- $usage; and set takes 1
        for word in (string split ' ' -- $usage)
            string match -q -- '-*' $word; or continue
            printf '%s\t%s\t%s\n' (string replace -r '=.*' '' -- (string trim -r -c , -- $word)) $takes "$found[2]"
        end
    end
end

function __quillet_cli_takes_file
    set -l tokens (commandline -opc)
    contains -- $tokens[-1] -o --output --data-file --batch --manifest --logo
end

# The commands, the options of the command given, or the values of the
# option just typed.
function __quillet_cli_complete
    set -l tokens (commandline -opc)
    set -l prefix $tokens[1]
    contains -- "$tokens[2]" qr dm; and set -a prefix $tokens[2]
    set -l previous $tokens[-1]
    __quillet_cli_takes_file; and return
    for record in (__quillet_cli_options $prefix)
        set -l fields (string split \t -- $record)
        if test "$fields[1]" = "$previous" -a "$fields[2]" = 1
            $prefix[1] values $prefix[2] $previous 2>/dev/null
            return
        end
    end
    if test (count $tokens) -eq 1
        printf '%s\t%s\n' qr 'QR Code symbols, from text, a file or content fields' dm 'Data Matrix symbols'
    end
    for record in (__quillet_cli_options $prefix)
        string replace -r '\t[01]\t' \t -- $record
    end
end

complete -c quillet-cli -f -a '(__quillet_cli_complete)'
complete -c quillet-cli -n __quillet_cli_takes_file -F
