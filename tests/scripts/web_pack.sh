#!/usr/bin/env bash
# The browser file's packer: the program's WebAssembly comes back whole from
# the page, the page is ASCII, and a script that would end its own element
# early ("</script" anywhere in it) is refused by line, with no page written.
set -u
source "$(dirname "$0")/lib.bash"
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

printf '<html><body>\n{{{ SCRIPT }}}\n</body></html>\n' >"$work/shell.html"
head -c 70000 /dev/urandom | { printf '\0asm\1\0\0\0'; cat; } >"$work/program.wasm"
printf 'var label = "\xe2\x8c\xab";\nvar ok = 1;\n' >"$work/good.js"
/usr/bin/python3 "$root/hosts/web/pack.py" --shell "$work/shell.html" --js "$work/good.js" \
    --wasm "$work/program.wasm" --html "$work/page.html" || fail "a sound script was refused"
/usr/bin/python3 - "$work/page.html" "$work/program.wasm" <<'PY' || fail "the packed page is not what went in"
import base64, gzip, re, sys
page = open(sys.argv[1], "rb").read()
assert max(page) < 0x80, "the page is not ASCII"
packed = re.search(rb'<script id="lesson-wasm" type="application/octet-stream">([^<]*)</script>', page).group(1)
assert gzip.decompress(base64.b64decode(packed)) == open(sys.argv[2], "rb").read(), "the WebAssembly differs"
assert b'var label = "\\u232b";' in page, "the script's character is not escaped"
PY

printf 'var a = 1;\nvar b = "</SCRIPT>";\n' >"$work/bad.js"
if /usr/bin/python3 "$root/hosts/web/pack.py" --shell "$work/shell.html" --js "$work/bad.js" \
    --wasm "$work/program.wasm" --html "$work/bad.html" 2>"$work/err"; then
    fail "a script holding </SCRIPT> was packed"
fi
grep -q "line 2" "$work/err" || fail "the refusal does not name the line: $(cat "$work/err")"
[ ! -e "$work/bad.html" ] && [ ! -e "$work/bad.html.tmp" ] || fail "a refused page was written"
echo "web_pack: ok"
