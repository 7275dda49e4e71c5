#!/usr/bin/env bash
# Drives wloe-cli's bash completion as bash does on TAB and checks what it offers.
#   CompletionTest.sh WLOE_CLI COMPLETION_SCRIPT
set -u
export LC_ALL=C
cli=$1
source "$2"
failures=0
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
touch "$scratch/bank.pat" "$scratch/bass.wav"

# offers EXPECTED WORD...: completing the last WORD offers exactly EXPECTED (sorted, space-separated).
offers() {
    local expected=$1
    shift
    COMP_WORDS=("$cli" "$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _wloe_cli
    local got
    got=$(printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' ' | sed 's/ $//')
    if [[ $got != "$expected" ]]; then
        echo "FAIL: wloe-cli $* <TAB>: expected [$expected], got [$got]"
        failures=$((failures + 1))
    fi
}

offers "audition audition-key" au
offers "patches samples" report ""
offers "text" pitch te
offers "--layers" audition --la
offers "--new" edit --n
offers "--help --output --yes -h -o" reparent -
offers "normalize normalize-lr" edit in.wav nor
# Files where a file goes: the positional arguments, and after -o.
offers "$scratch/bank.pat" audition "$scratch/ban"
offers "$scratch/bass.wav" edit in.wav gain -o "$scratch/bas"
offers "$scratch/bank.pat $scratch/bass.wav" dump "$scratch/b"
# Every command the program lists is offered first.
all=$("$cli" --help | sed -n '/^Subcommands:/,$ s/^  \([a-z][-a-z0-9]*\)  .*/\1/p' | sort | tr '\n' ' ' | sed 's/ $//')
[[ $all == *edit* && $all == *reparent* ]] || { echo "FAIL: no commands in wloe-cli --help"; failures=$((failures + 1)); }
offers "$all" ""

complete -p wloe-cli >/dev/null || { echo "FAIL: wloe-cli has no completion"; failures=$((failures + 1)); }
((failures == 0)) && echo "all completions as expected"
exit $((failures > 0))
