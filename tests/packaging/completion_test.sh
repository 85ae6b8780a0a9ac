#!/usr/bin/env bash
# The bash completion of pictor-cli and pictor-sim, run in bash against the
# built programs: commands, options of a command, an option's choices, files by
# extension, --port from `pictor-cli ports` (a stand-in program lists the ports)
# and the options of pictor-sim.
# Usage: completion_test.sh COMPLETION_FILE PICTOR_CLI PICTOR_SIM
set -uo pipefail
completion=$1
cli=$2
sim=$3
bash -n "$completion" || { echo "FAILED: bash -n $completion"; exit 1; }
# shellcheck source=/dev/null
source "$completion"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
touch logo.bmp photo.PNG notes.txt Icon.bin Pictor.ini list.pictor
mkdir pictures

failures=0
# expect "EXPECTED WORDS" WORD... : completes the last word of the command line.
expect() {
    local expected=$1
    shift
    COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    case $(basename "$1") in
        pictor-sim) _pictor_sim ;;
        *) _pictor_cli ;;
    esac
    local got
    got=$(printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' ')
    expected=$(printf '%s\n' $expected | sort | tr '\n' ' ')
    if [[ $got != "$expected" ]]; then
        echo "FAILED: [${*:2}] gave '$got', expected '$expected'"
        failures=$((failures + 1))
    fi
}

expect "convert connect" "$cli" co
expect "read write" "$cli" lcd ""
expect "--depth --direction --dither" "$cli" convert --d
expect "none ordered fs" "$cli" convert --settings x.ini --dither ""
expect "1 2 4 8 16 24" "$cli" preview --depth ""
expect "logo.bmp photo.PNG pictures" "$cli" convert --jobs 2 ""
expect "Icon.bin pictures" "$cli" --lang en download ""
expect "list.pictor pictures" "$cli" convert --project ""
expect "--send-settings --settings" "$cli" download --se
expect "--kind" "$sim" --ki
expect "1 2 3 4 5" "$sim" --kind ""

# --port lists what `pictor-cli ports` prints (first column), here a stand-in.
cat >"$work/pictor-cli" <<STANDIN
#!/usr/bin/env bash
if [[ \${1-} == ports ]]; then printf '/dev/ttyUSB0  usb-Example_Serial-if00\n/dev/ttyUSB1\n'; exit 0; fi
exec "$cli" "\$@"
STANDIN
chmod +x "$work/pictor-cli"
expect "/dev/ttyUSB0 /dev/ttyUSB1" "$work/pictor-cli" connect --port ""
expect "/dev/ttyUSB1" "$work/pictor-cli" download --port /dev/ttyUSB1

((failures == 0)) && echo "completion: all cases passed"
exit $((failures > 0))
