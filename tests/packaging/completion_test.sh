#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Runs the bash completion against a sample printcap, and a stand-in for
# the tool that lists fixed formats, and checks what it offers at each
# position of a command line. What readline itself does with the words
# offered is checked at a real terminal (completion_terminal_test.sh).
# Usage: completion_test.sh COMPLETION_SCRIPT SAMPLE_PRINTCAP
set -u
script=$1 printcap=$2
. "$(dirname "$0")/checks.sh"

# shellcheck source=/dev/null
source "$script" || { echo "FAIL: cannot source $script"; exit 1; }

# In a completion, compopt tells readline how to complete the word; here
# it notes what was asked, which offered shows after the names.
compopt() {
    asked+="$*"
}

# offered PRINTCAP WORD... : what the completion offers for the last WORD,
# space-separated, with the first WORD as the command, and <OPTIONS> when
# it handed the word to readline with compopt OPTIONS.
offered() {
    # shellcheck disable=SC2034  # read by the completion
    local VTMEDIATOOL_PRINTCAP=$1
    shift
    local registered function
    registered=$(complete -p "$1" 2>/dev/null) || { echo "<no completion for $1>"; return; }
    function=${registered#*-F }
    function=${function%% *}
    COMP_WORDS=("$@")
    COMP_CWORD=$(( $# - 1 ))
    COMPREPLY=()
    asked=""
    "$function" "$1" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    echo "${COMPREPLY[*]}${asked:+<$asked>}"
}

# The completion asks the command being completed for its formats: here a
# stand-in that answers --list alone, as the tool does, and a bare name
# that holds no model, which answers as the tool does too.
scratch vtcompletion
cat > "$tmp/vtmediatoollpr_txr580" <<'STANDIN'
#!/bin/sh
[ "$*" = --list ] || exit 0
printf '%s\t10\t50\t_vtS12mm__\tVtL_vtS12mm__070A03271A2B\tcomplete\n' \
    'Shop 12' 'Shelf edge' HS12x40 'q$(id)'
echo "not a format" >&2
STANDIN
printf '#!/bin/sh\necho "vtmediatoollpr is invalid."; echo\n' \
    > "$tmp/vtmediatoollpr"
chmod +x "$tmp/vtmediatoollpr_txr580" "$tmp/vtmediatoollpr"
PATH=$tmp:$PATH

# shellcheck disable=SC2016  # the name is literally q$(id)
queues='TX-R580 tape shop-floor RK210 parcel TX-D270 TXR330qe q$(id)'
cmd=vtmediatoollpr_txr580
long='--list --export --apply --sync --diff --help --version'

# name | expected | words after the command (the last one is being typed).
# Names typed inside quotes are completed in a real shell, in
# completion_terminal_test.sh: what readline passes and replaces there is
# the part after the open quote.
cases=(
    "first word offers every option|-P -n -d -w -h $long|"
    "a dash offers every option|-P -n -d -w -h $long|-"
    "two dashes offer the long options|$long|--"
    "--export completes alone|--export|--e"
    "a typed letter completes alone|-P|-P"
    "after -P every queue and alias|$queues|-P "
    "queue prefix narrows the names|TX-R580 TX-D270|-P TX-"
    "queue prefix is case-sensitive||-P tx"
    "option known by its first two letters|$queues|-Printer "
    "no names after -n||-P q -n "
    "no names after -w||-P q -n a -w "
    "after -d the listed names, quoted|Shop\\ 12 Shelf\\ edge HS12x40 q\\\$\\(id\\)|-P q -d "
    "a name prefix narrows the names|Shop\\ 12 Shelf\\ edge|-P q -d Sh"
    "after -P the rest of an add, a delete, an apply or a sync|-n -d -w -h --apply --sync|-P q "
    "after -P no --export or --diff|--apply --sync|-P q --"
    "a file name after --diff, by readline|<-o default>|--diff formats.t"
    "after --apply FILE only -P|-P|--apply f "
    "after --sync FILE only -P|-P|--sync f "
    "-P after --apply offers the queues|$queues|--apply f -P "
    "-P QUEUE --apply FILE is complete||-P q --apply f "
    "--sync FILE -P QUEUE is complete||--sync f -P q "
    "--diff FILE is complete||--diff f "
    "after -n only the sizes|-w -h|-P q -n a "
    "after -n and -w only -h|-h|-P q -n a -w 12 "
    "a delete is complete after -d||-P q -d a "
    "a size first rules out a delete|-P -n -h|-w 12 "
    "a complete add offers nothing||-P q -n a -w 1 -h 2 "
)
for entry in "${cases[@]}"; do
    IFS='|' read -r name want words <<< "$entry"
    read -r -a argv <<< "$words"
    # A trailing blank means a new, empty word is being typed.
    [[ -z $words || $words == *' ' ]] && argv+=("")
    same "$name" "$want" "$(offered "$printcap" "$cmd" "${argv[@]}")"
done

# Every model name, and the bare name, gets the completion.
for name in vtmediatoollpr vtmediatoollpr_{rk210,rk260,rk380mx,tx4100zn} \
            vtmediatoollpr_{txr580,txr520,txr390k,txr330qe,txr300,txd270}; do
    same "$name is completed" "-P" "$(offered "$printcap" "$name" -P)"
done
same "a name without a model offers no formats" "" \
      "$(offered "$printcap" vtmediatoollpr -d "")"

# A missing printcap offers no names and says nothing.
err=$(offered /nonexistent/printcap "$cmd" -P "" 2>&1 >/dev/null)
same "missing printcap offers no names" "" \
      "$(offered /nonexistent/printcap "$cmd" -P "" 2>/dev/null)"
same "missing printcap prints no error" "" "$err"

# Queue names are offered as they stand, never run through the shell.
# shellcheck disable=SC2016
printf '%s\n' 'pr$(touch${IFS}ran)|*' > "$tmp/printcap"
got=$(cd "$tmp" && offered "$tmp/printcap" "$cmd" -P "")
# shellcheck disable=SC2016
same "queue names are not expanded" 'pr$(touch${IFS}ran) *' "$got"
same "queue names run no command" "no" \
      "$([[ -e $tmp/ran ]] && echo yes || echo no)"

finish completion
