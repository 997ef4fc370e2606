"""smtp_server.py LOGIN PASSWORD FOLDER [STALL]: a local mail server for the tests. Prints its port on
127.0.0.1, accepts mail only after a login with LOGIN and PASSWORD, keeps the last one as FOLDER/message.bin
and FOLDER/envelope.json, and ends when its standard input closes. With STALL it holds the reply to QUIT
back for STALL seconds or until the client goes away. FOLDER/ending.txt tells how the last session ended:
"quit" when QUIT was answered, "left" when the client went away while waiting for that reply."""
import asyncio, json, os, sys

from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword

LOGIN, PASSWORD, FOLDER = sys.argv[1].encode(), sys.argv[2].encode(), sys.argv[3]
STALL = float(sys.argv[4]) if len(sys.argv) > 4 else 0


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


def note_ending(ending):  # whole or not at all: the test reads it as soon as it exists
    path = os.path.join(FOLDER, "ending.txt")
    with open(path + ".part", "w") as f:
        f.write(ending)
    os.replace(path + ".part", path)


def authenticator(server, session, envelope, mechanism, auth_data):
    ok = isinstance(auth_data, LoginPassword) and (auth_data.login, auth_data.password) == (LOGIN, PASSWORD)
    return AuthResult(success=ok, handled=False)


async def main():
    server = await asyncio.get_running_loop().create_server(
        lambda: SMTP(Keeper(), hostname="localhost", authenticator=authenticator, auth_required=True,
                     auth_require_tls=False), "127.0.0.1", 0)
    print(server.sockets[0].getsockname()[1], flush=True)
    await asyncio.get_running_loop().run_in_executor(None, sys.stdin.read)
    server.close()


asyncio.run(main())
