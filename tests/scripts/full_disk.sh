#!/usr/bin/env bash
# A full disk, as a real small file system (a 192 kB tmpfs): every file the
# program writes is whole or keeps what it held before, with one line for
# each that could not be written, status 1, and nothing half-written or
# temporary left behind. Mounting needs root; a user without it gets a
# mount namespace of their own (unshare).
set -u
source "$(dirname "$0")/lib.bash"
solvara=$1
if [ "$(id -u)" -ne 0 ]; then
    exec unshare --user --map-root-user --mount bash "$0" "$@"
fi
work=$(mktemp -d)
disk="$work/disk"
mkdir "$disk"
mount -t tmpfs -o size=192k tmpfs "$disk" || fail "cannot mount a 192 kB tmpfs at $disk"
trap 'umount "$disk"; rm -rf "$work"' EXIT
outputs() { echo --screenshot "$disk/s.png" --pdf "$disk/p.pdf" --handout "$disk/h.pdf" --trace "$disk/t.jsonl" \
    --timing "$disk/timing"; }

# The main menu fits: every file written.
# shellcheck disable=SC2046
"$solvara" --headless --seed 3 --keys '5926\n' $(outputs) 2>"$work/err" || fail "the menu's files: $(cat "$work/err")"
mkdir "$work/before"
cp "$disk"/* "$work/before/"

# A whole section does not: the trace fills the disk while the program runs,
# so the page files after it cannot be written either; each keeps the
# menu's content, and the timing, written once the trace gave back its
# space, is whole.
# shellcheck disable=SC2046
"$solvara" --headless --seed 3 --walk 2 $(outputs) 2>"$work/err"
status=$?
[ $status -eq 1 ] || fail "a full disk must end with status 1, not $status"
for file in s.png p.pdf h.pdf t.jsonl; do
    cmp -s "$disk/$file" "$work/before/$file" || fail "$file is not what it was before the full disk"
    [ "$(grep -c -F "$disk/$file: No space left on device" "$work/err")" -eq 1 ] || fail "$file: not told in one line"
done
[ "$(wc -l <"$work/err")" -eq 4 ] || fail "a full disk: one line per file, not: $(cat "$work/err")"
[ "$(tail -c1 "$disk/timing" | od -An -tx1 | tr -d ' ')" = "0a" ] || fail "the timing is not whole"
cmp -s "$disk/timing" "$work/before/timing" && fail "the timing was not written"
[ "$(ls -A "$disk" | tr '\n' ' ')" = "h.pdf p.pdf s.png t.jsonl timing " ] || fail "left behind: $(ls -A "$disk")"

# Nothing there before: the files that cannot be written are absent.
rm "$disk"/*
# shellcheck disable=SC2046
"$solvara" --headless --seed 3 --walk 2 $(outputs) 2>"$work/err"
[ $? -eq 1 ] || fail "a full disk on an empty folder must end with status 1"
[ "$(ls -A "$disk")" = timing ] || fail "half-written files on a full disk: $(ls -A "$disk")"
echo "full disk: ok"
