#!/usr/bin/env bash
# The command line: help, version, wrong options, headless runs with their files,
# and the clear messages when the program cannot start.
set -u
source "$(dirname "$0")/lib.bash"
solvara=$1
ratiora=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$solvara" --help | grep -q -- "--headless" || fail "--help does not list --headless"
"$ratiora" --version | grep -q "^ratiora " || fail "--version"

"$solvara" --bogus 2>"$work/err"
[ $? -eq 2 ] || fail "an unknown option must end with status 2"
grep -q "usage:" "$work/err" || fail "an unknown option must point to the usage on stderr"
[ "$(wc -l <"$work/err")" -eq 1 ] || fail "an unknown option must print one line"
"$solvara" --size 12 2>/dev/null
[ $? -eq 2 ] || fail "a bad --size must end with status 2"
"$solvara" --walk 2 2>/dev/null
[ $? -eq 2 ] || fail "--walk without --headless must end with status 2"

# The walk of a section from the command line ends back at the main menu;
# a back key in a script puts the page back as it stood.
"$ratiora" --headless --seed 3 --walk 2 --trace "$work/walk.jsonl" || fail "--walk 2 run"
[ "$(grep -c 'メニュー＞' "$work/walk.jsonl")" -eq 2 ] || fail "--walk 2 does not end back at the main menu"
"$solvara" --headless --seed 3 --keys '5926\n' --screenshot "$work/menu.png" || fail "run to the menu"
"$solvara" --headless --seed 3 --keys '5926\n2\n\<' --screenshot "$work/back.png" || fail "run with a back key"
cmp -s "$work/menu.png" "$work/back.png" || fail "\\< at a sub-menu does not give the main menu back"

# Headless: keys from a file (a real newline is Enter), screenshot at the asked size, trace.
printf '5926\n' >"$work/keys"
"$solvara" --headless --keys-file "$work/keys" --screenshot "$work/s.png" --size 640x360 --trace "$work/t.jsonl"
[ $? -eq 0 ] || fail "headless run"
[ "$(head -c 8 "$work/s.png" | od -An -tx1 | tr -d ' \n')" = "89504e470d0a1a0a" ] || fail "screenshot is not a PNG"
[ "$(od -An -tu4 -j16 -N4 --endian=big "$work/s.png" | tr -d ' ')" = "640" ] || fail "screenshot width"
grep -q '"op":"formula","text":"＜Solvara　メニュー＞"' "$work/t.jsonl" || fail "trace lacks the menu"
[ "$(grep -o '"op":"wait","kind":"[a-z]*"' "$work/t.jsonl" | cut -d'"' -f8 | tr '\n' ' ')" = "gate menu " ] ||
    fail "the trace does not record the gate's and the menu's waits as they start"

# Without options no file is written.
( cd "$work" && mkdir quiet && cd quiet && "$solvara" --headless >/dev/null 2>&1; [ -z "$(ls)" ] ) || fail "files written without options"

# No display, as a user meets it: DISPLAY unset, a display with no server,
# the dummy driver. One clear line and status 1 at once, never a window
# drawn nowhere that waits for ever. (A sanitizer build's own statistics of
# suppressed library leaks are not the program's output.)
for env in "-u DISPLAY" "DISPLAY=:93" "SDL_VIDEODRIVER=dummy"; do
    env -u WAYLAND_DISPLAY $env LSAN_OPTIONS="${LSAN_OPTIONS:-}:print_suppressions=0" timeout 20 "$solvara" 2>"$work/err"
    status=$?
    [ $status -eq 1 ] || fail "no display ($env) must end with status 1, not $status"
    [ "$(wc -l <"$work/err")" -eq 1 ] || fail "no display ($env) must print one line"
    grep -q "display" "$work/err" || fail "no display ($env): no message"
done

# Files that cannot be written: a missing folder, a folder; told before the
# run with the path and the reason. A full disk shows only when the file is
# written: told at the end, and not a success. One file named twice: usage.
for option in --screenshot --trace --timing --pdf --handout --spoken; do
    for path in "$work/missing/out" "$work"; do
        "$solvara" --headless --keys '5926\n' "$option" "$path" 2>"$work/err"
        [ $? -eq 2 ] || fail "$option $path must end with status 2"
        grep -q -F "$path" "$work/err" || fail "$option $path: the message must name the path"
    done
    "$solvara" --headless --keys '5926\n' "$option" '' 2>"$work/err"
    [ $? -eq 2 ] || fail "$option '' (an empty name) must end with status 2"
    "$solvara" --headless --keys '5926\n' "$option" /dev/full 2>"$work/err"
    [ $? -eq 1 ] || fail "$option /dev/full must end with status 1"
    grep -q "/dev/full: No space left on device" "$work/err" || fail "$option /dev/full: $(cat "$work/err")"
done
"$solvara" --headless --trace "$work/same" --timing "$work/./same" 2>"$work/err"
[ $? -eq 2 ] || fail "two options naming one file must be a usage error"

# Keys files: missing or a folder (status 2, one line), far too large (a
# message, not a huge allocation), named again as an output (refused, the
# keys kept), written on Windows (one Enter per CR LF line).
for path in "$work/no-keys" "$work"; do
    "$solvara" --headless --keys-file "$path" 2>"$work/err"
    [ $? -eq 2 ] || fail "--keys-file $path must end with status 2"
    grep -q -F "$path" "$work/err" || fail "--keys-file $path: the message must name the path"
    [ "$(wc -l <"$work/err")" -eq 1 ] || fail "--keys-file $path must print one line"
done
printf '5926\n' >"$work/k.txt"
for option in --trace --screenshot; do
    "$solvara" --headless --keys-file "$work/k.txt" "$option" "$work/./k.txt" 2>/dev/null
    [ $? -eq 2 ] || fail "$option naming the keys file must end with status 2"
    [ "$(cat "$work/k.txt")" = 5926 ] || fail "$option overwrote the keys file"
done
truncate -s 2M "$work/huge"
"$solvara" --headless --keys-file "$work/huge" 2>"$work/err"
[ $? -eq 2 ] || fail "a keys file over 1 MB must end with status 2"
printf '5926\r\n8\r\n' >"$work/crlf"
"$solvara" --headless --keys-file "$work/crlf" --trace "$work/crlf.jsonl" || fail "a CR LF keys file"
[ "$(grep -c '"op":"key"' "$work/crlf.jsonl")" -eq 7 ] || fail "a CR LF keys file must give one Enter per line"

# A malformed ink item in the keys or a keys file: status 2, one line naming it.
printf '5926\n\\~r:1,2 3;' >"$work/ink.txt"
for keys in "--keys 5926\\n\\~q:1,2;" "--keys \\~r:1,2" "--keys-file $work/ink.txt"; do
    "$solvara" --headless $keys 2>"$work/err"
    [ $? -eq 2 ] || fail "a malformed ink item ($keys) must end with status 2"
    grep -q 'a malformed ink stroke in the keys.*\\~' "$work/err" || fail "a malformed ink item ($keys): no line naming it"
    [ "$(wc -l <"$work/err")" -eq 1 ] || fail "a malformed ink item ($keys) must print one line"
done
# Schemes: an unknown name is refused in one line naming the schemes;
# --schemes prints them all. A scheme is a view: the same trace, a dark
# screenshot; a headless run goes by --scheme alone (not by the one the
# window remembered), and its PDF is on white paper unless --scheme is given.
"$solvara" --headless --scheme sepia 2>"$work/err"
[ $? -eq 2 ] || fail "an unknown scheme must end with status 2"
[ "$(wc -l <"$work/err")" -eq 1 ] && grep -q "normal, dark, yellow, chalk" "$work/err" ||
    fail "an unknown scheme must be told in one line naming the schemes"
"$solvara" --schemes >"$work/schemes.json" || fail "--schemes"
/usr/bin/python3 - "$work/schemes.json" <<'PY' || fail "--schemes must print every scheme's sixteen colours"
import json, re, sys
schemes = json.load(open(sys.argv[1]))
assert list(schemes) == ["normal", "dark", "yellow", "chalk"], list(schemes)
assert all(len(c) == 16 and all(re.fullmatch("#[0-9A-F]{6}", x) for x in c) for c in schemes.values())
PY
# The mean brightness (0 to 255) of a PNG that Cairo wrote (8-bit RGB) or of a PPM.
brightness() {
    /usr/bin/python3 - "$1" <<'PY'
import struct, sys, zlib
data = open(sys.argv[1], "rb").read()
if data[:2] == b"P6":
    fields = data.split(maxsplit=4)
    pixels = fields[4]
else:
    pos, idat = 8, b""
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        if kind == b"IHDR": width, height, depth, colour = struct.unpack(">IIBB", data[pos + 8:pos + 18])
        if kind == b"IDAT": idat += data[pos + 8:pos + 8 + length]
        pos += 12 + length
    assert depth == 8 and colour == 2
    raw, stride, rows, prev = zlib.decompress(idat), width * 3, [], bytearray(width * 3)
    for y in range(height):
        f, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - 3] if i >= 3 else 0
            b, c = prev[i], prev[i - 3] if i >= 3 else 0
            p = a + b - c
            pred = [0, a, b, (a + b) // 2, a if abs(p - a) <= min(abs(p - b), abs(p - c)) else b if abs(p - b) <= abs(p - c) else c][f]
            line[i] = (line[i] + pred) & 255
        rows.append(bytes(line))
        prev = line
    pixels = b"".join(rows)
print(sum(pixels) // len(pixels))
PY
}
mkdir -p "$work/state/solvara"
echo dark >"$work/state/solvara/scheme"
run=(--headless --seed 3 --keys '5926\n4\n1\n' --size 320x180)
XDG_STATE_HOME=$work/state "$solvara" "${run[@]}" --trace "$work/normal.jsonl" --screenshot "$work/normal.png" \
    --pdf "$work/normal.pdf" || fail "a headless run"
"$solvara" "${run[@]}" --scheme dark --trace "$work/dark.jsonl" --screenshot "$work/dark.png" --pdf "$work/dark.pdf" ||
    fail "a headless run with --scheme dark"
cmp -s "$work/normal.jsonl" "$work/dark.jsonl" || fail "--scheme dark must leave the trace as it is"
[ "$(brightness "$work/normal.png")" -gt 200 ] || fail "a headless run must not take the remembered scheme"
[ "$(brightness "$work/dark.png")" -lt 60 ] || fail "--scheme dark must draw a dark screenshot"
pdftoppm -r 10 "$work/normal.pdf" "$work/normal-pdf" && pdftoppm -r 10 "$work/dark.pdf" "$work/dark-pdf" || fail "pdftoppm"
[ "$(brightness "$work/normal-pdf-1.ppm")" -gt 200 ] || fail "--pdf must be on white paper"
[ "$(brightness "$work/dark-pdf-1.ppm")" -lt 60 ] || fail "--pdf with --scheme dark must be in the scheme"

# --spoken: a line for each wait, a formula said as in class (its glyphs
# not said again as plain text), and the wait a step back goes to told again.
"$solvara" --headless --seed 3 --keys '5926\n4\n1\nkk\<' --spoken "$work/spoken.txt" --trace "$work/spoken.jsonl" ||
    fail "a run with --spoken"
[ "$(wc -l <"$work/spoken.txt")" -eq "$(grep -c '"op":"wait"' "$work/spoken.jsonl")" ] || fail "--spoken: one line per wait"
[ "$(sed -n 5p "$work/spoken.txt")" = "左辺の マイナス 15が プラス 15となって右辺に移った。" ] ||
    fail "--spoken: the step's text: $(sed -n 5p "$work/spoken.txt")"
[ "$(sed -n 7p "$work/spoken.txt")" = "$(sed -n 5p "$work/spoken.txt")" ] || fail "--spoken: a step back tells its wait again"

# No Japanese font: one clear line naming the package, status 1.
mkdir -p "$work/fonts"
cat >"$work/fonts/fonts.conf" <<CONF
<?xml version="1.0"?>
<fontconfig><dir>$work/fonts</dir><cachedir>$work/fonts/cache</cachedir></fontconfig>
CONF
FONTCONFIG_FILE="$work/fonts/fonts.conf" "$solvara" --headless 2>"$work/err"
[ $? -eq 1 ] || fail "a missing font must end with status 1"
[ "$(wc -l <"$work/err")" -eq 1 ] || fail "a missing font must print one line"
for package in fonts-morisawa-bizud-gothic fonts-liberation fonts-dejavu-core; do
    grep -q "$package" "$work/err" || fail "the missing-font line must name every package ($package)"
done
echo "command line: ok"
