#!/usr/bin/python3
"""Stand-in FTP upload host for the sandbox, on 127.0.0.1 and a free port (pyftpdlib).

Prints "PORT <n>" once listening. Any user name and password log on; every user shares the folder
--root, where uploads land as the sites would receive them. Folders that a client changes into or
uploads into are created on the way, so any site's remote folder works. Exits by itself after
--lifetime seconds.
"""

import argparse
import os
import sys
import threading
import time

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler, TLS_FTPHandler
from pyftpdlib.servers import ThreadedFTPServer


class AnyUser(DummyAuthorizer):
    """Lets every user in, with full rights inside the one shared root."""

    def __init__(self, root):
        super().__init__()
        self.root = os.path.realpath(root)

    def validate_authentication(self, username, password, handler):
        return None

    def has_user(self, username):
        return True

    def get_home_dir(self, username):
        return self.root

    def has_perm(self, username, perm, path=None):
        return path is None or os.path.realpath(path).startswith(self.root)

    def get_perms(self, username):
        return "elradfmwMT"

    def get_msg_login(self, username):
        return "Sandbox FTP: logged on."

    def get_msg_quit(self, username):
        return "Sandbox FTP: bye."


class CreatingHandler(FTPHandler):
    """Creates missing folders inside the root instead of refusing them. With --sessions, writes
    one line per log-on ("N LOGIN user password"), per name listing ("N NLST folder") and per
    received file ("N STOR path"), paths relative to the root and N numbering the control
    connections: what a benchmark needs to repeat them."""

    sessions = None
    counter = 0
    lock = threading.Lock()

    def _note(self, event, value):
        if self.sessions is None:
            return
        with CreatingHandler.lock:
            if not hasattr(self, "_session"):
                CreatingHandler.counter += 1
                self._session = CreatingHandler.counter
            with open(self.sessions, "a", encoding="utf-8") as f:
                f.write("%d %s %s\n" % (self._session, event, value))

    def ftp_PASS(self, line):
        self._note("LOGIN", "%s %s" % (self.username, line))
        return super().ftp_PASS(line)

    def ftp_NLST(self, path):
        self._note("NLST", os.path.relpath(path, self.authorizer.root))
        return super().ftp_NLST(path)

    def on_file_received(self, file):
        self._note("STOR", os.path.relpath(file, self.authorizer.root))

    def _inside(self, path):
        return os.path.realpath(path).startswith(self.authorizer.root)

    def ftp_CWD(self, path):
        if self._inside(path):
            os.makedirs(path, exist_ok=True)
        return super().ftp_CWD(path)

    def ftp_STOR(self, file, mode="w"):
        folder = os.path.dirname(file)
        if self._inside(folder):
            os.makedirs(folder, exist_ok=True)
        return super().ftp_STOR(file, mode)


class SecureCreatingHandler(CreatingHandler, TLS_FTPHandler):
    """FTP over TLS: the log-on and every data connection must be protected."""

    tls_control_required = True
    tls_data_required = True


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--tls", nargs=2, metavar=("CERT", "KEY"))
    parser.add_argument("--lifetime", type=float, default=3600.0)
    parser.add_argument("--sessions")
    args = parser.parse_args()

    os.makedirs(args.root, exist_ok=True)
    handler = CreatingHandler
    if args.tls:
        handler = SecureCreatingHandler
        handler.certfile, handler.keyfile = args.tls
    handler.authorizer = AnyUser(args.root)
    CreatingHandler.sessions = args.sessions
    handler.banner = "Quillet sandbox FTP ready."
    handler.passive_ports = None
    server = ThreadedFTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, kwargs={"timeout": 0.5}, daemon=True).start()
    print("PORT %d" % server.address[1], flush=True)
    time.sleep(args.lifetime)
    sys.stdout.flush()
    os._exit(0)


if __name__ == "__main__":
    main()
