# The download area of the tests: the files below a folder over http and, with the certificate,
# over https, plus a few addresses that misbehave. Prints "<http port> <https port>".
import functools, http.server, ssl, sys, threading, time, urllib.parse

root, cert = sys.argv[1], sys.argv[2]


class Handler(http.server.SimpleHTTPRequestHandler):
    def do_GET(self):
        url = urllib.parse.urlparse(self.path)
        if "trickle" in url.path:  # 40 bytes every 0.25 s, 800 bytes in all
            self.send_response(200)
            self.send_header("Content-Length", "800")
            self.end_headers()
            for _ in range(20):
                self.wfile.write(b"y" * 40)
                self.wfile.flush()
                time.sleep(0.25)
        elif url.path.startswith("/status/"):  # that status with a body, "?to=" its location
            self.send_response(int(url.path[8:]))
            for location in urllib.parse.parse_qs(url.query).get("to", []):
                self.send_header("Location", location)
            self.send_header("Content-Length", "10")
            self.end_headers()
            self.wfile.write(b"error page")
        else:
            super().do_GET()


tls = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
tls.load_cert_chain(cert)
ports = []
for context in (None, tls):
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Handler, directory=root))
    if context:
        server.socket = context.wrap_socket(server.socket, server_side=True)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    ports.append(str(server.server_address[1]))
print(" ".join(ports))
threading.Event().wait()
