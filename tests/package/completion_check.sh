#!/usr/bin/env bash
# The generated bash completion offers what --help lists: every option after "-", the fixed values of
# an option, the commands and their sub-commands, files where a file is asked for.
# Usage: completion_check.sh ZT5CTL ZT5CTL_COMPLETION ZT5_METER_SIM ZT5_METER_SIM_COMPLETION
set -uo pipefail
ctl=$1
ctl_completion=$2
sim=$3
sim_completion=$4

# shellcheck disable=SC1090
source "$ctl_completion"
# shellcheck disable=SC1090
source "$sim_completion"
# compopt only works inside a completion bash runs; the generated script tolerates its failure.

status=0
# complete WORD... : the replies for the last word of the line.
complete_line() {
    COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMP_LINE="$*"
    COMP_POINT=${#COMP_LINE}
    run_completion "$1"
}
# complete_typed LINE: the same for a line as typed, split into words the way bash splits it for a
# completion: at blanks, and at ":" and "=" (COMP_WORDBREAKS), which stand as words of their own.
complete_typed() {
    COMP_LINE=$1
    COMP_POINT=${#1}
    local spaced=${1//:/ : }
    spaced=${spaced//=/ = }
    read -ra COMP_WORDS <<< "$spaced"
    [[ $1 == *[[:space:]] ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    run_completion "${COMP_WORDS[0]}"
}
run_completion() {
    COMPREPLY=()
    local function
    function=$(complete -p "$1" | sed -E 's/.*-F ([^ ]+) .*/\1/')
    "$function" 2>/dev/null || true
    printf '%s\n' "${COMPREPLY[@]}" | sort
}
expect() {
    local what=$1 want=$2 got=$3
    if [ "$want" != "$got" ]; then
        echo "$what: offered"; echo "$got" | tr '\n' ' '; echo; echo "expected"; echo "$want" | tr '\n' ' '; echo
        status=1
    fi >&2
}
help_options() { "$1" --help | grep -oE -- '^ +(-[a-zA-Z], )?--?[a-zA-Z][a-zA-Z0-9-]*' | grep -oE -- '--?[a-zA-Z][a-zA-Z0-9-]*' | sort -u; }

expect "zt5ctl --" "$(help_options "$ctl" | grep -- '^--')" "$(complete_line zt5ctl --)"
# After a command only its options: the channel and program ones, and those its help names.
shared=$("$ctl" --help | awk '/^(Канал связи|Программа):/ { inside = 1; next } /^$/ { inside = 0 } inside' \
    | grep -oE -- '^ +(-[a-zA-Z], )?--?[a-zA-Z][a-zA-Z0-9-]*' | grep -oE -- '--?[a-zA-Z][a-zA-Z0-9-]*')
expect "zt5ctl info -" "$(printf '%s\n' $shared --format | sort -u)" "$(complete_line zt5ctl info -)"
archive_options=$(complete_line zt5ctl --demo archive day --)
for option in --date --from --to --count --quantities --decimal-separator --output --tcp --quiet; do
    grep -qx -- "$option" <<<"$archive_options" || { echo "zt5ctl archive --: no $option" >&2; status=1; }
done
for option in --maker-id --battery --mqtt --as-read; do
    grep -qx -- "$option" <<<"$archive_options" && { echo "zt5ctl archive --: offers $option" >&2; status=1; }
done
expect "zt5ctl help" "$(complete_line zt5ctl -v '' | grep -vx help)" "$(complete_line zt5ctl help '')"
# Values: --format as the command gives them, also after "=", the separator, the quantities' names.
expect "zt5ctl info --format" "$(printf '%s\n' json text)" "$(complete_line zt5ctl info --format '')"
expect "zt5ctl archive --format=" "$(printf '%s\n' csv html json text)" "$(complete_typed 'zt5ctl archive --format=')"
expect "zt5ctl events --format=j" "json" "$(complete_typed 'zt5ctl --demo events --format=j')"
expect "zt5ctl --decimal-separator" "$(printf '%s\n' comma point)" "$(complete_line zt5ctl archive --decimal-separator '')"
expect "zt5ctl --quantities Q" "$(printf '%s\n' Qwi_1 Qwi_2)" "$(complete_line zt5ctl archive day --quantities Qw)"
expect "zt5-meter-sim -" "$(help_options "$sim")" "$(complete_line zt5-meter-sim -)"
expect "zt5ctl --parity" "$(printf '%s\n' even mark none odd space)" "$(complete_line zt5ctl --parity '')"
expect "zt5ctl --framing a" "ascii" "$(complete_line zt5ctl --demo --framing a)"
expect "zt5-meter-sim --modem-answer no" "$(printf '%s\n' no-carrier no-dialtone)" "$(complete_line zt5-meter-sim --modem-answer no)"
expect "zt5ctl archive" "$(printf '%s\n' day hour month totals)" "$(complete_line zt5ctl --tcp 127.0.0.1:5001 archive '')"
expect "zt5ctl ev" "events" "$(complete_line zt5ctl --node Котельная ev)"
expect "zt5ctl (nothing after the value of --node)" "" "$(complete_line zt5ctl --node '')"
# A host:port before the command: bash hands the function "127.0.0.1", ":", "502" as three words.
expect "zt5ctl --tcp HOST:PORT arc" "archive" "$(complete_typed 'zt5ctl --tcp 127.0.0.1:502 arc')"
expect "zt5ctl --tcp HOST:PORT archive" "$(printf '%s\n' day hour month totals)" \
    "$(complete_typed 'zt5ctl --udp 127.0.0.2:5001 -v archive ')"
expect "zt5ctl --tcp HOST:PORT --framing" "$(printf '%s\n' ascii ppp rtu)" \
    "$(complete_typed 'zt5ctl --tcp 127.0.0.1:502 --framing ')"
commands=$("$ctl" --help | awk '/^Команды:/ { inside = 1; next } /^$/ { inside = 0 } inside && /^  [a-z]/ { print $1 }' | sort)
expect "zt5ctl commands" "$commands" "$(complete_line zt5ctl -v '')"

# Files: a settings file for check, any path for --serial and --settings.
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
touch "$dir/meter.zt5" "$dir/other.zt5"
mkdir "$dir/sub"
expect "zt5ctl check FILE" "$(printf '%s\n' "$dir/meter.zt5")" "$(complete_line zt5ctl check "$dir/m")"
expect "zt5ctl --settings FILE" "$(printf '%s\n' "$dir/other.zt5")" "$(complete_line zt5ctl --settings "$dir/o")"
# A path with ":" in it: bash replaces only what follows the last ":", so that is what is offered.
touch "$dir/a:meter.zt5"
expect "zt5ctl check PATH:WITH:COLON" "meter.zt5" "$(complete_typed "zt5ctl check $dir/a:m")"
expect "zt5ctl --workdir DIR" "$(printf '%s\n' "$dir/sub")" "$(complete_line zt5ctl --workdir "$dir/")"
# Node names from the node base of the work folder the line names, a name with a blank kept one word.
nodes=$(mktemp -d)
trap 'rm -rf "$dir" "$nodes"' EXIT
"$ctl" --workdir "$nodes" node add "Котельная 1" --tcp 127.0.0.1:502 --kind ip 2>/dev/null
"$ctl" --workdir "$nodes" node add Школа --tcp 127.0.0.1:503 --kind ip 2>/dev/null
on_path() { PATH="$(dirname "$ctl"):$PATH" "$@"; }
expect "zt5ctl --node К" 'Котельная\ 1' "$(on_path complete_line zt5ctl --workdir "$nodes" --node К)"
expect "zt5ctl --node" "$(printf '%s\n' 'Котельная\ 1' Школа | sort)" \
    "$(on_path complete_line zt5ctl --workdir "$nodes" archive day --node '')"
exit $status
