#!/usr/bin/python3
"""A TLS server on 127.0.0.1 that completes the handshake, reads the request head, then sends only
part of a TLS record of its answer and closes the connection (no close_notify). Prints "PORT <n>"
once listening; exits by itself after --lifetime seconds.

  --tls CERT KEY         the certificate and key to speak TLS with (PEM files, required)
  --cut WHERE            "record": half of a record carrying a complete answer;
                         "header": the first 3 bytes of a record header (default record)
  --lifetime SECONDS     stop after that long (default 60)
"""

import argparse
import socketserver
import ssl

from peer_common import serve_for

ANSWER = b"HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n<html><body>200 OK</body></html>\r\n"


class Handler(socketserver.BaseRequestHandler):
    context = None
    cut = "record"

    def handle(self):
        connection = self.request
        connection.settimeout(10)
        incoming, outgoing = ssl.MemoryBIO(), ssl.MemoryBIO()
        tls = self.context.wrap_bio(incoming, outgoing, server_side=True)

        def pump():
            pending = outgoing.read()
            if pending:
                connection.sendall(pending)
            chunk = connection.recv(65536)
            if not chunk:
                raise EOFError
            incoming.write(chunk)

        try:
            while True:
                try:
                    tls.do_handshake()
                    break
                except ssl.SSLWantReadError:
                    pump()
            request = b""
            while b"\r\n\r\n" not in request:
                try:
                    request += tls.read(65536)
                except ssl.SSLWantReadError:
                    pump()
            connection.sendall(outgoing.read())
            tls.write(ANSWER)
            record = outgoing.read()
            connection.sendall(record[:3] if self.cut == "header" else record[: len(record) // 2])
        except (OSError, EOFError, ssl.SSLError):
            pass
        connection.close()


class Server(socketserver.ThreadingMixIn, socketserver.TCPServer):
    daemon_threads = True
    allow_reuse_address = True


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--tls", nargs=2, metavar=("CERT", "KEY"), required=True)
    parser.add_argument("--cut", choices=("record", "header"), default="record")
    parser.add_argument("--lifetime", type=float, default=60.0)
    args = parser.parse_args()
    Handler.context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    Handler.context.load_cert_chain(args.tls[0], args.tls[1])
    Handler.cut = args.cut
    serve_for(Server(("127.0.0.1", 0), Handler), args.lifetime)


if __name__ == "__main__":
    main()
