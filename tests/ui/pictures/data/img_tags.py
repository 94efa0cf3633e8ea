"""Reads an exported page with html5lib and prints one line per image: its SRC, ALT, WIDTH and
HEIGHT, what the file holds (GIF, or JPEG with the first entry of its luminance quantisation
table, from which the encoder's quality follows), and the picture its link swaps in on
onMouseOver (or "-")."""
import os
import re
import sys

import html5lib
from PIL import Image

page = sys.argv[1]
folder = os.path.dirname(page)
with open(page, "rb") as f:
    tree = html5lib.HTMLParser(namespaceHTMLElements=False).parse(
        f.read(), transport_encoding="windows-1252")
parents = {child: parent for parent in tree.iter() for child in parent}
for img in tree.iter("img"):
    src = img.get("src")
    path = os.path.join(folder, src)
    if not os.path.isfile(path):
        kind = "missing"
    else:
        with Image.open(path) as picture:
            kind = picture.format
            if kind == "JPEG":
                kind += " q0=%d" % picture.quantization[0][0]
    over = "-"
    parent = parents.get(img)
    if parent is not None and parent.tag == "a" and parent.get("onmouseover"):
        found = re.search(r",'([^']*)'\)", parent.get("onmouseover"))
        over = found.group(1) if found else "?"
        if not os.path.isfile(os.path.join(folder, over)):
            over += " missing"
    print("img alt=%r width=%s height=%s %s over=%s" % (
        img.get("alt"), img.get("width"), img.get("height"), kind, over))
