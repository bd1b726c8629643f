#!/usr/bin/python3
"""The site: both programs as installable web apps in one folder, for any
static web server.

  site.py --tree BUILD-WEB/tree --icons LESSON_ICONS --out DIR
      DIR/index.html (the start page), DIR/solvara.html and DIR/ratiora.html
      (each program's page with the head lines of its web app; its parts
      beside it, which the browser fetches at once and compiles as they
      arrive: PROGRAM.js, PROGRAM.wasm and the fonts both programs share in
      DIR/fonts/), their manifests, DIR/icons/ (drawn by LESSON_ICONS, the
      desktop icons' program) and DIR/sw.js (the service worker, sealed over
      all of them). DIR is replaced whole, or left as it was.
  site.py --seal DIR
      DIR/sw.js written again over the files DIR holds now.

Python's standard library only.
"""

import argparse
import base64
import hashlib
import json
import pathlib
import re
import shutil
import subprocess
import sys

import pack

HERE = pathlib.Path(__file__).resolve().parent
SITE = HERE / "site"
PROGRAMS = ("solvara", "ratiora")
WORKER = "sw.js"
# The script's first line: Chromium then compiles all of it as it streams in,
# off the page's thread, where otherwise each function is compiled there when
# it is first called, while the program opens. Every other browser reads a
# comment. (The single page's script is inline, and is not streamed: there it
# would change nothing.)
EAGER = "//# allFunctionsCalledOnLoad\n"


def fail(message):
    sys.exit(f"site.py: {message}")


def png_size(path):
    data = path.read_bytes()[:24]
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        fail(f"{path} is not a PNG")
    return int.from_bytes(data[16:20], "big"), int.from_bytes(data[20:24], "big")


def app_head(program, manifest):
    head = (SITE / "app-head.html").read_text(encoding="utf-8")
    for slot, value in (("PROGRAM", program), ("NAME", manifest["short_name"]), ("THEME", manifest["theme_color"])):
        head = head.replace("{{{ %s }}}" % slot, value)
    return head


def check_manifest(out, program, manifest):
    """Every icon the manifest names is in the folder at its size."""
    if manifest["start_url"] != f"./{program}.html":
        fail(f"{program}.webmanifest does not start at {program}.html")
    for icon in manifest["icons"]:
        path = out / icon["src"]
        if not path.is_file():
            fail(f"{program}.webmanifest names {icon['src']}, which the folder has not")
        width, height = png_size(path)
        if icon["sizes"] != f"{width}x{height}":
            fail(f"{icon['src']} is {width}x{height}, not the {icon['sizes']} its manifest says")


def seal(out):
    """The service worker over the files of the folder: each one's SHA-256,
    and the build named by them and by the worker's own code."""
    files = {}
    for path in sorted(p for p in out.rglob("*") if p.is_file()):
        name = path.relative_to(out).as_posix()
        if name != WORKER:
            files[name] = hashlib.sha256(path.read_bytes()).hexdigest()
    if "index.html" not in files:
        fail(f"{out} has no index.html")
    code = (SITE / WORKER).read_text(encoding="utf-8")
    listed = json.dumps(files, indent=2)
    build = hashlib.sha256((code + listed).encode("utf-8")).hexdigest()[:16]
    worker = code.replace("{{{ BUILD }}}", build).replace("{{{ FILES }}}", listed)
    (out / WORKER).write_text(worker, encoding="utf-8")
    return build


FONT_DATA = re.compile(r'url\(data:font/woff2;base64,([A-Za-z0-9+/=]+)\)')


def fonts_apart(shell, out):
    """The page's fonts as files of their own in out/fonts/, named by their
    content (both programs share them), each rule of the page pointing at its file."""
    (out / "fonts").mkdir(exist_ok=True)

    def apart(m):
        data = base64.b64decode(m.group(1))
        name = "fonts/" + hashlib.sha256(data).hexdigest()[:16] + ".woff2"
        (out / name).write_bytes(data)
        return f"url({name})"
    shell, count = FONT_DATA.subn(apart, shell)
    if count == 0:
        fail("the page holds no font to put apart")
    # Asked for with the page's first lines, beside the program's parts, not
    # only once the script names its faces.
    names = sorted(set(re.findall(r"url\((fonts/[0-9a-f]+\.woff2)\)", shell)))
    preloads = "".join(f'<link rel="preload" href="{n}" as="font" type="font/woff2" crossorigin>\n' for n in names)
    head = '<meta charset="utf-8">\n'
    if shell.count(head) != 1:
        fail("the page has no single charset line to put the fonts' preloads after")
    return shell.replace(head, head + preloads)


def wasm_first(shell, program):
    """The page's first script, right after its charset: the program's
    WebAssembly asked for and compiled as it streams in, from then on, while
    the rest of the page and its script arrive. (A preload link would ask for
    it no sooner, and WebKit downloads a preloaded file again when a script
    fetches it.)"""
    head = '<meta charset="utf-8">\n'
    script = ("<script>\nif (WebAssembly.compileStreaming) window.lessonCompiled = "
              f"WebAssembly.compileStreaming(fetch('{program}.wasm'));\n</script>\n")
    return shell.replace(head, head + script, 1)


def build(tree, icons, out):
    new = out.with_name(out.name + ".new")
    shutil.rmtree(new, ignore_errors=True)
    new.mkdir(parents=True)
    shutil.copyfile(SITE / "index.html", new / "index.html")
    result = subprocess.run([str(icons), "--web", str(new / "icons")])
    if result.returncode != 0:
        fail(f"{icons} could not draw the icons")
    shell = fonts_apart((tree / "web" / "shell.html").read_text(encoding="utf-8"), new)
    for program in PROGRAMS:
        source = SITE / f"{program}.webmanifest"
        manifest = json.loads(source.read_text(encoding="utf-8"))
        shutil.copyfile(source, new / source.name)
        check_manifest(new, program, manifest)
        wasm = (tree / f"{program}.wasm").read_bytes()
        pack.check_wasm(wasm)
        (new / f"{program}.wasm").write_bytes(wasm)
        script = pack.checked_script((tree / f"{program}.js").read_text(encoding="utf-8"))
        (new / f"{program}.js").write_text(EAGER + script, encoding="ascii")
        html = pack.pack_parts(wasm_first(shell, program), program, app_head(program, manifest))
        (new / f"{program}.html").write_text(html, encoding="utf-8")
    name = seal(new)
    # The folder replaced whole: a build stopped half-way leaves the last one.
    old = out.with_name(out.name + ".old")
    shutil.rmtree(old, ignore_errors=True)
    if out.exists():
        out.rename(old)
    new.rename(out)
    shutil.rmtree(old, ignore_errors=True)
    return name


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--tree", type=pathlib.Path)
    parser.add_argument("--icons", type=pathlib.Path)
    parser.add_argument("--out", type=pathlib.Path)
    parser.add_argument("--seal", type=pathlib.Path)
    args = parser.parse_args()
    if args.seal:
        seal(args.seal)
    elif args.tree and args.icons and args.out:
        build(args.tree, args.icons, args.out)
    else:
        parser.error("give --tree, --icons and --out, or --seal")


if __name__ == "__main__":
    main()
