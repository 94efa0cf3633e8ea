"""Checks every script of an exported site with node: the SCRIPT elements of each page, the
event handlers and the "javascript:" addresses pass `node --check`; then the SCRIPT elements
of each page run in order in node, with the browser's objects stood in for, and open no
window by themselves. Prints one line per problem and a summary line
"pages=N scripts=N handlers=N addresses=N opened=N"."""
import os
import subprocess
import sys
import tempfile

import html5lib

# What the pages' scripts find in a browser; `open` counts the windows opened.
PRELUDE = """
var OrvoT_opened = 0;
function open() { OrvoT_opened++; return { opener: null, close: function () {} }; }
var navigator = { appName: 'Node', appVersion: '5.0' };
var document = { images: {}, forms: [] };
var window = globalThis;
"""
EPILOGUE = "\nconsole.log('opened=' + OrvoT_opened);\n"


def node_check(text, work, problems, where):
    path = os.path.join(work, "check.js")
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)
    result = subprocess.run(["node", "--check", path], capture_output=True, text=True)
    if result.returncode != 0:
        message = result.stderr.strip().splitlines()
        problems.append(f"{where}: {message[-1] if message else 'fails'}: {text[:120]!r}")


def main():
    folder = sys.argv[1]
    problems = []
    pages = scripts = handlers = addresses = opened = 0
    with tempfile.TemporaryDirectory() as work:
        for name in sorted(os.listdir(folder)):
            if not name.endswith((".html", ".htm")):
                continue
            pages += 1
            with open(os.path.join(folder, name), "rb") as f:
                data = f.read()
            parser = html5lib.HTMLParser(namespaceHTMLElements=False)
            tree = parser.parse(data, transport_encoding="windows-1252")
            blocks = []
            for element in tree.iter():
                if element.tag == "script":
                    scripts += 1
                    blocks.append(element.text or "")
                    node_check(element.text or "", work, problems, f"{name} script")
                for key, value in element.attrib.items():
                    if key.lower().startswith("on"):
                        handlers += 1
                        node_check("function h(event) {\n" + value + "\n}\n", work, problems,
                                   f"{name} {key}")
                    elif key.lower() in ("href", "src") and value.lower().startswith(
                            "javascript:"):
                        addresses += 1
                        node_check(value[len("javascript:"):], work, problems,
                                   f"{name} {key}")
            if not blocks:
                continue
            path = os.path.join(work, "run.js")
            with open(path, "w", encoding="utf-8") as f:
                f.write(PRELUDE + "\n".join(blocks) + EPILOGUE)
            result = subprocess.run(["node", path], capture_output=True, text=True)
            if result.returncode != 0:
                problems.append(f"{name}: running its scripts fails: {result.stderr.strip()}")
                continue
            count = int(result.stdout.strip().split("=")[-1])
            opened += count
            if count:
                problems.append(f"{name}: its scripts open {count} window(s) by themselves")
    for problem in problems:
        print(problem)
    print(f"pages={pages} scripts={scripts} handlers={handlers} addresses={addresses} "
          f"opened={opened}")


main()
