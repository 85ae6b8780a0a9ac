# bash completion for pictor-cli and pictor-sim               -*- shell-script -*-
#
# Installed under both names. The commands and options are read from the --help
# of the program being completed, so new ones complete without changes here. An
# option with a value is one whose help line names a type (--settings TEXT); the
# values: for pictor-cli --port the ports `pictor-cli ports` lists, files by
# extension for the file options and the picture arguments, and the choices the
# help lists ({bin,c}); for pictor-sim files and the flash kinds.

# Lines "  NAME   text" of the section "Subcommands:" of a help text.
_pictor_cli_commands() {
    awk '/^Subcommands:/ { on = 1; next } /^$/ { on = 0 } on && /^  [a-z]/ { print $1 }'
}

# "--name" for a flag, "--name=" for an option whose help line names a type
# right after it ("  --settings TEXT=./Pictor.ini").
_pictor_cli_options() {
    awk '/^  (-[a-zA-Z],)?--[a-z0-9-]+/ {
        line = substr($0, 3); sub(/^-[a-zA-Z],/, "", line)
        match(line, /^--[a-z0-9-]+/); name = substr(line, 1, RLENGTH)
        print (substr(line, RLENGTH + 1) ~ /^ [A-Z]/ ? name "=" : name)
    }'
}

_pictor_cli_files() {  # extensions as an extglob pattern, e.g. "bmp|png"
    local IFS=$'\n'
    compopt -o filenames 2>/dev/null
    COMPREPLY=($(compgen -d -- "$cur") $(compgen -f -X "!*.@($1)" -- "$cur"))
}

_pictor_cli() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    local program=${COMP_WORDS[0]}
    local -a command=()
    local help options i word
    shopt -s extglob

    # The command words so far, skipping options and their values.
    help=$("$program" --lang en --help 2>/dev/null)
    options=$(_pictor_cli_options <<<"$help")
    for ((i = 1; i < COMP_CWORD; i++)); do
        word=${COMP_WORDS[i]}
        if [[ $word == -* ]]; then
            [[ $word != *=* ]] && grep -qxF -- "$word=" <<<"$options" && ((i++))
        elif _pictor_cli_commands <<<"$help" | grep -qxF -- "$word"; then
            command+=("$word")
            help=$("$program" --lang en "${command[@]}" --help 2>/dev/null)
            options=$(_pictor_cli_options <<<"$help")$'\n'$(_pictor_cli_options <<<"$("$program" --lang en --help 2>/dev/null)")
        fi
    done

    # The value of the option before the cursor.
    if [[ $prev == --* ]] && grep -qxF -- "$prev=" <<<"$options"; then
        local choices
        case $prev in
            --port)
                COMPREPLY=($(compgen -W "$("$program" ports 2>/dev/null | awk '{ print $1 }')" -- "$cur"))
                return ;;
            --settings) _pictor_cli_files 'ini|INI'; return ;;
            --project) _pictor_cli_files 'pictor'; return ;;
            --png) _pictor_cli_files 'png|PNG'; return ;;
            --map) _pictor_cli_files 'csv|CSV'; return ;;
            --output-dir)
                compopt -o filenames 2>/dev/null
                COMPREPLY=($(compgen -d -- "$cur"))
                return ;;
        esac
        # The choices the help lists, as in "--dither TEXT:{none,ordered,fs}".
        choices=$(sed -n -E "s/^  (-[a-zA-Z],)?$prev [A-Z]+:\\{([^}]*)\\}.*/\\2/p" <<<"$help" | tr ',' ' ')
        COMPREPLY=($(compgen -W "$choices" -- "$cur"))
        return
    fi

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$(sed 's/=$//' <<<"$options")" -- "$cur"))
        return
    fi
    local subcommands
    subcommands=$(_pictor_cli_commands <<<"$help")
    if [[ -n $subcommands ]]; then
        COMPREPLY=($(compgen -W "$subcommands" -- "$cur"))
        return
    fi
    case ${command[0]-} in
        convert | preview) _pictor_cli_files 'bmp|BMP|png|PNG' ;;
        download) _pictor_cli_files 'bin|BIN' ;;
    esac
}

_pictor_sim() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    local options
    options=$("${COMP_WORDS[0]}" --help 2>/dev/null | _pictor_cli_options)
    if [[ $prev == --* ]] && grep -qxF -- "$prev=" <<<"$options"; then
        case $prev in
            --flash | --log)
                compopt -o filenames 2>/dev/null
                COMPREPLY=($(compgen -f -- "$cur"))
                ;;
            --kind) COMPREPLY=($(compgen -W "1 2 3 4 5" -- "$cur")) ;;
        esac
        return
    fi
    COMPREPLY=($(compgen -W "$(sed 's/=$//' <<<"$options")" -- "$cur"))
}

complete -F _pictor_cli pictor-cli
complete -F _pictor_sim pictor-sim
