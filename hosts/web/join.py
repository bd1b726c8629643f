#!/usr/bin/python3
"""The page's script: its ES modules (hosts/web/page/) joined into the one
script emcc takes as --pre-js, which runs as a classic script inside the
program's own.

  join.py --main page/main.js --js OUT.js

Each module becomes a function of its own, run once, before those that
import it, and returning what it exports; an import takes the names from
that, one declaration each. The modules keep to the forms it reads: `import { a, b } from './m.js';`
on one line, and `export function`, `export const`, `export let` or
`export class` in front of a declaration; no declaration takes names
out of an object (`const { a } = b`), which emcc's optimiser drops. Python's standard library only.
"""

import argparse
import pathlib
import re
import sys

IMPORT = re.compile(r"^import \{([\w\s,]+)\} from '\./([\w-]+\.js)';\s*$")
EXPORT = re.compile(r"^export (?:async )?(?:function\*?|const|let|class) ([\w$]+)")


def fail(message):
    sys.exit(f"join.py: {message}")


def var_of(name):
    return "module_" + re.sub(r"\W", "_", name)


def read(path, done, order, chain):
    """Reads path and every module it imports, in order: each after those it imports."""
    name = path.name
    if name in done:
        return
    if name in chain:
        fail(f"{' -> '.join(chain + [name])}: modules that import each other")
    lines, exports, imported = [], [], []
    for number, line in enumerate(path.read_text(encoding="utf-8").split("\n"), 1):
        m = IMPORT.match(line)
        if m:
            names = [n.strip() for n in m.group(1).split(",") if n.strip()]
            imported.append(m.group(2))
            # One name a declaration: emcc's optimiser drops a destructuring one.
            lines.append(" ".join(f"const {n} = {var_of(m.group(2))}.{n};" for n in names))
            continue
        m = EXPORT.match(line)
        if m:
            exports.append(m.group(1))
            line = line[len("export "):]
            if line.startswith(("const ", "let ")) and re.search(r",\s*[\w$]+\s*=", line):
                fail(f"{name}:{number}: one name to an export")
        elif re.match(r"^\s*(const|let|var) \{", line):
            # emcc's optimiser drops such a declaration, and the names with it.
            fail(f"{name}:{number}: a destructuring declaration of an object: {line.strip()}")
        elif re.match(r"^\s*(import|export)\b", line):
            fail(f"{name}:{number}: a form of import or export this joiner does not read: {line.strip()}")
        lines.append(line)
    for other in imported:
        target = path.parent / other
        if not target.is_file():
            fail(f"{name} imports {other}, which is not there")
        read(target, done, order, chain + [name])
    done.add(name)
    order.append((name, lines, exports))


def join(main):
    done, order = set(), []
    read(main, done, order, [])
    out = ["// The page's script, joined from its modules (hosts/web/page/) by hosts/web/join.py.",
           "(function () {", "'use strict';"]
    for name, lines, exports in order:
        out.append(f"// {name}")
        if name == main.name:
            out += ["(function () {", *lines, "})();"]
        else:
            out += [f"const {var_of(name)} = (function () {{", *lines,
                    f"return {{ {', '.join(exports)} }};", "})();"]
    out.append("})();")
    return "\n".join(out) + "\n"


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--main", required=True, type=pathlib.Path)
    parser.add_argument("--js", required=True, type=pathlib.Path)
    args = parser.parse_args()
    script = join(args.main)
    # Written whole or not at all: a build stopped half-way leaves no half file.
    args.js.parent.mkdir(parents=True, exist_ok=True)
    tmp = args.js.with_suffix(args.js.suffix + ".tmp")
    tmp.write_text(script, encoding="utf-8")
    tmp.replace(args.js)


if __name__ == "__main__":
    main()
