# The download area of the tests: the files below a folder over http, and with a certificate also
# over https, plus a few addresses that misbehave. Prints "<http port> <https port or 0>".
import http.server, ssl, sys, threading, time, urllib.parse

root, cert = sys.argv[1], (sys.argv[2] if len(sys.argv) > 2 else "")


class Handler(http.server.SimpleHTTPRequestHandler):
    protocol_version = "HTTP/1.0"

    def __init__(self, *args, **kwargs):
        super().__init__(*args, directory=root, **kwargs)

    def do_GET(self):
        url = urllib.parse.urlparse(self.path)
        query = urllib.parse.parse_qs(url.query)
        if "endless" in url.path:  # a body without end (stops at 16 MB to spare the disk)
            self.send_response(200)
            self.end_headers()
            for _ in range(256):
                self.wfile.write(b"x" * 65536)
        elif "trickle" in url.path:  # 40 bytes every 0.25 s, 800 bytes in all
            self.send_response(200)
            self.send_header("Content-Length", "800")
            self.end_headers()
            for _ in range(20):
                self.wfile.write(b"y" * 40)
                self.wfile.flush()
                time.sleep(0.25)
        elif url.path.startswith("/status/"):  # that status, with a body
            self.send_response(int(url.path[8:]))
            if "to" in query:
                self.send_header("Location", query["to"][0])
            self.send_header("Content-Length", "10")
            self.end_headers()
            self.wfile.write(b"error page")
        else:
            super().do_GET()


def serve(context):
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    if context:
        server.socket = context.wrap_socket(server.socket, server_side=True)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server.server_address[1]


tls = None
if cert:
    tls = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    tls.load_cert_chain(cert)
ports = "%d %d\n" % (serve(None), serve(tls) if tls else 0)
sys.stdout.write(ports)
threading.Event().wait()
