#!/usr/bin/python3
"""HTTP/1.0 sink for the HTTP benchmark, on 127.0.0.1 and a free port.

Prints "PORT <n>" once listening. Reads each request's headers and its body by Content-Length,
discarding the body, answers "200 OK" and closes. With --stall SECONDS it waits that long before
answering. With --tls CERT KEY it speaks HTTPS. Exits by itself after --lifetime seconds.
"""

import argparse
import os
import socket
import ssl
import threading
import time


def serve(connection, stall, context):
    if context is not None:
        try:
            connection = context.wrap_socket(connection, server_side=True)
        except (OSError, ssl.SSLError):
            connection.close()
            return
    with connection:
        data = bytearray()
        while b"\r\n\r\n" not in data:
            chunk = connection.recv(65536)
            if not chunk:
                return
            data += chunk
        head, _, rest = bytes(data).partition(b"\r\n\r\n")
        length = 0
        for line in head.split(b"\r\n")[1:]:
            name, _, value = line.partition(b":")
            if name.strip().lower() == b"content-length":
                length = int(value.strip() or 0)
        remaining = length - len(rest)
        buffer = bytearray(1 << 20)
        view = memoryview(buffer)
        while remaining > 0:
            count = connection.recv_into(view, min(remaining, len(buffer)))
            if count == 0:
                return
            remaining -= count
        if stall > 0:
            time.sleep(stall)
        connection.sendall(b"HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\nreceived\r\n")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--stall", type=float, default=0.0)
    parser.add_argument("--lifetime", type=float, default=300.0)
    parser.add_argument("--tls", nargs=2, metavar=("CERT", "KEY"))
    args = parser.parse_args()
    context = None
    if args.tls:
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(args.tls[0], args.tls[1])
    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind(("127.0.0.1", 0))
    listener.listen(8)
    threading.Timer(args.lifetime, lambda: os._exit(0)).start()
    print("PORT %d" % listener.getsockname()[1], flush=True)
    while True:
        connection, _ = listener.accept()
        threading.Thread(target=serve, args=(connection, args.stall, context), daemon=True).start()


if __name__ == "__main__":
    main()
