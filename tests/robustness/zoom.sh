#!/usr/bin/env bash
# A real window under Xvfb zoomed as a teacher zooms it: Ctrl and the wheel
# over the page, Ctrl+= and Ctrl+-, then Ctrl+0. The page is magnified and
# comes back whole pixel for pixel, and none of it is read as a lesson key:
# the page still waits at the same any-key wait for the next real key.
set -u
source "$(dirname "$0")/../scripts/lib.bash"
solvara=$1
tool=$2
work=$(mktemp -d)
start_xvfb
command -v xdotool >/dev/null || fail "xdotool is not installed (apt-get install xdotool)"

keys='5926\n2\n1\n'
"$solvara" --headless --seed 5 --keys "$keys" --screenshot "$work/whole.png" || fail "the headless run failed"
"$solvara" --seed 5 --keys "$keys" --trace "$work/run.jsonl" &
pid=$!
window=$(timeout 30 xdotool search --sync --name '^Solvara$' | head -n1)
[ -n "$window" ] || fail "no window"
"$tool" Solvara --timeout 30 same-as "$work/whole.png" || fail "the window never showed the page"
keys_read() { cat "$work"/.run.jsonl.* 2>/dev/null | grep -c '"op":"key"'; }
before=$(keys_read)

xdotool mousemove --window "$window" 300 200 keydown ctrl click 4 click 4 click 4 keyup ctrl
"$tool" Solvara --timeout 20 differs-from "$work/whole.png" || fail "Ctrl and the wheel did not zoom"
xdotool key ctrl+equal ctrl+plus ctrl+minus
xdotool mousemove --window "$window" 700 400 click 5 click 7
xdotool key ctrl+0
"$tool" Solvara --timeout 20 same-as "$work/whole.png" || fail "Ctrl+0 did not give the whole page back"
sleep 0.5
[ "$(keys_read)" -eq "$before" ] || fail "zooming read lesson keys: $(cat "$work"/.run.jsonl.* | grep '"op":"key"' | tail -n +$((before + 1)))"

# The lesson goes on at the next real key.
"$tool" Solvara key k key ctrl+s
xdotool key ctrl+0
for _ in $(seq 100); do [ "$(keys_read)" -gt "$before" ] && break; sleep 0.1; done
[ "$(keys_read)" -eq $((before + 1)) ] || fail "the next key was not read as one key"
"$tool" Solvara close
wait $pid || fail "the program ended with status $?"
rm -rf "$work"
echo "zoom: ok"
