#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Completes format names as a person does: an interactive bash on a
# pseudo-terminal (tmux), bash-completion loading the completion when Tab
# is first pressed, part of a name typed after -d, unquoted or inside
# quotes, then Tab; and a file name after --apply, --sync and --diff.
# Checks the line as it then reads, and that the command run from it gets
# the name. The server, the shell's home and its inputrc
# are this test's own; every wait is bounded.
# Usage: completion_terminal_test.sh COMPLETION_SCRIPT
set -u
script=$(realpath "$1")
. "$(dirname "$0")/checks.sh"

need tmux tmux
loader=""
for file in /usr/share/bash-completion/bash_completion \
            /usr/local/share/bash-completion/bash_completion; do
    [[ -r $file ]] && { loader=$file; break; }
done
if [[ -z $loader ]]; then
    echo "bash-completion is not installed (Debian: bash-completion); skipping"
    exit 77
fi

scratch vtterminal
# The socket lives in $tmp, under a name of its own; no call may hang.
unset TMUX
tmux=$(command -v tmux)
term() { TMUX_TMPDIR=$tmp timeout 10 "$tmux" -L vtcompletion "$@"; }
trap 'term kill-server 2>/dev/null; rm -rf "$tmp"' EXIT

# Where bash-completion looks first, a link per model name, as installed.
mkdir -p "$tmp/bin" "$tmp/home" "$tmp/user/completions"
ln -s "$script" "$tmp/user/completions/vtmediatoollpr_txr580"
# A stand-in for the tool: --list lists fixed formats, anything else
# writes its arguments to $tmp/ran, one a line.
cat > "$tmp/bin/vtmediatoollpr_txr580" <<STANDIN
#!/bin/sh
if [ "\$*" = --list ]; then
    printf '%s\t10\t50\t_vtS12mm__\tVtL_vtS12mm__070A03271A2B\tcomplete\n' \\
        'HS tube 12' HS12x40 "it's mine" 'q\$(id)' 'a"b\\c\`d'
    exit 0
fi
printf '%s\n' "\$@" > "$tmp/ran"
STANDIN
chmod +x "$tmp/bin/vtmediatoollpr_txr580"
printf 'set bell-style none\n' > "$tmp/inputrc"
cat > "$tmp/bashrc" <<BASHRC
PS1='ready\$ '
HISTFILE=
# Should this script die unawares, the shell leaves a minute later, and
# with it the server.
TMOUT=60
. "$loader"
BASHRC

prompt='ready$ '
# The shell starts with nothing of the caller's environment.
env -i PATH="$tmp/bin:/usr/bin:/bin" HOME="$tmp/home" \
    INPUTRC="$tmp/inputrc" BASH_COMPLETION_USER_DIR="$tmp/user" \
    TMUX_TMPDIR="$tmp" "$tmux" -L vtcompletion -f /dev/null \
    new-session -d -s t -x 200 -y 20 \
    "bash --noprofile --rcfile '$tmp/bashrc' -i" ||
    { echo "FAIL: tmux cannot start a session"; exit 1; }

# The line the cursor stands on, up to the cursor.
cursor_line() {
    local x y line
    read -r x y < <(term display-message -p -t t '#{cursor_x} #{cursor_y}')
    line=$(term capture-pane -p -N -t t -S "${y:-0}" -E "${y:-0}")
    printf '%s' "${line:0:${x:-0}}"
}

# wait_for LINE: polls until the cursor's line reads LINE, for at most
# 10 s; seen is what it read last.
wait_for() {
    local deadline=$((SECONDS + 10))
    while :; do
        seen=$(cursor_line)
        [[ $seen == "$1" ]] && return 0
        (( SECONDS < deadline )) || return 1
        sleep 0.05
    done
}

if ! wait_for "$prompt"; then
    echo "FAIL: the shell shows no prompt; its line reads [$seen]"
    exit 1
fi

cmd='vtmediatoollpr_txr580 -P q -d '
# name | typed after -d | the line after Tab | the name the command gets
while IFS='|' read -r -u 3 name typed want got; do
    rm -f "$tmp/ran"
    term send-keys -t t -l "$cmd$typed"
    term send-keys -t t Tab
    if ! wait_for "$prompt$cmd$want"; then
        fail "$name"
        echo "  want: [$prompt$cmd$want]"
        echo "  got:  [$seen]"
        term send-keys -t t C-c
        wait_for "$prompt" || { echo "FAIL: no prompt after ^C"; exit 1; }
        continue
    fi
    ok "$name"
    term send-keys -t t Enter
    if ! wait_for "$prompt"; then
        fail "$name: the command does not end; its line reads [$seen]"
        exit 1
    fi
    same "$name, run" "$(printf '%s\n' -P q -d "$got")" \
         "$(cat "$tmp/ran" 2>/dev/null)"
done 3<<'CASES'
double quotes closed after the name|"HS t|"HS tube 12" |HS tube 12
single quotes closed after the name|'HS t|'HS tube 12' |HS tube 12
unquoted, blanks escaped|HS\ t|HS\ tube\ 12 |HS tube 12
a single quote stands in double quotes|"it|"it's mine" |it's mine
a single quote in single quotes|'it|'it'\''s mine' |it's mine
a quote closed and opened again|'it'\''s m|'it'\''s mine' |it's mine
a word whose quotes are closed, escaped whole|'it'|it\'s\ mine |it's mine
a dollar escaped in double quotes|"q|"q\$(id)" |q$(id)
single quotes escape nothing else|'a|'a"b\c`d' |a"b\c`d
double quotes escape " \ $ `|"a|"a\"b\\c\`d" |a"b\c`d
unquoted, every shell character escaped|a|a\"b\\c\`d |a"b\c`d
CASES

# After --apply, --sync and --diff readline completes a file name as it
# does everywhere: a blank escaped, or within the quote the word opens.
mkdir "$tmp/files"
: > "$tmp/files/formats file.tsv"
term send-keys -t t -l "cd '$tmp/files'"
term send-keys -t t Enter
wait_for "$prompt" || { echo "FAIL: no prompt after cd"; exit 1; }
while IFS='|' read -r -u 3 name typed want; do
    term send-keys -t t -l "vtmediatoollpr_txr580 $typed"
    term send-keys -t t Tab
    if wait_for "${prompt}vtmediatoollpr_txr580 $want"; then
        ok "$name"
    else
        fail "$name"
        echo "  want: [${prompt}vtmediatoollpr_txr580 $want]"
        echo "  got:  [$seen]"
    fi
    term send-keys -t t C-c
    wait_for "$prompt" || { echo "FAIL: no prompt after ^C"; exit 1; }
done 3<<'CASES'
a file name after --apply, its blank escaped|--apply form|--apply formats\ file.tsv 
a file name inside double quotes after -P and --sync|-P q --sync "form|-P q --sync "formats file.tsv" 
CASES

finish "terminal completion"
