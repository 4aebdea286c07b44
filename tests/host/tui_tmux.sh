#!/bin/sh
# Drives `pelorin-host tui` in a detached tmux session through one whole edit: the assistance
# opens on F2, an address with a value is typed and accepted, the new line is in the editor with
# the caret behind the value; F3 opens the selection dialog, whose chosen signal is inserted. On the way: keys without a meaning and a resize change nothing,
# Escape cancels the dialog and keeps the line; escape sequences of no key type nothing, and a
# paste (bracketed, as the editor asks the terminal for) inserts its text; at the end Ctrl+Q quits
# with exit code 0 and the terminal's modes are as before.
# usage: tui_tmux.sh PELORIN_HOST
set -u
host=$1

if ! command -v tmux >/dev/null 2>&1; then
    echo "tmux is not installed" >&2
    exit 77
fi

work=$(mktemp -d)
# a server of its own, whose socket goes with the work folder
t() { tmux -S "$work/tmux" -f /dev/null "$@"; }
cleanup() {
    t kill-server >/dev/null 2>&1
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

# The launcher keeps the terminal modes from before and after, and the exit code, for the checks.
cat >"$work/launch" <<EOF
#!/bin/sh
export TERM=screen LC_ALL=C.UTF-8
stty -g >"$work/modes-before"
"$host" tui --line 'output(msg = "");' 2>"$work/stderr"
code=\$?
stty -g >"$work/modes-after"
echo \$code >"$work/exit.new" && mv "$work/exit.new" "$work/exit"
exit \$code
EOF
chmod +x "$work/launch"

screen() { t capture-pane -p -t tui; }

fail() {
    echo "FAIL: $*" >&2
    echo "--- screen:" >&2
    screen >&2
    echo "--- standard error of pelorin-host:" >&2
    cat "$work/stderr" >&2 2>/dev/null
    exit 1
}

# Polls the screen until it shows TEXT (10 s at most).
expect() {
    i=0
    while [ $i -lt 100 ]; do
        screen | grep -qF -- "$1" && return 0
        sleep 0.1
        i=$((i + 1))
    done
    fail "the screen does not show: $1"
}

# Polls the screen until TEXT has gone from it (10 s at most).
expect_gone() {
    i=0
    while [ $i -lt 100 ]; do
        screen | grep -qF -- "$1" || return 0
        sleep 0.1
        i=$((i + 1))
    done
    fail "the screen still shows: $1"
}

# The text of screen row N (1-based).
row() { screen | sed -n "$1p"; }

# Polls until screen row N shows TEXT (10 s at most).
expect_row() {
    i=0
    while [ $i -lt 100 ]; do
        row "$1" | grep -qF -- "$2" && return 0
        sleep 0.1
        i=$((i + 1))
    done
    fail "row $1 does not show: $2"
}

keys() { t send-keys -t tui "$@" || fail "send-keys $*"; }

# Pastes TEXT (printf format) as the terminal pastes it for a program that asked for brackets.
paste() {
    t set-buffer -b pasted "$(printf "$1")" || fail "set-buffer $1"
    t paste-buffer -p -b pasted -t tui || fail "paste-buffer $1"
}

t new-session -d -s tui -x 100 -y 30 "$work/launch" \; set-option -t tui remain-on-exit on ||
    fail "tmux cannot start a session"

# the editor line with its caret at the end, and the status line with the keys at the bottom
expect '> output(msg = "");'
expect 'caret 17/17'
expect_row 30 'F2/Ctrl+Space: assistance'
expect_row 30 'Ctrl+Q/Esc: quit'

# caret between the quotes; a key without a meaning changes nothing
keys End Left Left Left
expect 'caret 14/17'
keys 'C-\'
keys F5
keys Right Left
expect 'caret 14/17'
row 3 | grep -qxF '> output(msg = "");' || fail "the line changed on keys without a meaning"

# F2 opens the assistance with the FBlock list at the caret
keys F2
expect 'Assistance: keys go to the dialog'
expect '|[|'
expect '|>AmFmTuner (0x40)'
expect '| AudioAmplifier (0x22)'

paste 'Au'
expect '[Au|'
expect '|>AudioAmplifier (0x22)'
# a cursor position report is no key: the dialog's field stays as it was
keys -H 1b 5b 39 39 39 3b 39 39 39 48
keys -l 'd'
expect '[Aud|'
keys BSpace
expect '[Au|'

# a resize and a key without a meaning while the dialog is open break nothing
t resize-window -t tui -x 90 -y 26 || fail "tmux cannot resize the window"
expect_row 26 'Assistance: keys go to the dialog'
keys 'C-\'
expect '[Au|'
expect '|>AudioAmplifier (0x22)'

# "." takes the selected FBlock and lists its functions; on to a value of Volume.Set
keys -l '.'
expect '[AudioAmplifier.|'
expect '|>Bass (0x202)'
keys -l 'Vo.S(10'
expect '[AudioAmplifier.Volume.Set(10|'
expect 'Volume: Number'

# Enter accepts: the new line is in the editor and the caret stands behind the value
keys Enter
expect_gone 'Assistance: keys go to the dialog'
expect 'F2/Ctrl+Space: assistance'
expect '> output(msg = "AudioAmplifier.Volume.Set(10)");'
expect 'caret 43/46'
screen | grep -qF '[[OK]]' && fail "the dialog is still drawn after it closed"
keys X
expect '> output(msg = "AudioAmplifier.Volume.Set(10)X");'

# Escape cancels the dialog, not the editor, and the line stays as it was
keys F2
expect 'Assistance: keys go to the dialog'
expect '|[AudioAmplifier.Volume.Set(10)'
keys Escape
expect 'Assistance cancelled: the line is unchanged.'
expect_row 26 'F2/Ctrl+Space: assistance'
expect '> output(msg = "AudioAmplifier.Volume.Set(10)X");'

# a question of the dialog is asked at the terminal: No keeps the dialog open
keys BSpace
expect '> output(msg = "AudioAmplifier.Volume.Set(10)");'
keys F2
expect '|[AudioAmplifier.Volume.Set(10)'
keys BSpace
keys -l ',20)'
expect 'Message: Tab/arrows: button'
expect '[[Yes]]  [No]'
keys Tab
expect '[Yes]  [[No]]'
keys Enter
expect 'Assistance: keys go to the dialog'
screen | grep -qF '[[No]]' && fail "the message box is still drawn after it was answered"
keys Escape
expect 'Assistance cancelled: the line is unchanged. Answered No to: The message has more'
expect '> output(msg = "AudioAmplifier.Volume.Set(10)");'

# a paste into the editor: characters beyond ASCII as they are, a line break as a space
keys End
keys -H 1b 5b 31 3b 39 39 48
paste ' R\303\244der\n\342\202\254'
expect '> output(msg = "AudioAmplifier.Volume.Set(10)"); Räder €'
expect 'caret 54/54'

# F3 opens the selection dialog in signal mode; the keys walk its tree down to a parameter (Right
# opens a row, Right again steps into it, a digit finds the row whose ID begins with it)
keys F3
expect 'Selection: keys go to the dialog'
expect '+- Select a Signal'
expect '|  +Infotainment'
for k in Right Right 2 Right Right 4 Right Right Right Right; do keys "$k"; done
expect '[Volume '
# Enter in the tree is OK: the chosen signal goes into the line at the caret
keys Enter
expect 'Selection inserted: Volume.'
expect_gone 'Select a Signal'
expect '> output(msg = "AudioAmplifier.Volume.Set(10)"); Räder €Volume'
expect 'caret 60/60'
# Ctrl+T opens it too; Escape cancels and the line stays
keys C-t
expect 'Selection: keys go to the dialog'
keys Escape
expect 'Selection closed: the line is unchanged.'
expect '> output(msg = "AudioAmplifier.Volume.Set(10)"); Räder €Volume'

# Ctrl+Q quits with exit code 0 and leaves the terminal's modes as it found them
keys C-q
i=0
while [ ! -f "$work/exit" ]; do
    [ $i -lt 100 ] || fail "pelorin-host does not quit on Ctrl+Q"
    sleep 0.1
    i=$((i + 1))
done
status=$(cat "$work/exit")
[ "$status" = 0 ] || fail "pelorin-host exited with $status"
[ -s "$work/modes-before" ] && [ -s "$work/modes-after" ] || fail "the launcher did not record the terminal modes"
cmp -s "$work/modes-before" "$work/modes-after" ||
    fail "terminal modes not restored: $(cat "$work/modes-before") became $(cat "$work/modes-after")"
echo "tui under tmux: one whole edit passed"
