#!/usr/bin/python3
"""One program's browser file: the page (the shell with its fonts), the
WebAssembly gzip-compressed and base64-encoded in an element of its own, and
the program's script inline.

  pack.py --shell SHELL.html --js NAME.js --wasm NAME.wasm --html NAME.html [--app HEAD.html]

--app puts the head lines of the web app (its manifest, icons, service
worker) into the page's {{{ APP }}} line; without it the line goes.

The page's script (hosts/web/page/, inside NAME.js) reads the element back,
inflates it and instantiates the program. Python's standard library only.
"""

import argparse
import base64
import gzip
import pathlib
import re
import sys

SLOT = "{{{ SCRIPT }}}"
APP_SLOT = "{{{ APP }}}\n"
WASM_ELEMENT = "lesson-wasm"  # the id hosts/web/page/bridge.js reads the program from


def fail(message):
    sys.exit(f"pack.py: {message}")


def ascii_script(script):
    """The script with every character beyond ASCII (in its strings, regular
    expressions and comments) written as \\u escapes of its UTF-16 units."""
    def escaped(m):
        units = m.group(0).encode("utf-16-le")
        return "".join("\\u%02x%02x" % (units[i + 1], units[i]) for i in range(0, len(units), 2))
    return re.sub(r"[^\x00-\x7f]", escaped, script)


def checked_script(script):
    """The script as the page holds it: in ASCII, and with nothing that would
    end an inline script early."""
    # Inline, the script ends at the first "</script" the parser meets,
    # wherever it stands (a string, a comment); the rest would be shown as text.
    end = re.search(r"</script", script, re.I)
    if end:
        line = script.count("\n", 0, end.start()) + 1
        fail(f"the script holds '{end.group(0)}' (line {line}), which would end it inside the page")
    if "<!--" in script:
        fail("the script holds '<!--', which changes how the page parses its end")
    # The page in ASCII alone: the browser decodes it several times faster than
    # UTF-8 with a single character beyond ASCII in it.
    return ascii_script(script)


def page_with(shell, body, app):
    if shell.count(SLOT) != 1:
        fail(f"the page has no single {SLOT} slot")
    if app and shell.count(APP_SLOT) != 1:
        fail(f"the page has no single {APP_SLOT.strip()} line for the web app's head")
    html = shell.replace(APP_SLOT, app).replace(SLOT, body)
    beyond = re.search(r"[^\x00-\x7f]", html)
    if beyond:
        line = html.count("\n", 0, beyond.start()) + 1
        fail(f"the page holds {beyond.group(0)!r} (line {line}): write it as an escape, the page is kept in ASCII")
    return html


def check_wasm(wasm):
    if wasm[:4] != b"\0asm":
        fail("the WebAssembly file does not begin with its magic number")


def pack_parts(shell, program, app=""):
    """A program's page that fetches its parts beside it (the site): the
    script as PROGRAM.js, which the browser compiles as it arrives, and the
    WebAssembly as PROGRAM.wasm, compiled as it streams in."""
    body = (f'<script id="{WASM_ELEMENT}" type="application/wasm" data-src="{program}.wasm"></script>\n'
            f'<script src="{program}.js"></script>')
    return page_with(shell, body, app)


def pack(shell, script, wasm, app=""):
    check_wasm(wasm)
    script = checked_script(script)
    # mtime 0: the same program packs into the same bytes.
    packed = base64.b64encode(gzip.compress(wasm, compresslevel=9, mtime=0)).decode("ascii")
    body = (f'<script id="{WASM_ELEMENT}" type="application/octet-stream">{packed}</script>\n'
            f"<script>\n{script}\n</script>")
    return page_with(shell, body, app)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    for name in ("shell", "js", "wasm", "html"):
        parser.add_argument("--" + name, required=True, type=pathlib.Path)
    parser.add_argument("--app", type=pathlib.Path)
    args = parser.parse_args()
    html = pack(args.shell.read_text(encoding="utf-8"), args.js.read_text(encoding="utf-8"),
                args.wasm.read_bytes(), args.app.read_text(encoding="utf-8") if args.app else "")
    # Written whole or not at all: a build stopped half-way leaves no half file.
    tmp = args.html.with_suffix(args.html.suffix + ".tmp")
    tmp.write_text(html, encoding="utf-8")
    tmp.replace(args.html)


if __name__ == "__main__":
    main()
