#!/usr/bin/env bash
# A real window under Xvfb killed with SIGKILL at an any-key wait: started
# again, it stands where it stood (the same pixels, no password asked), a
# back goes to the sub-menu before it and going on comes back to the same
# page; closing the window forgets the place, and the next start is at the
# password gate.
#
# usage: place.sh SOLVARA WINDOW_TOOL
set -u
source "$(dirname "$0")/../scripts/lib.bash"
solvara=$1
tool=$2
work=$(mktemp -d)
export XDG_STATE_HOME="$work/state" XDG_PICTURES_DIR="$work/pictures"
mkdir -p "$XDG_PICTURES_DIR"
RED=E01010      # the entry cursor
TEAL=006B5E     # the any-key box
BLUE=0D3B8C     # the main menu's frame
WHITE=FFFFFF
CURSOR=(1068 656)
GATE_CURSOR=(412 283)
ANY_KEY_BOX=(104 686)
MENU_FRAME=(600 90)
start_xvfb

waits_of() { grep -o '"op":"wait","kind":"[a-z]*"' "$1" | sed 's/.*"kind":"//; s/"//' | tr '\n' ' '; }

# The first window: the password, section 2, its first page; the page saved
# (Ctrl+S) as it stands, then the process killed (itself, not through timeout).
"$solvara" 2>"$work/first.err" &
pid=$!
"$tool" Solvara --timeout 60 wait-pixel "${GATE_CURSOR[@]}" $RED key 5 key 9 key 2 key 6 key Return \
    wait-pixel "${MENU_FRAME[@]}" $BLUE wait-pixel "${CURSOR[@]}" $RED key 2 key Return \
    wait-pixel "${MENU_FRAME[@]}" $WHITE wait-pixel "${CURSOR[@]}" $RED key 1 key Return \
    wait-pixel "${ANY_KEY_BOX[@]}" $TEAL key ctrl+s || { kill -9 $pid; cat "$work/first.err" >&2; fail "the first window"; }
png=""
for _ in $(seq 200); do
    png=$(find "$XDG_PICTURES_DIR" -name 'solvara-*.png' | head -n1)
    [ -n "$png" ] && [ -f "${png%.png}.pdf" ] && break
    sleep 0.1
done
[ -n "$png" ] || fail "the page was not saved"
"$tool" "Solvara - saved: $png and .pdf" --timeout 20 geometry >/dev/null || fail "the page was not saved whole"
kill -9 $pid
wait $pid 2>/dev/null
[ -f "$XDG_STATE_HOME/solvara/place/head" ] || fail "no place kept in $XDG_STATE_HOME/solvara/place"

# Started again: the same page, at once at its wait; back, and on again.
timeout 120 "$solvara" --trace "$work/again.jsonl" 2>"$work/again.err" &
pid=$!
"$tool" Solvara --timeout 60 same-as "$png" key Prior wait-pixel "${CURSOR[@]}" $RED differs-from "$png" \
    key 1 key Return same-as "$png" close wait-gone || { kill $pid; cat "$work/again.err" >&2; fail "the window started again"; }
wait $pid || { cat "$work/again.err" >&2; fail "the window started again ended with status $?"; }
[ "$(waits_of "$work/again.jsonl")" = "anykey submenu anykey " ] ||
    fail "started again, the waits were: $(waits_of "$work/again.jsonl")"
grep -q '"op":"key","key":"5"' "$work/again.jsonl" && fail "the password was asked again"
[ -e "$XDG_STATE_HOME/solvara/place" ] && fail "closing the window left the place"
echo "killed and started again: ok"

# Closed, the next start is a first opening.
timeout 120 "$solvara" --trace "$work/third.jsonl" 2>"$work/third.err" &
pid=$!
"$tool" Solvara --timeout 60 wait-pixel "${GATE_CURSOR[@]}" $RED close wait-gone || { kill $pid; fail "the third window"; }
wait $pid
[ "$(waits_of "$work/third.jsonl")" = "gate " ] || fail "after a close the program did not start at the gate"
echo "closed and started again at the gate: ok"
rm -rf "$work"
