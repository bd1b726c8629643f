#!/usr/bin/env bash
# The window as a class sees it after it was minimised and restored, or
# covered by another window and uncovered, under a window manager with no
# compositor: the window's pixels, read back from the X server, are the page
# (the program's own Ctrl+S picture at the window's size) and not black or
# the other window's picture. The arrows of a presenter remote: Down goes on,
# Up goes back to exactly the same page.
#
# usage: covered_window.sh SOLVARA WINDOW_TOOL
set -u
source "$(dirname "$0")/../scripts/lib.bash"
solvara=$1
tool=$2
work=$(mktemp -d)
TEAL=006B5E       # the any-key box
ANY_KEY_BOX=(300 675)

start_xvfb
command -v openbox >/dev/null || fail "openbox is not installed (apt-get install openbox)"
openbox >/dev/null 2>&1 &
"$tool" --wait-wm || fail "openbox did not start"

# Section 2, its first page, waiting for a key with the balance on it.
(exec env -u XDG_CONFIG_HOME XDG_PICTURES_DIR="$work" HOME="$work" \
    timeout 90 "$solvara" --seed 3 --keys '5926\n2\n1\n' --trace "$work/run.jsonl" 2>"$work/run.err") &
pid=$!
"$tool" Solvara --timeout 40 wait-pixel "${ANY_KEY_BOX[@]}" $TEAL key ctrl+s ||
    { cat "$work/run.err" >&2; fail "the window tool failed"; }
page=""
for _ in $(seq 200); do
    page=$(ls "$work"/solvara-*.png 2>/dev/null | head -n1)
    [ -n "$page" ] && break
    sleep 0.1
done
[ -n "$page" ] || { cat "$work/run.err" >&2; fail "Ctrl+S saved no picture of the page"; }
# The title says where the page went once it is written whole, then the program's own again.
"$tool" "Solvara - saved: $page and .pdf" --timeout 10 geometry >/dev/null ||
    fail "the title did not say where the page went"
"$tool" Solvara --timeout 20 geometry >/dev/null || fail "the title did not come back"
check() {
    "$tool" Solvara --timeout 20 same-as "$page" || { cat "$work/run.err" >&2; fail "$1"; }
}
check "the window does not show the page it saved"
"$tool" Solvara --timeout 20 minimise restore || fail "minimise and restore: the window tool failed"
check "after minimise and restore the window does not show the page"
echo "minimised and restored: ok"
"$tool" Solvara --timeout 20 cover 800 || fail "cover: the window tool failed"
check "after another window covered it the window does not show the page"
echo "covered and uncovered: ok"

# Down goes on from the any-key wait, Up comes back to the page as it stood.
"$tool" Solvara --timeout 30 key Down key Up || fail "arrows: the window tool failed"
check "Down and Up do not come back to the page"
"$tool" Solvara --timeout 20 close wait-gone || fail "the window did not close"
wait "$pid" || { cat "$work/run.err" >&2; fail "the program failed"; }
grep -q '"op":"key","key":"\\u0003"' "$work/run.jsonl" || fail "Down was not read as going on"
grep -q '"op":"key","key":"\\u0002"' "$work/run.jsonl" || fail "Up was not read as going back"
echo "the arrows of a remote: ok"

rm -rf "$work"
echo "the window shows the page: ok"
