"""A pyftpdlib server on 127.0.0.1 for the FTP session tests and benchmarks.

Prints the port it listens on, then serves until it is terminated or its standard input
closes (so it never outlives the test that started it). Run with /usr/bin/python3.
"""
import argparse
import os
import sys
import threading
import time

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.filesystems import AbstractedFS
from pyftpdlib.handlers import FTPHandler, ThrottledDTPHandler
from pyftpdlib.servers import FTPServer


class DosListingFS(AbstractedFS):
    """Lists folders in the style of Windows servers: "01-15-24  03:45PM  <DIR>  name"."""

    def format_list(self, basedir, listing, ignore_err=True):
        for basename in listing:
            path = os.path.join(basedir, basename)
            try:
                st = self.lstat(path)
            except OSError:
                if ignore_err:
                    continue
                raise
            stamp = time.strftime("%m-%d-%y  %I:%M%p", time.localtime(st.st_mtime))
            if os.path.isdir(path):
                middle = "%-20s" % "<DIR>"
            else:
                middle = "%20d" % st.st_size
            line = "%s %s %s\r\n" % (stamp, middle, basename)
            yield line.encode("utf8", self.cmd_channel.unicode_errors)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--user", default="orvo")
    parser.add_argument("--password", default="segreto")
    parser.add_argument("--readonly", action="append", default=[],
                        help="a folder below the root where the user may only read")
    parser.add_argument("--dos-listing", action="store_true")
    parser.add_argument("--banner", default=None)
    parser.add_argument("--received-log", default=None,
                        help="a file where every file received whole is logged: its path below "
                             "the root, a tab, its size")
    parser.add_argument("--upload-limit", type=int, default=0,
                        help="bytes per second the server reads of an upload (0: no limit)")
    args = parser.parse_args()

    authorizer = DummyAuthorizer()
    authorizer.add_user(args.user, args.password, args.root, perm="elradfmwMT")
    for folder in args.readonly:
        authorizer.override_perm(args.user, os.path.join(args.root, folder), perm="elr",
                                 recursive=True)

    root = os.path.realpath(args.root)

    class Handler(FTPHandler):
        def on_file_received(self, file):
            if not args.received_log:
                return
            name = os.path.relpath(os.path.realpath(file), root)
            with open(args.received_log, "a", encoding="utf8") as log:
                log.write("%s\t%d\n" % (name, os.path.getsize(file)))

    Handler.authorizer = authorizer
    Handler.permit_foreign_addresses = False
    if args.banner:
        Handler.banner = args.banner
    if args.dos_listing:
        Handler.abstracted_fs = DosListingFS
    if args.upload_limit > 0:
        class Throttled(ThrottledDTPHandler):
            read_limit = args.upload_limit
        Handler.dtp_handler = Throttled

    server = FTPServer(("127.0.0.1", 0), Handler)
    server.max_cons = 64
    sys.stdout.write("%d\n" % server.address[1])
    sys.stdout.flush()

    def watch_stdin():
        sys.stdin.read()
        os._exit(0)

    threading.Thread(target=watch_stdin, daemon=True).start()
    import logging
    logging.basicConfig(level=logging.CRITICAL)
    server.serve_forever(timeout=0.5)


if __name__ == "__main__":
    main()
