"""Checks an exported site: every page parses with html5lib without a parse error, tidy reports
no error, and every
link between exported files (areas of image maps too) names a file that exists, and every
image map an image uses is in its page. Prints one line per problem and a
summary line "pages=N links=N empty=N".

The pages carry no DOCTYPE, and a few constructs of the page format are errors to an HTML5
reader by design; each is accepted only where it stands in the page:
- a numbered paragraph's private number marker ("<!lisnum>1. <!/lisnum>"), read as a bogus
  comment, and the "</LI>" that closes that paragraph just before its "</DIV>";
- the "</EMBED>" that closes a player opened by an "<EMBED" earlier in the same paragraph;
- the last form of a page, left open before "</BODY>"."""
import os
import subprocess
import sys

import html5lib


def accepted(text, offset, code, data):
    """Whether the parse error `code` that html5lib reports just before `offset` of `text`
    is one the page format requires."""
    before = text[:offset]
    paragraph = before[before.rfind("<DIV"):]
    if code == "expected-doctype-but-got-start-tag":
        return before.lstrip().upper() == "<HTML>"
    if code == "expected-dashes-or-doctype":
        return text.startswith(("<!lisnum>", "<!/lisnum>"), offset - 2)
    if code == "unexpected-end-tag" and data.get("name") == "li":
        return (before.endswith("</LI>") and text.startswith("</DIV>", offset)
                and paragraph.count("<!lisnum>") == 1 and "<LI>" not in paragraph)
    if code == "unexpected-end-tag" and data.get("name") == "embed":
        return before.endswith("</EMBED>") and "<EMBED " in paragraph
    if code == "expected-one-end-tag-but-got-another":
        return (data == {"gotName": "body", "expectedName": "form"}
                and before.endswith("</BODY>")
                and before.count("<FORM ") == before.count("</FORM>") + 1)
    return False


def offset_of(lines, line, column):
    return sum(len(text) + 1 for text in lines[:line - 1]) + column


folder = sys.argv[1]
problems = []
pages = links = empty = 0
for name in sorted(os.listdir(folder)):
    if not name.endswith((".html", ".htm")):
        continue
    pages += 1
    path = os.path.join(folder, name)
    with open(path, "rb") as f:
        data = f.read()
    parser = html5lib.HTMLParser(namespaceHTMLElements=False)
    tree = parser.parse(data, transport_encoding="windows-1252")
    text = data.decode("windows-1252", errors="replace").replace("\r\n", "\n")
    lines = text.split("\n")
    for (line, column), code, details in parser.errors:
        if not accepted(text, offset_of(lines, line, column), code, details or {}):
            problems.append(f"{name}: html5lib {code} {details} at {line}:{column}")
    if tree.find("body") is None:
        problems.append(f"{name}: no body")
    for element in tree.iter():
        for attribute in ("href", "src", "background"):
            target = element.get(attribute)
            if target is None:
                continue
            if target == "":
                empty += 1
                continue
            if ":" in target or target.startswith("#"):
                continue
            links += 1
            if not os.path.exists(os.path.join(folder, target.split("#")[0])):
                problems.append(f"{name}: {target} does not exist")
    maps = {m.get("name") for m in tree.iter("map")}
    for image in tree.iter("img"):
        usemap = image.get("usemap")
        if usemap is not None and usemap.lstrip("#") not in maps:
            problems.append(f"{name}: usemap {usemap} names no map")
    tidy = subprocess.run(["tidy", "-q", "-e", path], capture_output=True, text=True,
                          encoding="latin-1")
    for line in tidy.stderr.splitlines():
        if "Error:" in line:
            problems.append(f"{name}: tidy {line}")
for problem in problems:
    print(problem)
print(f"pages={pages} links={links} empty={empty}")
