#!/usr/bin/python3
"""FTP server for tests (pyftpdlib, active mode), on 127.0.0.1 and a free port.

Prints "PORT <n>" once listening. One account, USER/PASS as given (331 then 230; a wrong password
gets 530), home folder --root with full rights. Every command line received is appended to
--record (one per line, as received), and every active data connection the server makes adds a
line "DATA <port>". Exits by itself after --lifetime seconds.

  --root DIR              home folder of the account (required)
  --record FILE           command log (required)
  --user NAME --password TEXT
  --greeting-lines N      lines of the greeting before its last one (multi-line reply)
  --throttle BYTES        receive uploads at most this many bytes per second
  --drop-after BYTES      close the control connection once an upload has brought this many bytes
  --tls CERT KEY          FTP over TLS (AUTH TLS; protected control and data required)
  --tls-sessions FILE     with --tls: a line per protected data connection, "resumed" when its
                          handshake resumed a session, else "full"
  --stall SECONDS         greet each client only after that long
  --ignore-abort          never answer ABOR
  --lifetime SECONDS      stop after that long (default 120)
"""

import argparse
import os
import threading
import time

from pyftpdlib.authorizers import DummyAuthorizer
from OpenSSL._util import lib as openssl
from pyftpdlib.handlers import ActiveDTP, DTPHandler, FTPHandler, ThrottledDTPHandler, TLS_DTPHandler, TLS_FTPHandler
from pyftpdlib.servers import FTPServer

config = None


def record(line):
    with open(config.record, "ab") as f:
        f.write(line.encode("utf-8", "surrogateescape") + b"\n")


class RecordingActiveDTP(ActiveDTP):
    def __init__(self, ip, port, cmd_channel):
        record("DATA %d" % port)
        super().__init__(ip, port, cmd_channel)


class DroppingDTPHandler(DTPHandler):
    """Closes the control connection in the middle of an upload."""

    def handle_read(self):
        super().handle_read()
        if self.receive and self.tot_bytes_received >= config.drop_after:
            self.cmd_channel.close()
            self.close()

    handle_read_event = handle_read


class Handler(FTPHandler):
    active_dtp = RecordingActiveDTP

    def handle(self):
        if config.stall > 0:
            self.ioloop.call_later(config.stall, self.greet)
        else:
            self.greet()

    def greet(self):
        for number in range(config.greeting_lines):
            self.push("220-Greeting line %d of the test server\r\n" % (number + 1))
        super().handle()

    def ftp_ABOR(self, line):
        if not config.ignore_abort:
            super().ftp_ABOR(line)

    def pre_process_command(self, line, cmd, arg):
        record(line)
        return super().pre_process_command(line, cmd, arg)


class SessionRecordingDTP(TLS_DTPHandler):
    def handle_ssl_established(self):
        if config.tls_sessions:
            with open(config.tls_sessions, "a") as f:
                f.write("resumed\n" if openssl.SSL_session_reused(self.socket._ssl) else "full\n")
        super().handle_ssl_established()


class TlsHandler(TLS_FTPHandler):
    active_dtp = RecordingActiveDTP
    dtp_handler = SessionRecordingDTP
    tls_control_required = True
    tls_data_required = True

    def handle(self):
        for number in range(config.greeting_lines):
            self.push("220-Greeting line %d of the test server\r\n" % (number + 1))
        super().handle()

    def pre_process_command(self, line, cmd, arg):
        record(line)
        return super().pre_process_command(line, cmd, arg)


def main():
    global config
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--record", required=True)
    parser.add_argument("--user", default="bob")
    parser.add_argument("--password", default="secret")
    parser.add_argument("--greeting-lines", type=int, default=0)
    parser.add_argument("--throttle", type=int, default=0)
    parser.add_argument("--drop-after", type=int, default=0)
    parser.add_argument("--tls", nargs=2, metavar=("CERT", "KEY"))
    parser.add_argument("--tls-sessions")
    parser.add_argument("--stall", type=float, default=0.0)
    parser.add_argument("--ignore-abort", action="store_true")
    parser.add_argument("--lifetime", type=float, default=120.0)
    config = parser.parse_args()
    handler = Handler
    if config.tls:
        TlsHandler.certfile, TlsHandler.keyfile = config.tls
        handler = TlsHandler

    os.makedirs(config.root, exist_ok=True)
    open(config.record, "wb").close()
    authorizer = DummyAuthorizer()
    authorizer.add_user(config.user, config.password, config.root, perm="elradfmwMT")
    handler.authorizer = authorizer
    handler.banner = "Test FTP server ready."
    handler.auth_failed_timeout = 0.1
    if config.drop_after > 0:
        Handler.dtp_handler = DroppingDTPHandler
    elif config.throttle > 0:
        ThrottledDTPHandler.read_limit = config.throttle
        Handler.dtp_handler = ThrottledDTPHandler

    server = FTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, kwargs={"timeout": 0.2}, daemon=True).start()
    print("PORT %d" % server.address[1], flush=True)
    time.sleep(config.lifetime)
    os._exit(0)


if __name__ == "__main__":
    main()
