"""smtp_server.py LOGIN PASSWORD FOLDER [STALL] [--starttls CERT]: a local mail server for the tests.
Prints its port on 127.0.0.1, accepts mail only after a login with LOGIN and PASSWORD (offered with or
without TLS), keeps the last one as FOLDER/message.bin and FOLDER/envelope.json, and ends when its
standard input closes. With STALL it holds the reply to QUIT back for STALL seconds or until the client
goes away. FOLDER/ending.txt tells how the last session ended: "quit" when QUIT was answered, "left"
when the client went away while waiting for that reply. With --starttls it offers STARTTLS with the key
and certificate in CERT. FOLDER/commands.txt lists the commands received, one name a line, each written
before it is answered."""
import argparse, asyncio, json, os, ssl, sys

from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword

parser = argparse.ArgumentParser()
parser.add_argument("login")
parser.add_argument("password")
parser.add_argument("folder")
parser.add_argument("stall", nargs="?", type=float, default=0)
parser.add_argument("--starttls", metavar="CERT")
args = parser.parse_args()
LOGIN, PASSWORD, FOLDER, STALL = args.login.encode(), args.password.encode(), args.folder, args.stall


class Keeper:
    async def handle_DATA(self, server, session, envelope):  # written before the reply reaches the client
        with open(os.path.join(FOLDER, "message.bin"), "wb") as f:
            f.write(envelope.original_content)
        with open(os.path.join(FOLDER, "envelope.json"), "w") as f:
            json.dump({"from": envelope.mail_from, "to": envelope.rcpt_tos}, f)
        return "250 OK"

    async def handle_QUIT(self, server, session, envelope):
        try:
            await asyncio.sleep(STALL)  # the client going away cancels the wait
        except asyncio.CancelledError:
            note_ending("left")
            raise
        note_ending("quit")
        return "221 Bye"


class RecordingSMTP(SMTP):
    """Notes the name of every command before it is handled."""

    def __init__(self, *a, **kw):
        super().__init__(*a, **kw)
        methods = self._smtp_methods
        self._smtp_methods = {name: self.recorded(name, method) for name, method in methods.items()}

    @staticmethod
    def recorded(name, method):
        async def run(arg):
            with open(os.path.join(FOLDER, "commands.txt"), "a") as f:
                f.write(name + "\n")
            return await method(arg)

        return run


def note_ending(ending):  # whole or not at all: the test reads it as soon as it exists
    path = os.path.join(FOLDER, "ending.txt")
    with open(path + ".part", "w") as f:
        f.write(ending)
    os.replace(path + ".part", path)


def authenticator(server, session, envelope, mechanism, auth_data):
    ok = isinstance(auth_data, LoginPassword) and (auth_data.login, auth_data.password) == (LOGIN, PASSWORD)
    return AuthResult(success=ok, handled=False)


async def main():
    tls = None
    if args.starttls:
        tls = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        tls.load_cert_chain(args.starttls)
    # The login is offered in clear too: the client is the one to refuse it.
    server = await asyncio.get_running_loop().create_server(
        lambda: RecordingSMTP(Keeper(), hostname="localhost", authenticator=authenticator, auth_required=True,
                              auth_require_tls=False, tls_context=tls), "127.0.0.1", 0)
    print(server.sockets[0].getsockname()[1], flush=True)
    await asyncio.get_running_loop().run_in_executor(None, sys.stdin.read)
    server.close()


asyncio.run(main())
