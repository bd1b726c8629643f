#!/usr/bin/env bash
# Ctrl+S in a real window: the page as a PNG at the window's size and as a
# PDF with real text, in the pictures folder (XDG_PICTURES_DIR) or else the
# home folder; the title says where, then shows the program's title again;
# the page is not drawn over and the S is not typed into the lesson.
#
# usage: save_page.sh SOLVARA WINDOW_TOOL
set -u
source "$(dirname "$0")/../scripts/lib.bash"
solvara=$1
tool=$2
work=$(mktemp -d)
BLUE=0D3B8C       # the main menu's frame
MENU_FRAME=(600 90)
command -v pdftotext >/dev/null || fail "pdftotext is not installed (apt-get install poppler-utils)"

# save_into NAME FOLDER [VAR=VALUE...]: a window at the main menu, Ctrl+S,
# and the two files looked at in FOLDER.
save_into() {
    local name=$1 folder=$2
    shift 2
    mkdir -p "$work/$name-home"
    (exec env -u XDG_PICTURES_DIR -u XDG_CONFIG_HOME HOME="$work/$name-home" "$@" \
        timeout 60 "$solvara" --keys '5926\n' --trace "$work/$name.jsonl" 2>"$work/$name.err") &
    local pid=$!
    "$tool" Solvara --timeout 40 wait-pixel "${MENU_FRAME[@]}" $BLUE key ctrl+s ||
        { cat "$work/$name.err" >&2; fail "$name: the window tool failed"; }
    local png="" pdf=""
    for _ in $(seq 200); do
        png=$(find "$folder" -maxdepth 1 -type f -name 'solvara-*.png' | head -n1)
        pdf=$(find "$folder" -maxdepth 1 -type f -name 'solvara-*.pdf' | head -n1)
        [ -n "$png" ] && [ -n "$pdf" ] && break
        sleep 0.1
    done
    [ -n "$png" ] && [ -n "$pdf" ] || { cat "$work/$name.err" >&2; fail "$name: nothing saved in $folder"; }
    [ "${png%.png}" = "${pdf%.pdf}" ] || fail "$name: the PNG and the PDF are named apart: $png $pdf"
    # The title says where, then the program's own title comes back.
    "$tool" "Solvara - saved: $png and .pdf" --timeout 10 geometry >/dev/null ||
        fail "$name: the title did not say where the page went"
    local size
    size=$("$tool" Solvara --timeout 20 geometry) || fail "$name: the title did not come back"
    # The PNG is the window's size; the PDF holds the menu's text as text.
    local ihdr
    ihdr=$(head -c 24 "$png" | tail -c 8 | od -An -tu1 | tr -s ' ')
    read -r a b c d e f g h <<<"$ihdr"
    [ "$(( (a << 24 | b << 16 | c << 8 | d) )) $(( (e << 24 | f << 16 | g << 8 | h) ))" = "$size" ] ||
        fail "$name: the PNG is not the window's size $size"
    pdftotext "$pdf" - | tr -d ' ' | grep -q 'メニュー' || fail "$name: the PDF holds no menu text"
    "$tool" Solvara --timeout 20 close wait-gone || fail "$name: the window did not close"
    wait "$pid" || { cat "$work/$name.err" >&2; fail "$name: the program failed"; }
    # Nothing was drawn for the save, and no S reached the lesson.
    grep -q '"op":"key","key":"s"' "$work/$name.jsonl" && fail "$name: the S of Ctrl+S was typed into the lesson"
    echo "Ctrl+S into $folder: ok"
}

start_xvfb
mkdir -p "$work/pictures"
save_into pictures "$work/pictures" XDG_PICTURES_DIR="$work/pictures"
save_into home "$work/home-home"

# A shared pictures folder where someone planted links at the names the
# next saves would take (every second of the next two minutes): the save
# passes them over for the next free name and writes nothing through them.
mkdir -p "$work/shared" "$work/elsewhere"
now=$(date +%s)
for s in $(seq 0 120); do
    name="$work/shared/solvara-$(date -d "@$((now + s))" +%Y-%m-%d_%H-%M-%S)"
    ln -s "$work/elsewhere/$s.png" "$name.png"
    ln -s "$work/elsewhere/$s.pdf" "$name.pdf"
done
save_into shared "$work/shared" XDG_PICTURES_DIR="$work/shared"
[ -z "$(ls -A "$work/elsewhere")" ] || fail "Ctrl+S wrote through a planted link: $(ls "$work/elsewhere")"
[ "$(find "$work/shared" -type l | wc -l)" -eq 242 ] || fail "Ctrl+S replaced a planted link"
echo "Ctrl+S past planted links: ok"
