"""Submits the first form of an exported page the way a browser does, to a local HTTP server
this script starts and stops: the page is read with html5lib, the form's successful controls
(text, password, file and hidden inputs, checked boxes and radio buttons, selected options,
text areas, the first submit button) are encoded as the form's method and encoding say and
sent to the server at the path of the form's address. Prints the method, the path and
each name and value the server received, one a line."""
import sys
import threading
import urllib.parse
import urllib.request
from http.server import BaseHTTPRequestHandler, HTTPServer

import html5lib

received = []


class Handler(BaseHTTPRequestHandler):
    def do_POST(self):
        length = int(self.headers.get("Content-Length", "0"))
        body = self.rfile.read(length).decode("windows-1252")
        received.append(("POST", urllib.parse.urlsplit(self.path).path,
                         urllib.parse.parse_qsl(body, keep_blank_values=True,
                                                encoding="windows-1252")))
        self.answer()

    def do_GET(self):
        parts = urllib.parse.urlsplit(self.path)
        received.append(("GET", parts.path,
                         urllib.parse.parse_qsl(parts.query, keep_blank_values=True,
                                                encoding="windows-1252")))
        self.answer()

    def answer(self):
        self.send_response(200)
        self.send_header("Content-Length", "2")
        self.end_headers()
        self.wfile.write(b"ok")

    def log_message(self, *args):
        pass


def fields(form):
    out = []
    submitted = False
    for element in form.iter():
        tag = element.tag
        name = element.get("name")
        if tag == "input":
            kind = (element.get("type") or "text").lower()
            if kind in ("text", "password", "hidden", "file"):
                if name:
                    out.append((name, "" if kind == "file" else element.get("value", "")))
            elif kind in ("checkbox", "radio"):
                if name and element.get("checked") is not None:
                    out.append((name, element.get("value", "on")))
            elif kind == "submit" and not submitted:
                submitted = True
                if name:
                    out.append((name, element.get("value", "")))
        elif tag == "textarea" and name:
            text = element.text or ""
            if text.startswith("\n"):
                text = text[1:]
            out.append((name, text.replace("\r\n", "\n").replace("\n", "\r\n")))
        elif tag == "select" and name:
            options = list(element.iter("option"))
            chosen = [o for o in options if o.get("selected") is not None]
            if not chosen and options and element.get("multiple") is None and \
                    int(element.get("size") or "1") <= 1:
                chosen = options[:1]
            for option in chosen:
                value = option.get("value")
                out.append((name, value if value is not None else (option.text or "").strip()))
    return out


def main():
    with open(sys.argv[1], "rb") as f:
        tree = html5lib.HTMLParser(namespaceHTMLElements=False).parse(
            f.read(), transport_encoding="windows-1252")
    form = next(tree.iter("form"))
    method = (form.get("method") or "GET").upper()
    path = urllib.parse.urlsplit(form.get("action") or "/").path or "/"
    body = urllib.parse.urlencode(fields(form), encoding="windows-1252")
    server = HTTPServer(("127.0.0.1", 0), Handler)
    thread = threading.Thread(target=server.serve_forever)
    thread.start()
    try:
        address = f"http://127.0.0.1:{server.server_port}{path}"
        if method == "POST":
            request = urllib.request.Request(address, data=body.encode("ascii"), headers={
                "Content-Type": "application/x-www-form-urlencoded"})
        else:
            request = urllib.request.Request(address + "?" + body)
        urllib.request.urlopen(request, timeout=10).read()
    finally:
        server.shutdown()
        thread.join()
        server.server_close()
    for method, path, pairs in received:
        print(method, path)
        for name, value in pairs:
            print(f"{name!r}={value!r}")


main()
