#!/usr/bin/python3
"""Recording HTTP/1.0 server for tests, on 127.0.0.1 and a free port.

Prints "PORT <n>" once listening. Every request is saved byte for byte (request line, headers as
received, body read by Content-Length) as DIR/0001.req, 0002.req, ... in arrival order, completely
written before the answer goes out. The answer is "HTTP/1.0 " + STATUS with a small body, then the
connection is closed. Exits by itself after --lifetime seconds.

  --record DIR           where requests are saved (required)
  --status "200 OK"      status of every answer
  --route PATH=STATUS    status for that exact path (query ignored); repeatable
  --silent PATH          close without answering for that exact path; repeatable
  --stall SECONDS        wait that long before answering
  --hang PATH            read the request for that exact path and never answer; repeatable
  --endless PATH         answer that exact path with a body that never ends; repeatable
  --tls CERT KEY         speak HTTPS with that certificate and key (PEM files)
  --extra-headers N      N more header lines in every answer ("X-Extra-1: 1" ...)
  --serve PATH=FILE      answer that exact path with 200 and the bytes of FILE; repeatable
  --redirect PATH=URL    answer that exact path with 302 and "Location: URL"; repeatable
  --lifetime SECONDS     stop after that long (default 120)
"""

import argparse
import http.server
import socketserver
import ssl
import sys
import time

from peer_common import RequestFiles, serve_for


class Recorder:
    """Wraps the request stream and keeps every byte read from it."""

    def __init__(self, stream):
        self.stream = stream
        self.data = bytearray()

    def readline(self, *args):
        line = self.stream.readline(*args)
        self.data += line
        return line

    def read(self, *args):
        chunk = self.stream.read(*args)
        self.data += chunk
        return chunk

    def __getattr__(self, name):
        return getattr(self.stream, name)


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"
    config = None
    requests = None

    def setup(self):
        if self.config.tls:
            # The handshake runs here, in the connection's own thread; a client that refuses
            # the certificate only ends its own connection.
            try:
                self.request.do_handshake()
            except (OSError, ssl.SSLError) as error:
                sys.stderr.write("http_peer: handshake failed: %s\n" % error)
                raise
        super().setup()
        self.recorder = Recorder(self.rfile)
        self.rfile = self.recorder

    def log_message(self, fmt, *args):
        sys.stderr.write("http_peer: " + (fmt % args) + "\n")

    # Any method: GET, POST, HEAD or whatever the client sends.
    def __getattr__(self, name):
        if name.startswith("do_"):
            return self.answer
        raise AttributeError(name)

    def answer(self):
        length = self.headers.get("Content-Length")
        if length is not None:
            try:
                remaining = int(length)
            except ValueError:
                remaining = 0
            while remaining > 0:
                chunk = self.rfile.read(min(remaining, 1 << 20))
                if not chunk:
                    break
                remaining -= len(chunk)
        self.requests.save(bytes(self.recorder.data))

        path = self.path.split("?", 1)[0]
        if path in self.config.silent:
            self.close_connection = True
            return
        if path in self.config.hang:
            # Daemon thread: the process ends it when its lifetime is up.
            while True:
                time.sleep(60)
        if path in self.config.endless:
            self.stream_forever()
            return
        if self.config.stall > 0:
            time.sleep(self.config.stall)
        status = self.config.routes.get(path, self.config.status)
        body = ("<html><body>%s</body></html>\r\n" % status).encode("latin-1")
        extra = "".join("X-Extra-%d: %d\r\n" % (i, i) for i in range(1, self.config.extra_headers + 1))
        if path in self.config.served:
            status = "200 OK"
            with open(self.config.served[path], "rb") as served:
                body = served.read()
        elif path in self.config.redirects:
            status = "302 Found"
            extra += "Location: %s\r\n" % self.config.redirects[path]
        head = "HTTP/1.0 %s\r\nContent-Type: text/html\r\nContent-Length: %d\r\n%s\r\n" % (status, len(body), extra)
        try:
            self.wfile.write(head.encode("latin-1"))
            if self.command != "HEAD":
                self.wfile.write(body)
            self.wfile.flush()
        except OSError:
            pass
        self.close_connection = True


    def stream_forever(self):
        chunk = (b"<p>an endless reply</p>\r\n" * 2700)[:65536]
        try:
            self.wfile.write(b"HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n")
            while True:
                self.wfile.write(chunk)
        except OSError:
            pass
        self.close_connection = True


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True
    tls_context = None

    def get_request(self):
        connection, address = super().get_request()
        if self.tls_context is not None:
            connection = self.tls_context.wrap_socket(connection, server_side=True, do_handshake_on_connect=False)
        return connection, address

    def handle_error(self, request, client_address):
        sys.stderr.write("http_peer: connection from %s ended with an error\n" % (client_address,))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--record", required=True)
    parser.add_argument("--status", default="200 OK")
    parser.add_argument("--route", action="append", default=[])
    parser.add_argument("--silent", action="append", default=[])
    parser.add_argument("--stall", type=float, default=0.0)
    parser.add_argument("--endless", action="append", default=[])
    parser.add_argument("--tls", nargs=2, metavar=("CERT", "KEY"))
    parser.add_argument("--hang", action="append", default=[])
    parser.add_argument("--extra-headers", type=int, default=0)
    parser.add_argument("--serve", action="append", default=[])
    parser.add_argument("--redirect", action="append", default=[])
    parser.add_argument("--lifetime", type=float, default=120.0)
    args = parser.parse_args()
    args.served = dict(item.partition("=")[::2] for item in args.serve)
    args.redirects = dict(item.partition("=")[::2] for item in args.redirect)

    Handler.requests = RequestFiles(args.record)
    routes = {}
    for route in args.route:
        path, _, status = route.partition("=")
        routes[path] = status
    args.routes = routes
    Handler.config = args

    server = Server(("127.0.0.1", 0), Handler)
    if args.tls:
        server.tls_context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        server.tls_context.load_cert_chain(args.tls[0], args.tls[1])
    serve_for(server, args.lifetime)


if __name__ == "__main__":
    main()
