#!/usr/bin/env bash
# stampa-cli's bash completion against the built program: each case is a
# command line being typed and words the completion must offer (or not).
# Usage: completion_test.sh STAMPA_CLI COMPLETION_SCRIPT
set -uo pipefail
cli=$1
source /usr/share/bash-completion/bash_completion
source "$2"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
printf '[Common]\nNumber=2\n[Pos1]\nName=RP-820\n[Pos2]\nname = TM-T88\r\n' > Stampa.ini
touch logo.png notes.txt

failures=0
# complete LINE: the words offered for the last word of LINE.
complete_line() {
    read -ra COMP_WORDS <<<"$1"
    [[ $1 == *" " ]] && COMP_WORDS+=("")
    COMP_WORDS[0]=$cli
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMP_LINE="$cli ${1#* }"
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    _stampa_cli
    printf '%s\n' "${COMPREPLY[@]}"
}
# expect LINE WANTED [UNWANTED]: every word of WANTED offered, none of UNWANTED.
expect() {
    local offered word
    offered=$(complete_line "$1")
    for word in $2; do
        grep -qxF -- "$word" <<<"$offered" || { echo "FAIL '$1': no '$word' in: $offered"; failures=$((failures + 1)); }
    done
    for word in ${3:-}; do
        grep -qxF -- "$word" <<<"$offered" && { echo "FAIL '$1': '$word' offered"; failures=$((failures + 1)); }
    done
}

expect "stampa-cli " "download print status nv list ports profiles convert" "--link"
expect "stampa-cli do" "download" "print"
expect "stampa-cli download --m" "--memory --model" "--link --direct"
expect "stampa-cli download --memory " "flash ram nv"
expect "stampa-cli download --memory=f" "flash" "ram"
expect "stampa-cli download --link " "serial:COM1 parallel:LPT1 tcp: driver:"
expect "stampa-cli download --link serial:" "COM1 COM2" "parallel:LPT1"
expect "stampa-cli print --profile " "CT-S651 TM-T88V" "graphics:yes"
expect "stampa-cli print --model " "RP-820 TM-T88"
expect "stampa-cli print --scale double-" "double-width double-height"
expect "stampa-cli nv " "delete capacity list" "download"
expect "stampa-cli print --logos " "all"
expect "stampa-cli nv delete --logos " "" "all"
expect "stampa-cli nv list --" "--link --json --model" "--memory"
expect "stampa-cli download --memory flash --yes " "logo.png" "notes.txt"
[ "$failures" -eq 0 ] && echo "completion: every case offered what it should"
exit $((failures > 0))
