#!/usr/bin/env bash
# Real windows under Xvfb: each program opens, takes the password and quits
# from its last item, and starts no other program.
set -u
source "$(dirname "$0")/lib.bash"
solvara=$1
ratiora=$2
work=$(mktemp -d)
start_xvfb

for run in "solvara:$solvara:8" "ratiora:$ratiora:9"; do
    IFS=: read -r name bin quit <<<"$run"
    timeout 60 "$bin" --keys "5926\\n${quit}\\n" --trace "$work/$name.jsonl" --screenshot "$work/$name.png" --size 800x450
    status=$?
    [ $status -eq 0 ] || fail "$name ended with status $status"
    grep -q "メニュー＞" "$work/$name.jsonl" || fail "$name drew no main menu"
    [ "$(grep -c '"op":"key"' "$work/$name.jsonl")" -eq 7 ] || fail "$name did not read exactly the 7 keys"
    [ -s "$work/$name.png" ] || fail "$name wrote no screenshot"
done

# A windowed run starts no other program, even with no session bus to find
# (the D-Bus library would otherwise try to start one): its only exec is its own.
command -v strace >/dev/null || fail "strace is not installed (apt-get install strace)"
# (LeakSanitizer cannot run under ptrace: a sanitizer build leaves leaks to the other tests here.)
env -u DBUS_SESSION_BUS_ADDRESS -u XDG_RUNTIME_DIR ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0" timeout 60 strace -f -qq -e trace=execve -o "$work/execs" \
    "$solvara" --keys '5926\n8\n' || fail "the run under strace failed"
[ "$(grep -c 'execve(' "$work/execs")" -eq 1 ] || fail "a windowed run started other programs: $(grep execve "$work/execs")"
rm -rf "$work"
echo "window: ok"
