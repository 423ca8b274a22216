"""A server that greets like FTP or SMTP and counts the connections open at once.

Each connection gets GREETING after DELAY seconds (--silent: never), then every line is answered
"221 Bye" and the connection is closed after QUIT. The most connections open at once is kept in
COUNT-FILE (written whole on every change), so a test can see how many clients came together.
"""

import argparse
import os
import socketserver
import threading
import time

from peer_common import serve_for

lock = threading.Lock()
open_now = 0
most = 0


def note(change, count_file):
    global open_now, most
    with lock:
        open_now += change
        if open_now > most:
            most = open_now
            if count_file:
                with open(count_file + ".part", "w") as f:
                    f.write(str(most))
                os.replace(count_file + ".part", count_file)


def handler_for(args):
    class Greeter(socketserver.StreamRequestHandler):
        def handle(self):
            note(1, args.count_file)
            open_here = True
            try:
                if args.silent:
                    time.sleep(args.lifetime)
                    return
                time.sleep(args.delay)
                self.wfile.write(args.greeting.encode() + b"\r\n")
                for line in self.rfile:
                    if line.strip().upper() == b"QUIT":
                        # Counted as gone before the client hears so and may open its next one.
                        note(-1, args.count_file)
                        open_here = False
                        self.wfile.write(b"221 Bye\r\n")
                        return
                    self.wfile.write(b"221 Bye\r\n")
            except OSError:
                pass
            finally:
                if open_here:
                    note(-1, args.count_file)

    return Greeter


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--greeting", default="220 Ready")
    parser.add_argument("--delay", type=float, default=0.0)
    parser.add_argument("--silent", action="store_true")
    parser.add_argument("--count-file")
    parser.add_argument("--lifetime", type=float, default=60.0)
    args = parser.parse_args()
    socketserver.ThreadingTCPServer.allow_reuse_address = True
    socketserver.ThreadingTCPServer.daemon_threads = True
    socketserver.ThreadingTCPServer.request_queue_size = 128
    server = socketserver.ThreadingTCPServer(("127.0.0.1", 0), handler_for(args))
    serve_for(server, args.lifetime)


if __name__ == "__main__":
    main()
