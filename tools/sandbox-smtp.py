#!/usr/bin/python3
"""Stand-in SMTP server for the sandbox, on 127.0.0.1 and a free port (aiosmtpd).

Prints "PORT <n>" once listening. Accepts every message for every recipient and keeps it as
--spool/0001.eml, 0002.eml, ... : an "X-Envelope-From:" line and one "X-Envelope-To:" line per
recipient, then the message exactly as received. Delivers nothing anywhere. Exits by itself after
--lifetime seconds. With --tls CERT KEY it demands STARTTLS and a log-in (--user, --password)
before it takes a message.
"""

import argparse
import asyncio
import os
import ssl
import threading

from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword


class Spool:
    def __init__(self, folder):
        self.folder = folder
        self.count = 0
        self.lock = threading.Lock()

    async def handle_DATA(self, server, session, envelope):
        with self.lock:
            self.count += 1
            number = self.count
        head = "X-Envelope-From: %s\r\n" % envelope.mail_from
        head += "".join("X-Envelope-To: %s\r\n" % rcpt for rcpt in envelope.rcpt_tos)
        path = os.path.join(self.folder, "%04d.eml" % number)
        with open(path + ".part", "wb") as f:
            f.write(head.encode("utf-8"))
            f.write(envelope.original_content or envelope.content)
        os.replace(path + ".part", path)
        return "250 Message accepted for delivery"


async def serve(args):
    os.makedirs(args.spool, exist_ok=True)
    spool = Spool(args.spool)
    loop = asyncio.get_running_loop()
    options = dict(hostname="sandbox.example", decode_data=False)
    if args.tls:
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(args.tls[0], args.tls[1])
        account = (args.user.encode(), args.password.encode())

        def authenticator(server, session, envelope, mechanism, auth_data):
            good = isinstance(auth_data, LoginPassword) and tuple(auth_data) == account
            return AuthResult(success=good, handled=False)

        options.update(tls_context=context, require_starttls=True, auth_required=True, authenticator=authenticator)
    server = await loop.create_server(lambda: SMTP(spool, **options), "127.0.0.1", 0)
    print("PORT %d" % server.sockets[0].getsockname()[1], flush=True)
    await asyncio.sleep(args.lifetime)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--spool", required=True)
    parser.add_argument("--tls", nargs=2, metavar=("CERT", "KEY"))
    parser.add_argument("--user", default="author")
    parser.add_argument("--password", default="sandbox")
    parser.add_argument("--lifetime", type=float, default=3600.0)
    args = parser.parse_args()
    try:
        asyncio.run(serve(args))
    finally:
        os._exit(0)


if __name__ == "__main__":
    main()
