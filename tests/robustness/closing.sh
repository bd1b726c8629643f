#!/usr/bin/env bash
# Real windows under Xvfb, closed by the window system at every kind of wait:
# the password gate, the main menu, a sub-menu, an any-key prompt, a step
# prompt, the middle of an animation and the error screen. Each time the
# program must end with status 0 and (in a sanitizer build) report nothing.
# A key held down (thousands of queued key presses) must not freeze it.
#
# usage: closing.sh SOLVARA RATIORA WINDOW_TOOL FAILING_PROGRAM
set -u
source "$(dirname "$0")/../scripts/lib.bash"
solvara=$1
ratiora=$2
tool=$3
failing=$4
work=$(mktemp -d)
start_xvfb

# Palette colours as the page shows them.
RED=E01010      # the entry cursor
TEAL=006B5E     # the any-key box
MAGENTA=A3165A  # the step-prompt box
BLUE=0D3B8C     # the main menu's frame
WHITE=FFFFFF
CURSOR=(1068 656)  # on the ring of the entry cursor at (1056, 648)
GATE_CURSOR=(412 283)
ANY_KEY_BOX=(104 686)
STEP_BOX=(104 668)
MENU_FRAME=(600 90)

keys_read() { grep -c '"op":"key"' "$1"; }

# check_run NAME STATUS TRACE STDERR: status 0, a trace, no sanitizer report.
check_run() {
    local name=$1 status=$2 trace=$3 err=$4
    [ "$status" -eq 0 ] || { cat "$err" >&2; fail "$name: ended with status $status"; }
    grep -q -E 'Sanitizer|runtime error' "$err" && { cat "$err" >&2; fail "$name: sanitizer report"; }
    [ -s "$trace" ] || fail "$name: no trace written"
}

# close_case NAME PROGRAM TITLE KEYS KEYS_EXPECTED TOOL_ACTIONS...: runs the
# program with scripted keys, lets the tool act on its window and checks
# that it ended cleanly after reading exactly KEYS_EXPECTED keys.
close_case() {
    local name=$1 bin=$2 title=$3 keys=$4 expected=$5
    shift 5
    local trace="$work/$name.jsonl" err="$work/$name.err"
    timeout 120 "$bin" --keys "$keys" --trace "$trace" 2>"$err" &
    local pid=$!
    "$tool" "$title" --timeout 90 "$@" || { kill "$pid" 2>/dev/null; fail "$name: the window tool failed"; }
    wait "$pid"
    check_run "$name" $? "$trace" "$err"
    local got
    got=$(keys_read "$trace")
    [ "$got" -eq "$expected" ] || fail "$name: read $got keys, not $expected: closed at the wrong wait"
    echo "closed at $name: ok"
}

close_case gate "$solvara" Solvara "" 0 \
    wait-pixel "${GATE_CURSOR[@]}" $RED close wait-gone
close_case main-menu "$solvara" Solvara '5926\n' 5 \
    wait-pixel "${MENU_FRAME[@]}" $BLUE wait-pixel "${CURSOR[@]}" $RED close wait-gone
close_case ratiora-main-menu "$ratiora" Ratiora '5926\n' 5 \
    wait-pixel "${MENU_FRAME[@]}" $BLUE close wait-gone
close_case sub-menu "$solvara" Solvara '5926\n2\n' 7 \
    wait-pixel "${MENU_FRAME[@]}" $WHITE wait-pixel "${CURSOR[@]}" $RED close wait-gone
close_case any-key "$solvara" Solvara '5926\n2\n1\n' 9 \
    wait-pixel "${ANY_KEY_BOX[@]}" $TEAL close wait-gone
# The drill of section 2: thirty letters pass its rows; the step prompt ignores the rest.
close_case step-prompt "$solvara" Solvara "5926\\n2\\n7\\n$(printf 'k%.0s' {1..30})" 39 \
    wait-pixel "${STEP_BOX[@]}" $MAGENTA wait-pixel "${CURSOR[@]}" $RED close wait-gone

# In the middle of the balance tilting: the third key of the first task starts
# it; the close comes while its frames are drawn. The program must end inside
# a pause (the trace ends with one). A busy machine may handle both at the
# next wait instead: then the case is tried again.
animation_case() {
    local attempt trace="$work/animation.jsonl" err="$work/animation.err"
    for attempt in 1 2 3; do
        timeout 120 "$solvara" --keys '5926\n2\n1\nkk' --trace "$trace" 2>"$err" &
        local pid=$!
        "$tool" Solvara --timeout 90 wait-pixel "${ANY_KEY_BOX[@]}" $TEAL key k sleep 70 close wait-gone ||
            { kill "$pid" 2>/dev/null; fail "animation: the window tool failed"; }
        wait "$pid"
        check_run animation $? "$trace" "$err"
        [ "$(keys_read "$trace")" -eq 12 ] || fail "animation: the key that starts the tilt was not read"
        if tail -n1 "$trace" | grep -q '"op":"pause"'; then
            echo "closed in the middle of an animation: ok (attempt $attempt)"
            return
        fi
    done
    fail "animation: the close never came during the tilt (last event: $(tail -n1 "$trace"))"
}
animation_case

# The error screen: a section fails; the window shows the error on the deep
# blue its clear paints (where the cursor stood too) and closes.
# Keys are typed into the window so that each step is reached in turn.
trace="$work/error.jsonl"
timeout 120 "$failing" --trace "$trace" 2>"$work/error.err" &
pid=$!
"$tool" Solvara --timeout 90 \
    wait-pixel "${GATE_CURSOR[@]}" $RED key 5 key 9 key 2 key 6 key Return \
    wait-pixel "${MENU_FRAME[@]}" $BLUE key 1 key Return \
    wait-pixel "${CURSOR[@]}" $BLUE sleep 300 close wait-gone ||
    { kill "$pid" 2>/dev/null; fail "error screen: the window tool failed"; }
wait "$pid"
check_run error-screen $? "$trace" "$work/error.err"
grep -q 'エラーが発生しました。マウスで×をクリックして下さい。' "$trace" || fail "error screen: no error message drawn"
[ "$(keys_read "$trace")" -eq 7 ] || fail "error screen: the typed keys did not all arrive"
echo "closed on the error screen: ok"

# A key held down: thousands of key presses arrive at once at an any-key
# prompt. The program takes what it can use, drops the rest, and must still
# answer the close at once.
trace="$work/held.jsonl"
timeout 120 "$solvara" --keys '5926\n2\n1\n' --trace "$trace" 2>"$work/held.err" &
pid=$!
"$tool" Solvara --timeout 90 wait-pixel "${ANY_KEY_BOX[@]}" $TEAL key k 3000 \
    wait-pixel "${CURSOR[@]}" $RED close wait-gone ||
    { kill "$pid" 2>/dev/null; fail "held key: the window tool failed (frozen?)"; }
wait "$pid"
check_run held-key $? "$trace" "$work/held.err"
held=$(($(keys_read "$trace") - 9))
[ "$held" -gt 5 ] || fail "held key: only $held of the held keys were read"
# The task's steps were all taken and its sub-menu came back.
[ "$(grep -c '"op":"wait","kind":"submenu"' "$trace")" -ge 2 ] || fail "held key: the sub-menu did not come back"
echo "a key held down: ok ($held key presses read)"

rm -rf "$work"
echo "closing real windows: ok"
