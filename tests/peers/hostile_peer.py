#!/usr/bin/python3
"""A hostile server on 127.0.0.1 for the tests and the benchmark of bounded memory and time.

--mode picks what it does to every client:
  ftp-endless-reply   an FTP greeting "220-..." whose closing line never comes
  ftp-endless-list    logs anyone on, then answers NLST/LIST with an endless listing
  ftp-refuse-tls      refuses AUTH TLS (then answers everything with 530)
  ftp-silent          accepts the connection and never says a word
  smtp-endless        an SMTP greeting "220-..." whose closing line never comes
  smtp-no-quit        takes a mail (250 after DATA) and never answers QUIT
  smtp-no-starttls    offers AUTH PLAIN but no STARTTLS, and takes any log-in
  http-endless        "HTTP/1.0 200 OK" and a body without end, as fast as it goes
  trickle             one byte a second of a reply that never ends (FTP/SMTP/HTTP alike)
Every line a client sends is appended to --log (when given). Prints "PORT <n>" once listening;
exits by itself after --lifetime seconds.
"""

import argparse
import socket
import socketserver
import threading
import time

from peer_common import serve_for

ARGS = None
LOG_LOCK = threading.Lock()


def log(line):
    if ARGS.log:
        with LOG_LOCK, open(ARGS.log, "ab") as f:
            f.write(line + b"\n")


class Handler(socketserver.StreamRequestHandler):
    def send(self, data):
        self.wfile.write(data)
        self.wfile.flush()

    def lines(self):
        for line in self.rfile:
            line = line.rstrip(b"\r\n")
            log(line)
            yield line

    def endless(self, prefix):
        filler = b"x" * 70
        while True:
            self.send((prefix + filler + b"\r\n") * 64)

    def handle(self):
        try:
            getattr(self, ARGS.mode.replace("-", "_"))()
        except (OSError, ValueError):
            pass

    def ftp_endless_reply(self):
        self.endless(b"220-")

    def smtp_endless(self):
        self.endless(b"220-")

    def ftp_silent(self):
        time.sleep(ARGS.lifetime)

    def trickle(self):
        while True:
            self.send(b"x")
            time.sleep(1)

    def http_endless(self):
        self.send(b"HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n")
        block = b"y" * 65536
        while True:
            self.send(block)

    def ftp_refuse_tls(self):
        self.send(b"220 hostile\r\n")
        for line in self.lines():
            if line.upper().startswith(b"AUTH"):
                self.send(b"534 No TLS here\r\n")
            elif line.upper().startswith(b"QUIT"):
                self.send(b"221 Bye\r\n")
                return
            else:
                self.send(b"530 Not logged in\r\n")

    def ftp_endless_list(self):
        self.send(b"220 hostile\r\n")
        data_address = None
        for line in self.lines():
            verb = line.split(b" ")[0].upper()
            if verb == b"USER":
                self.send(b"331 Password\r\n")
            elif verb == b"PASS":
                self.send(b"230 Logged on\r\n")
            elif verb == b"PWD":
                self.send(b'257 "/" is the folder\r\n')
            elif verb == b"PORT":
                parts = [int(p) for p in line.split(b" ")[1].split(b",")]
                data_address = ("%d.%d.%d.%d" % tuple(parts[:4]), parts[4] * 256 + parts[5])
                self.send(b"200 PORT taken\r\n")
            elif verb in (b"NLST", b"LIST") and data_address:
                self.send(b"150 Here it comes\r\n")
                with socket.create_connection(data_address) as data:
                    entry = b"file-with-a-long-name-%06d.zip\r\n" * 2048
                    while True:
                        data.sendall(entry)
            elif verb == b"QUIT":
                self.send(b"221 Bye\r\n")
                return
            else:
                self.send(b"200 OK\r\n")

    def smtp_conversation(self, ehlo_reply, quit_reply):
        self.send(b"220 hostile ESMTP\r\n")
        in_data = False
        for line in self.lines():
            if in_data:
                if line == b".":
                    in_data = False
                    self.send(b"250 Taken\r\n")
                continue
            verb = line.split(b" ")[0].upper()
            if verb == b"EHLO":
                self.send(ehlo_reply)
            elif verb == b"DATA":
                in_data = True
                self.send(b"354 Go on\r\n")
            elif verb == b"QUIT":
                if quit_reply:
                    self.send(quit_reply)
                    return
                time.sleep(ARGS.lifetime)
            elif verb == b"AUTH":
                self.send(b"235 Welcome\r\n")
            else:
                self.send(b"250 OK\r\n")

    def smtp_no_quit(self):
        self.smtp_conversation(b"250 hostile\r\n", None)

    def smtp_no_starttls(self):
        self.smtp_conversation(b"250-hostile\r\n250 AUTH PLAIN LOGIN\r\n", b"221 Bye\r\n")


class Server(socketserver.ThreadingMixIn, socketserver.TCPServer):
    daemon_threads = True
    allow_reuse_address = True


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--mode", required=True)
    parser.add_argument("--log")
    parser.add_argument("--lifetime", type=float, default=60.0)
    ARGS = parser.parse_args()
    serve_for(Server(("127.0.0.1", 0), Handler), ARGS.lifetime)


if __name__ == "__main__":
    main()
