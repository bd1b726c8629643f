#!/usr/bin/env bash
# A day in class, each met as a user meets it: the X server ends under the
# window, the window is killed, the window is destroyed by another client, SIGTERM, SIGINT and SIGHUP in a window and
# headless, a missing font when the program was started from an icon (the
# message must show on the display), and F11 twice under a window manager.
#
# usage: day_in_class.sh SOLVARA WINDOW_TOOL
set -u
source "$(dirname "$0")/../scripts/lib.bash"
solvara=$1
tool=$2
work=$(mktemp -d)
BLUE=0D3B8C       # the main menu's frame
MENU_FRAME=(600 90)

# whole_trace NAME FILE: the trace ends on a whole line and holds the menu.
whole_trace() {
    [ "$(tail -c1 "$2" | od -An -tx1 | tr -d ' ')" = "0a" ] || fail "$1: the trace ends in the middle of a line"
    grep -q 'メニュー＞' "$2" || fail "$1: the trace lacks the menu"
}
is_png() {
    [ "$(head -c 8 "$2" 2>/dev/null | od -An -tx1 | tr -d ' \n')" = "89504e470d0a1a0a" ] ||
        fail "$1: no screenshot written"
}
# A window at the main menu, with its files asked for; the default action of
# every stop signal (a background job of a script ignores SIGINT).
start_window() {
    (trap - INT HUP TERM; exec timeout 60 "$solvara" --keys '5926\n' --trace "$work/$1.jsonl" \
        --screenshot "$work/$1.png" 2>"$work/$1.err") &
    pid=$!
    "$tool" Solvara --timeout 40 wait-pixel "${MENU_FRAME[@]}" $BLUE ||
        { cat "$work/$1.err" >&2; fail "$1: the window tool failed"; }
}

# The connection to the display is lost: the X server ends, or the window is
# killed. One clear line, status 1, no abort, and the files as they stood.
start_xvfb
start_window server-ends
kill "$XVFB_PID"
wait "$pid"
status=$?
[ $status -eq 1 ] || { cat "$work/server-ends.err" >&2; fail "X server ended: status $status, not 1"; }
grep -q "connection to the display was lost" "$work/server-ends.err" || fail "X server ended: no clear line"
grep -q -i -E "assert|abort|Sanitizer" "$work/server-ends.err" && fail "X server ended: $(cat "$work/server-ends.err")"
whole_trace server-ends "$work/server-ends.jsonl"
is_png server-ends "$work/server-ends.png"
echo "the X server ends under the window: ok"

start_xvfb
start_window killed
"$tool" Solvara --timeout 20 kill-client || fail "killed: the window tool failed"
wait "$pid"
status=$?
[ $status -eq 1 ] || { cat "$work/killed.err" >&2; fail "window killed: status $status, not 1"; }
grep -q "connection to the display was lost" "$work/killed.err" || fail "window killed: no clear line"
echo "the window is killed: ok"

# Another X client destroys the window (XDestroyWindow): the display is lost
# to the program. One line, status 1, and the page files asked for written.
command -v xdotool >/dev/null || fail "xdotool is not installed (apt-get install xdotool)"
(exec timeout 60 "$solvara" --keys '5926\n2\n1\n' --screenshot "$work/destroyed.png" --pdf "$work/destroyed.pdf" \
    --handout "$work/handout.pdf" 2>"$work/destroyed.err") &
pid=$!
"$tool" Solvara --timeout 40 wait-pixel 104 686 006B5E || fail "destroyed: the window tool failed"
xdotool search --name '^Solvara$' windowclose || fail "destroyed: xdotool found no window"
wait "$pid"
status=$?
[ $status -eq 1 ] || { cat "$work/destroyed.err" >&2; fail "window destroyed: status $status, not 1"; }
[ "$(wc -l <"$work/destroyed.err")" -eq 1 ] || fail "window destroyed: not one line: $(cat "$work/destroyed.err")"
grep -q "connection to the display was lost" "$work/destroyed.err" || fail "window destroyed: no clear line"
is_png destroyed "$work/destroyed.png"
for pdf in destroyed handout; do
    [ "$(head -c 5 "$work/$pdf.pdf" 2>/dev/null)" = "%PDF-" ] || fail "window destroyed: no $pdf.pdf written"
done
echo "the window is destroyed by another client: ok"

# Stop signals, in a window and headless: status 128 + the signal, the files
# written as the page stands, the trace on whole lines.
number() { kill -l "$1"; }
for sig in TERM INT HUP; do
    start_window "window-$sig"
    kill -s "$sig" "$pid"
    wait "$pid"
    status=$?
    [ $status -eq $((128 + $(number $sig))) ] || { cat "$work/window-$sig.err" >&2; fail "SIG$sig in a window: status $status"; }
    whole_trace "SIG$sig in a window" "$work/window-$sig.jsonl"
    is_png "SIG$sig in a window" "$work/window-$sig.png"
done
echo "stop signals in a window: ok"

visit="1\\n1\\n$(printf 'k%.0s' {1..44})4\\n"
{ printf '5926\\n'; for _ in {1..2000}; do printf '%s' "$visit"; done; } >"$work/long.keys"
for sig in TERM INT HUP; do
    name="headless-$sig"
    (trap - INT HUP TERM; exec timeout 120 "$solvara" --headless --keys-file "$work/long.keys" \
        --trace "$work/$name.jsonl" --screenshot "$work/$name.png" 2>"$work/$name.err") &
    pid=$!
    # The trace is written beside its name until the program stops.
    for _ in $(seq 200); do
        compgen -G "$work/.$name.jsonl.*" >/dev/null && break
        sleep 0.05
    done
    sleep 0.3
    kill -s "$sig" "$pid"
    wait "$pid"
    status=$?
    [ $status -eq $((128 + $(number $sig))) ] || { cat "$work/$name.err" >&2; fail "SIG$sig headless: status $status"; }
    whole_trace "SIG$sig headless" "$work/$name.jsonl"
    is_png "SIG$sig headless" "$work/$name.png"
done
echo "stop signals headless: ok"

# No Japanese font, started from an icon: the message shows in a box on the
# display, naming every missing font's package; closing it ends the program.
mkdir -p "$work/fonts"
cat >"$work/fonts/fonts.conf" <<CONF
<?xml version="1.0"?>
<fontconfig><dir>$work/fonts</dir><cachedir>$work/fonts/cache</cachedir></fontconfig>
CONF
FONTCONFIG_FILE="$work/fonts/fonts.conf" timeout 60 "$solvara" 2>"$work/font.err" &
pid=$!
"$tool" Solvara --timeout 40 close wait-gone || fail "missing font: no message box on the display"
wait "$pid"
status=$?
[ $status -eq 1 ] || fail "missing font: status $status"
for package in fonts-morisawa-bizud-gothic fonts-liberation fonts-dejavu-core; do
    grep -q "$package" "$work/font.err" || fail "missing font: $package not named"
done
echo "a missing font, shown on the display: ok"

# F11 twice gives back the window as it was: maximised stays maximised.
command -v openbox >/dev/null || fail "openbox is not installed (apt-get install openbox)"
openbox >/dev/null 2>&1 &
"$tool" --wait-wm || fail "F11: openbox did not start"
start_window full-screen
sizes=$("$tool" Solvara --timeout 20 geometry key F11 wait-pixel "${MENU_FRAME[@]}" $BLUE sleep 500 geometry \
    key F11 sleep 500 wait-pixel "${MENU_FRAME[@]}" $BLUE geometry close wait-gone) || fail "F11: the window tool failed"
wait "$pid"
read -r maximised full back < <(echo $sizes | awk '{print $1 "x" $2, $3 "x" $4, $5 "x" $6}')
[ "$full" = 1600x900 ] || fail "F11: full screen is $full, not the whole 1600x900 screen"
[ "$back" = "$maximised" ] || fail "F11 twice: the window is $back, not maximised ($maximised) as before"
echo "F11 twice: ok ($maximised, $full, $back)"

rm -rf "$work"
echo "a day in class: ok"
