#!/usr/bin/python3
"""Recording SMTP server for tests (aiosmtpd), on 127.0.0.1 and a free port.

Prints "PORT <n>" once listening. Every message is saved as DIR/0001.eml, 0002.eml, ... in arrival
order: an "X-Envelope-From:" line, one "X-Envelope-To:" line per recipient, then the message as the
server received it (after the data phase's dot-unstuffing). Every command line of every session is
appended to DIR/commands.log as it arrives. Exits by itself after --lifetime seconds.

  --record DIR           where messages and commands are saved (required)
  --greeting-lines N     the greeting is N lines ("220-" ... then "220 "); default 1
  --bare-helo            refuse "HELO name" with 501 and accept "HELO" alone
  --reject ADDRESS       answer RCPT TO for that address with 550; repeatable
  --silent               accept connections and never answer anything
  --hang-up              accept connections and close them at once, without a greeting
  --tls CERT KEY         offer STARTTLS with that certificate and key (PEM files)
  --require-starttls     with --tls: refuse everything but EHLO, STARTTLS and QUIT before TLS
  --implicit-tls         with --tls: TLS from the first byte instead of STARTTLS
  --tls12                with --tls: speak TLS 1.2 at most (session IDs instead of 1.3 tickets)
  --auth USER:PASSWORD   offer AUTH PLAIN and LOGIN (over TLS only) and accept only this log-in
  --no-auth-plain        with --auth: offer AUTH LOGIN only
  --lifetime SECONDS     stop after that long (default 120)
"""

import argparse
import asyncio
import os
import socket
import ssl
import threading
import time

from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword

from peer_common import RequestFiles


class Recorder:
    def __init__(self, folder, rejected):
        self.files = RequestFiles(folder)
        self.commands = os.path.join(folder, "commands.log")
        self.lock = threading.Lock()
        self.rejected = rejected

    def command(self, line):
        with self.lock:
            with open(self.commands, "ab") as f:
                f.write(line.encode("utf-8", "surrogateescape") + b"\r\n")

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if address in self.rejected:
            return "550 5.1.1 <%s>: Recipient address rejected" % address
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        head = "X-Envelope-From: %s\r\n" % envelope.mail_from
        head += "".join("X-Envelope-To: %s\r\n" % rcpt for rcpt in envelope.rcpt_tos)
        self.files.save(head.encode("utf-8") + (envelope.original_content or envelope.content))
        return "250 Message accepted for delivery"


def make_server_class(recorder, args):
    class Server(SMTP):
        greeted = False

        async def push(self, status):
            if not self.greeted:
                self.greeted = True
                for n in range(args.greeting_lines - 1):
                    await super().push("220-peer greeting line %d" % (n + 1))
            await super().push(status)

        async def smtp_HELO(self, hostname):
            recorder.command("HELO " + hostname if hostname else "HELO")
            if args.bare_helo:
                if hostname:
                    await self.push("501 HELO with a name refused here")
                    return
                hostname = "bare"
            await super().smtp_HELO(hostname)

        async def smtp_EHLO(self, hostname):
            recorder.command("EHLO " + hostname if hostname else "EHLO")
            await super().smtp_EHLO(hostname)

        async def smtp_STARTTLS(self, arg):
            recorder.command("STARTTLS")
            await super().smtp_STARTTLS(arg)

        async def smtp_AUTH(self, arg):
            # The mechanism only: what follows it is the secret.
            recorder.command("AUTH " + (arg or "").split(" ")[0])
            await super().smtp_AUTH(arg)

        async def smtp_MAIL(self, arg):
            recorder.command("MAIL " + (arg or ""))
            await super().smtp_MAIL(arg)

        async def smtp_RCPT(self, arg):
            recorder.command("RCPT " + (arg or ""))
            await super().smtp_RCPT(arg)

        async def smtp_DATA(self, arg):
            recorder.command("DATA")
            await super().smtp_DATA(arg)

        async def smtp_QUIT(self, arg):
            recorder.command("QUIT")
            await super().smtp_QUIT(arg)

    return Server


async def serve(args):
    recorder = Recorder(args.record, set(args.reject))
    server_class = make_server_class(recorder, args)
    loop = asyncio.get_running_loop()
    options = dict(hostname="peer.example", decode_data=False, data_size_limit=None)
    context = None
    if args.tls:
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(args.tls[0], args.tls[1])
        if args.tls12:
            context.maximum_version = ssl.TLSVersion.TLSv1_2
        if not args.implicit_tls:
            options.update(tls_context=context, require_starttls=args.require_starttls)
    if args.auth:
        user, _, password = args.auth.partition(":")

        def authenticator(server, session, envelope, mechanism, auth_data):
            good = isinstance(auth_data, LoginPassword) and auth_data == (user.encode(), password.encode())
            recorder.command("LOGIN %s %s" % (mechanism, "accepted" if good else "refused"))
            return AuthResult(success=good, handled=False)

        # Implicit TLS is TLS all the same, though the server class only counts STARTTLS as such.
        options.update(authenticator=authenticator, auth_require_tls=not args.implicit_tls)
        if args.no_auth_plain:
            options.update(auth_exclude_mechanism=["PLAIN"])
    server = await loop.create_server(
        lambda: server_class(recorder, **options), "127.0.0.1", 0,
        ssl=context if args.implicit_tls else None)
    print("PORT %d" % server.sockets[0].getsockname()[1], flush=True)
    await asyncio.sleep(args.lifetime)


def serve_silent(args):
    """Takes connections and reads what comes, never answering (or, with --hang-up, closes them)."""
    listener = socket.socket()
    listener.bind(("127.0.0.1", 0))
    listener.listen(8)
    print("PORT %d" % listener.getsockname()[1], flush=True)

    def hold(conn):
        with conn:
            while not args.hang_up and conn.recv(65536):
                pass

    def accept():
        while True:
            conn, _ = listener.accept()
            threading.Thread(target=hold, args=(conn,), daemon=True).start()

    threading.Thread(target=accept, daemon=True).start()
    time.sleep(args.lifetime)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--record", required=True)
    parser.add_argument("--greeting-lines", type=int, default=1)
    parser.add_argument("--bare-helo", action="store_true")
    parser.add_argument("--reject", action="append", default=[])
    parser.add_argument("--silent", action="store_true")
    parser.add_argument("--hang-up", action="store_true")
    parser.add_argument("--tls", nargs=2, metavar=("CERT", "KEY"))
    parser.add_argument("--require-starttls", action="store_true")
    parser.add_argument("--implicit-tls", action="store_true")
    parser.add_argument("--tls12", action="store_true")
    parser.add_argument("--auth")
    parser.add_argument("--no-auth-plain", action="store_true")
    parser.add_argument("--lifetime", type=float, default=120)
    args = parser.parse_args()
    os.makedirs(args.record, exist_ok=True)
    if args.silent or args.hang_up:
        serve_silent(args)
    else:
        asyncio.run(serve(args))
    os._exit(0)


if __name__ == "__main__":
    main()
