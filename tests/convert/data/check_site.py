"""Checks an exported site: every page parses with html5lib, tidy reports no error, and every
link between exported files (areas of image maps too) names a file that exists, and every
image map an image uses is in its page. Prints one line per problem and a
summary line "pages=N links=N empty=N"."""
import os
import subprocess
import sys

import html5lib

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
