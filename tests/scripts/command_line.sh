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
grep -q "usage:" "$work/err" || fail "an unknown option must print usage on stderr"
"$solvara" --size 12 2>/dev/null
[ $? -eq 2 ] || fail "a bad --size must end with status 2"

# Headless: keys from a file (a real newline is Enter), screenshot at the asked size, trace.
printf '5926\n' >"$work/keys"
"$solvara" --headless --keys-file "$work/keys" --screenshot "$work/s.png" --size 640x360 --trace "$work/t.jsonl"
[ $? -eq 0 ] || fail "headless run"
[ "$(head -c 8 "$work/s.png" | od -An -tx1 | tr -d ' \n')" = "89504e470d0a1a0a" ] || fail "screenshot is not a PNG"
[ "$(od -An -tu4 -j16 -N4 --endian=big "$work/s.png" | tr -d ' ')" = "640" ] || fail "screenshot width"
grep -q '"op":"formula","text":"＜Solvara　メニュー＞"' "$work/t.jsonl" || fail "trace lacks the menu"

# Without options no file is written.
( cd "$work" && mkdir quiet && cd quiet && "$solvara" --headless >/dev/null 2>&1; [ -z "$(ls)" ] ) || fail "files written without options"

# No display: one clear line on stderr and status 1.
env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=x11 "$solvara" 2>"$work/err"
[ $? -eq 1 ] || fail "no display must end with status 1"
[ "$(wc -l <"$work/err")" -eq 1 ] || fail "no display must print one line"
grep -q "display" "$work/err" || fail "no display message"

# No Japanese font: one clear line naming the package, status 1.
mkdir -p "$work/fonts"
cat >"$work/fonts/fonts.conf" <<CONF
<?xml version="1.0"?>
<fontconfig><dir>$work/fonts</dir><cachedir>$work/fonts/cache</cachedir></fontconfig>
CONF
FONTCONFIG_FILE="$work/fonts/fonts.conf" "$solvara" --headless 2>"$work/err"
[ $? -eq 1 ] || fail "a missing font must end with status 1"
[ "$(wc -l <"$work/err")" -eq 1 ] || fail "a missing font must print one line"
grep -q "fonts-morisawa-bizud-gothic" "$work/err" || fail "the missing-font line must name the package"
echo "command line: ok"
