#!/usr/bin/python3
"""A server on 127.0.0.1 that reads what a client sends first (say, a TLS client hello) and then
hangs up without a word. Prints "PORT <n>" once listening; exits by itself after --lifetime seconds.
"""

import argparse
import socket
import socketserver
import time

from peer_common import serve_for


class Handler(socketserver.BaseRequestHandler):
    def handle(self):
        self.request.settimeout(10)
        try:
            self.request.recv(65536)
        except OSError:
            pass
        time.sleep(0.05)
        self.request.close()


class Server(socketserver.ThreadingMixIn, socketserver.TCPServer):
    daemon_threads = True
    allow_reuse_address = True


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--lifetime", type=float, default=60.0)
    args = parser.parse_args()
    serve_for(Server(("127.0.0.1", 0), Handler), args.lifetime)


if __name__ == "__main__":
    main()
