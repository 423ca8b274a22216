#!/usr/bin/python3
"""A small forwarding HTTP proxy for tests, on 127.0.0.1 and a free port.

Prints "PORT <n>" once listening. Each request carries an absolute URL
("GET http://www.example.com:8080/path HTTP/1.0"); it is saved byte for byte as DIR/0001.req, ...
and then forwarded, with the path alone in its request line, to 127.0.0.1:UPSTREAM whatever host
and port the URL names (the proxy never resolves or contacts any other host); the upstream's
answer is relayed back. A CONNECT request is saved too and answered "200 Connection established",
after which the bytes of both directions are passed between the client and 127.0.0.1:UPSTREAM as
they come (a tunnel, say for TLS) until the upstream closes. Exits by itself after --lifetime seconds.

  --record DIR           where requests are saved (required)
  --upstream PORT        the local server every request goes to (required)
  --lifetime SECONDS     stop after that long (default 120)
  --refuse-connect TEXT  answer CONNECT with TEXT instead and close ("\r\n" in it stands for CR LF)
"""

import argparse
import select
import socket
import socketserver
import sys
import urllib.parse

from peer_common import RequestFiles, serve_for

class Handler(socketserver.StreamRequestHandler):
    config = None
    requests = None

    def handle(self):
        raw = bytearray()
        request_line = self.rfile.readline(65537)
        raw += request_line
        headers = []
        while True:
            line = self.rfile.readline(65537)
            raw += line
            if line in (b"\r\n", b"\n", b""):
                break
            headers.append(line)
        length = 0
        for line in headers:
            name, _, value = line.decode("latin-1").partition(":")
            if name.strip().lower() == "content-length":
                try:
                    length = int(value.strip())
                except ValueError:
                    length = 0
        body = self.rfile.read(length) if length > 0 else b""
        raw += body
        self.requests.save(bytes(raw))

        try:
            method, target, version = request_line.decode("latin-1").rstrip("\r\n").split(" ", 2)
        except ValueError:
            self.wfile.write(b"HTTP/1.0 400 Bad Request\r\n\r\n")
            return
        if method == "CONNECT":
            self.tunnel()
            return
        url = urllib.parse.urlsplit(target)
        path = url.path or "/"
        if url.query:
            path += "?" + url.query
        forwarded = ("%s %s %s\r\n" % (method, path, version)).encode("latin-1")
        forwarded += b"".join(headers) + b"\r\n" + body
        try:
            with socket.create_connection(("127.0.0.1", self.config.upstream), timeout=30) as upstream:
                upstream.sendall(forwarded)
                while True:
                    chunk = upstream.recv(65536)
                    if not chunk:
                        break
                    self.wfile.write(chunk)
        except OSError as error:
            sys.stderr.write("http_proxy: %s\n" % error)
            self.wfile.write(b"HTTP/1.0 502 Bad Gateway\r\n\r\n")


    def tunnel(self):
        if self.config.refuse_connect:
            self.wfile.write(self.config.refuse_connect.replace("\\r\\n", "\r\n").encode("latin-1"))
            return
        try:
            upstream = socket.create_connection(("127.0.0.1", self.config.upstream), timeout=30)
        except OSError as error:
            sys.stderr.write("http_proxy: %s\n" % error)
            self.wfile.write(b"HTTP/1.0 502 Bad Gateway\r\n\r\n")
            return
        self.wfile.write(b"HTTP/1.0 200 Connection established\r\n\r\n")
        self.wfile.flush()
        client = self.connection
        with upstream:
            client_open = True
            while True:
                ready, _, _ = select.select([client, upstream] if client_open else [upstream], [], [], 30)
                if not ready:
                    return
                if upstream in ready:
                    chunk = upstream.recv(65536)
                    if not chunk:
                        return
                    client.sendall(chunk)
                if client_open and client in ready:
                    chunk = client.recv(65536)
                    if chunk:
                        upstream.sendall(chunk)
                    else:
                        client_open = False
                        upstream.shutdown(socket.SHUT_WR)


class Server(socketserver.ThreadingMixIn, socketserver.TCPServer):
    daemon_threads = True
    allow_reuse_address = True


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--record", required=True)
    parser.add_argument("--upstream", type=int, required=True)
    parser.add_argument("--lifetime", type=float, default=120.0)
    parser.add_argument("--refuse-connect")
    args = parser.parse_args()
    Handler.requests = RequestFiles(args.record)
    Handler.config = args

    serve_for(Server(("127.0.0.1", 0), Handler), args.lifetime)


if __name__ == "__main__":
    main()
