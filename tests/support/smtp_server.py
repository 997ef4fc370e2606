"""A local mail server for the bug report tests: smtp_server.py LOGIN PASSWORD FOLDER.

Prints its port on 127.0.0.1, accepts mail only after a login with LOGIN and PASSWORD, keeps the last
mail as FOLDER/message.bin and FOLDER/envelope.json, and ends when its standard input closes.
"""
import asyncio
import json
import os
import sys

from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword

LOGIN = sys.argv[1].encode()
PASSWORD = sys.argv[2].encode()
FOLDER = sys.argv[3]


def write(name, data):
    temp = os.path.join(FOLDER, name + ".part")
    with open(temp, "wb") as f:
        f.write(data)
    os.replace(temp, os.path.join(FOLDER, name))


class Keeper:
    async def handle_DATA(self, server, session, envelope):
        write("message.bin", envelope.original_content)
        write("envelope.json", json.dumps({"from": envelope.mail_from, "to": envelope.rcpt_tos}).encode())
        return "250 OK"


def authenticator(server, session, envelope, mechanism, auth_data):
    accepted = (isinstance(auth_data, LoginPassword) and auth_data.login == LOGIN
                and auth_data.password == PASSWORD)
    return AuthResult(success=accepted, handled=False)


async def main():
    loop = asyncio.get_running_loop()
    keeper = Keeper()
    server = await loop.create_server(
        lambda: SMTP(keeper, hostname="localhost", authenticator=authenticator,
                     auth_required=True, auth_require_tls=False),
        "127.0.0.1", 0)
    print(server.sockets[0].getsockname()[1], flush=True)
    await loop.run_in_executor(None, sys.stdin.read)
    server.close()


asyncio.run(main())
