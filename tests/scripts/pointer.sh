#!/usr/bin/env bash
# A real window under Xvfb driven by the mouse alone once past the password,
# in a window whose shape letterboxes the page: a click on a main-menu row
# chooses it, a right click goes back, a drag to the right goes back, one to
# the left goes on (nothing at a menu), a click on the last row ends the program.
set -u
source "$(dirname "$0")/lib.bash"
solvara=$1
work=$(mktemp -d)
start_xvfb
command -v xdotool >/dev/null || fail "xdotool is not installed (apt-get install xdotool)"

"$solvara" --keys '5926\n' --trace "$work/run.jsonl" --screenshot "$work/window.png" &
pid=$!
window=$(timeout 30 xdotool search --sync --name '^Solvara$' | head -n1)
[ -n "$window" ] || fail "no window"
xdotool windowmove "$window" 0 0 windowsize "$window" 1000 800
for _ in $(seq 100); do
    xdotool getwindowgeometry "$window" | grep -q 'Geometry: 1000x800' && break
    sleep 0.1
done
xdotool getwindowgeometry "$window" | grep -q 'Geometry: 1000x800' || fail "the window was not resized"

# Page to screen: the 1344 x 720 page scaled into 1000 x 800, centred.
at() { awk -v x="$1" -v y="$2" 'BEGIN { s = 1000 / 1344; printf "%d %d", x * s, y * s + (800 - 720 * s) / 2 }'; }
# Waits until the trace holds `count` lines matching `pattern` (it is written,
# beside its name until the program ends, whenever the program waits with
# nothing typed).
await() {
    for _ in $(seq 200); do
        [ "$(cat "$work"/.run.jsonl.* 2>/dev/null | grep -c -- "$1")" -ge "$2" ] && return 0
        sleep 0.1
    done
    fail "waited in vain for $2 x $1"
}
submenu='"text":"①","mx":1,"my":1,"color":0'
await '"op":"key"' 5
# shellcheck disable=SC2046
xdotool mousemove --window "$window" $(at 84 188) click 1
await "$submenu" 1
xdotool click 3
await '"key":"\\u0002"' 1
xdotool mousemove --window "$window" $(at 84 188) click 1
await "$submenu" 2
xdotool mousemove --window "$window" $(at 300 400) mousedown 1 mousemove --window "$window" $(at 700 420) mouseup 1
await '"key":"\\u0002"' 2
xdotool mousemove --window "$window" $(at 900 400) mousedown 1 mousemove --window "$window" $(at 300 380) mouseup 1
await '"key":"\\u0003"' 1
# The last row ends the program.
xdotool mousemove --window "$window" $(at 84 548) click 1
wait $pid || fail "the program ended with status $?"

taps=$(grep '"op":"tap"' "$work/run.jsonl" | awk -F'[:,}]' '{ printf "%.0f,%.0f ", $4 / 4, $6 / 4 }')
[ "$taps" = "21,47 21,47 21,137 " ] || fail "the clicks landed elsewhere on the page: $(grep '"op":"tap"' "$work/run.jsonl")"
"$solvara" --headless --keys '5926\n2\n\<8\n' --screenshot "$work/menu.png" || fail "the headless run failed"
cmp -s "$work/window.png" "$work/menu.png" || fail "the page at the end is not the main menu"
rm -rf "$work"
echo "pointer: ok"
