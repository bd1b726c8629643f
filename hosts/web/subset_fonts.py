#!/usr/bin/python3
"""The fonts of the browser page: every character the programs can draw,
cut out of the faces the desktop draws with, as WOFF2 inside CSS @font-face
rules (base64), so that one HTML file carries its own fonts.

The characters come from the sources: every string and character literal of
the engine, the lessons and the programs, the printable ASCII a key script
or an entry field can put on the page, and the characters the face table
draws in place of others (the script l of the maths face).

  subset_fonts.py --root DIR --css OUT.css            the @font-face rules
  subset_fonts.py --root DIR --shell IN.html --html OUT.html
                                                      the page template with the
                                                      rules put in at its /*FONTS*/
Needs Debian's python3-fonttools and python3-brotli.
"""

import argparse
import base64
import io
import logging
import pathlib
import re
import subprocess
import sys

from fontTools import subset
from fontTools.ttLib import TTFont

SOURCE_FOLDERS = ("engine", "lessons_a", "lessons_b", "apps")

# One string or character literal of C++ (with an optional u8/u/U/L prefix),
# or a comment, which is skipped.
TOKEN = re.compile(
    r'//[^\n]*|/\*.*?\*/'
    r'|(?:u8|u|U|L)?R"([^(\s]*)\((.*?)\)\1"'
    r'|(?:u8|u|U|L)?"((?:[^"\\\n]|\\.)*)"'
    r"|(?:u8|u|U|L)?'((?:[^'\\\n]|\\.)*)'",
    re.S)
ESCAPE = re.compile(r"\\(u[0-9a-fA-F]{4}|U[0-9a-fA-F]{8}|x[0-9a-fA-F]+|[0-7]{1,3}|.)", re.S)
SIMPLE = {"n": "\n", "t": "\t", "r": "\r", "0": "\0", "a": "\a", "b": "\b", "f": "\f", "v": "\v"}


def unescape(text):
    def one(m):
        e = m.group(1)
        if e[0] in "uU":
            return chr(int(e[1:], 16))
        if e[0] == "x":
            value = int(e[1:], 16)
            return chr(value) if value < 0x80 else ""  # a byte of UTF-8 written out: not a character alone
        if e[0] in "01234567" and len(e) > 1:
            return chr(int(e, 8)) if int(e, 8) < 0x80 else ""
        return SIMPLE.get(e, e)
    return ESCAPE.sub(one, text)


def literal_characters(root):
    chars = set()
    for folder in SOURCE_FOLDERS:
        for path in sorted((root / folder).rglob("*")):
            if path.suffix not in (".cpp", ".h"):
                continue
            for m in TOKEN.finditer(path.read_text(encoding="utf-8")):
                if m.group(2) is not None:
                    chars.update(m.group(2))
                elif m.group(3) is not None:
                    chars.update(unescape(m.group(3)))
                elif m.group(4) is not None:
                    chars.update(unescape(m.group(4)))
    return chars


def string_value(token, text):
    """A string literal's text, or that of the constant the token names."""
    if token.startswith('"'):
        return token.strip('"')
    return re.search(r"%s\s*=\s*\"([^\"]*)\"" % token, text).group(1)


def face_table(root):
    """The face table's rows: asked name -> (family, drawn-from, drawn-as)."""
    text = (root / "engine/graphics/faces.cpp").read_text(encoding="utf-8")
    rows = {}
    for m in re.finditer(r'\{"([^"]*)",\s*("[^"]*"|\w+),\s*("[^"]*"|\w+),\s*[\d.]+f,\s*[\d.]+f,'
                         r"\s*(0|U'(?:[^'\\]|\\u[0-9a-fA-F]{4})'),\s*(0|U'(?:[^'\\]|\\u[0-9a-fA-F]{4})')\}", text):
        asked, family, _, frm, to = m.groups()
        family = string_value(family, text)
        char = lambda c: None if c == "0" else unescape(c[2:-1])
        rows[asked] = (family, char(frm), char(to))
    if not rows:
        sys.exit("subset_fonts.py: no face table found in engine/graphics/faces.cpp")
    return rows


def page_families(root):
    """The browser's names of the face table's families, and the styles (bold,
    italic) the pages draw each in: family -> (name, [(bold, italic), ...])."""
    text = (root / "engine/graphics/faces.cpp").read_text(encoding="utf-8")
    families = {}
    for m in re.finditer(r'\{("[^"]*"|\w+),\s*"([^"]*)",\s*(true|false)\}', text):
        family, name, italic = m.groups()
        family = string_value(family, text)
        italic = italic == "true"
        families[family] = (name, [(False, italic), (True, italic)])
    if not families:
        sys.exit("subset_fonts.py: no page families found in engine/graphics/faces.cpp")
    return families


def font_file(family, bold, italic):
    pattern = family + (":bold" if bold else ":regular") + (":italic" if italic else ":roman")
    out = subprocess.run(["fc-match", "-f", "%{file}\n%{family}", pattern],
                         capture_output=True, text=True, check=True).stdout.split("\n")
    if family not in out[1].split(","):
        sys.exit(f"subset_fonts.py: the font {family} is not installed (fc-match gives {out[1]})")
    return out[0]


def woff2(path, chars):
    options = subset.Options()
    options.flavor = "woff2"
    options.layout_features = ["kern"]
    options.name_IDs = [1, 2]
    options.notdef_outline = True
    options.hinting = False
    options.desubroutinize = True
    font = TTFont(path, recalcTimestamp=False)  # the same fonts make the same bytes
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=sorted(ord(c) for c in chars))
    subsetter.subset(font)
    out = io.BytesIO()
    font.flavor = "woff2"
    font.save(out)
    return out.getvalue()


def font_css(root):
    literals = literal_characters(root)
    printable = {chr(c) for c in range(0x20, 0x7F)}
    drawn = {c for c in literals | printable if c.isprintable()}
    rows = face_table(root)
    families = page_families(root)
    per_family = {}
    for asked, (family, frm, to) in rows.items():
        chars = set(drawn) if asked in ("", "ゴシック", "ｺﾞｼｯｸ") else set(printable)
        if frm is not None:
            chars.add(to)
        per_family.setdefault(family, set()).update(chars)
    rules = []
    for family, chars in per_family.items():
        if family not in families:
            sys.exit(f"subset_fonts.py: no browser name for the family {family}")
        name, styles = families[family]
        for bold, italic in styles:
            data = woff2(font_file(family, bold, italic), chars)
            rules.append(
                "@font-face{font-family:\"%s\";font-weight:%d;font-style:%s;font-display:block;"
                "src:url(data:font/woff2;base64,%s) format(\"woff2\")}"
                % (name, 700 if bold else 400, "italic" if italic else "normal", base64.b64encode(data).decode()))
    return "\n".join(rules) + "\n"


def write(path, text):
    path = pathlib.Path(path)
    path.parent.mkdir(parents=True, exist_ok=True)
    tmp = path.with_suffix(path.suffix + ".tmp")
    tmp.write_text(text, encoding="utf-8")
    tmp.replace(path)


def main():
    # fontTools names every table it drops (meta, FFTM); the pages need none of them.
    logging.getLogger("fontTools").setLevel(logging.ERROR)
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--root", required=True, type=pathlib.Path)
    parser.add_argument("--css")
    parser.add_argument("--shell")
    parser.add_argument("--html")
    args = parser.parse_args()
    css = font_css(args.root)
    if args.css:
        write(args.css, css)
    if args.shell:
        shell = pathlib.Path(args.shell).read_text(encoding="utf-8")
        if shell.count("/*FONTS*/") != 1:
            sys.exit(f"subset_fonts.py: {args.shell} has no single /*FONTS*/ slot")
        write(args.html, shell.replace("/*FONTS*/", css))


if __name__ == "__main__":
    main()
