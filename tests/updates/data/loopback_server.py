"""HTTPS server on the loopback interface for the update client's tests.

usage: loopback_server.py DIRECTORY

Makes a throwaway certificate authority and a certificate for localhost and
127.0.0.1 in DIRECTORY (ca.pem, server.pem, server.key), serves over TLS on
a free port, writes that port to DIRECTORY/port once it listens, and exits
when DIRECTORY/stop appears (or after five minutes, so that it never
outlives a crashed test).

Paths:
  /r/N       redirects to /r/N-1 (a path on the same host); /r/0 answers 200
  /away      redirects to a host the client does not trust
  /missing   404
  /big?n=N   200 with N bytes
  /slow      200 announcing 64 bytes and sending one every 300 ms
"""

import http.server
import os
import socket
import ssl
import subprocess
import sys
import threading
import time

MAX_LIFETIME_SECONDS = 300
TRICKLE_BYTES = 64
TRICKLE_INTERVAL_SECONDS = 0.3


def make_certificates(directory):
    def run(*args):
        subprocess.run(["openssl", *args], check=True, cwd=directory,
                       stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)

    run("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", "ca.key", "-out", "ca.pem",
        "-days", "2", "-subj", "/CN=Lumaro loopback test CA",
        "-addext", "basicConstraints=critical,CA:TRUE",
        "-addext", "keyUsage=critical,keyCertSign,cRLSign")
    run("req", "-newkey", "rsa:2048", "-nodes", "-keyout", "server.key", "-out", "server.csr",
        "-subj", "/CN=localhost")
    with open(os.path.join(directory, "server.ext"), "w") as ext:
        ext.write("basicConstraints=CA:FALSE\n"
                  "keyUsage=critical,digitalSignature,keyEncipherment\n"
                  "extendedKeyUsage=serverAuth\n"
                  "subjectAltName=DNS:localhost,IP:127.0.0.1\n")
    run("x509", "-req", "-in", "server.csr", "-CA", "ca.pem", "-CAkey", "ca.key", "-CAcreateserial",
        "-out", "server.pem", "-days", "2", "-extfile", "server.ext")


class Handler(http.server.BaseHTTPRequestHandler):
    def log_message(self, format, *args):
        pass

    def answer(self, status, body=b"", headers=()):
        self.send_response(status)
        for name, value in headers:
            self.send_header(name, value)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        path, _, query = self.path.partition("?")
        if path.startswith("/r/") and path[3:].isdigit():
            left = int(path[3:])
            if left == 0:
                self.answer(200, b"arrived")
            else:
                self.answer(302, headers=[("Location", "/r/%d" % (left - 1))])
        elif path == "/away":
            self.answer(302, headers=[("Location", "https://untrusted.example/latest.json")])
        elif path == "/missing":
            self.answer(404, b"not here")
        elif path == "/big" and query.startswith("n=") and query[2:].isdigit():
            self.answer(200, b"x" * int(query[2:]))
        elif path == "/slow":
            self.send_response(200)
            self.send_header("Content-Length", str(TRICKLE_BYTES))
            self.end_headers()
            self.wfile.flush()
            try:
                for _ in range(TRICKLE_BYTES):
                    self.wfile.write(b"s")
                    self.wfile.flush()
                    time.sleep(TRICKLE_INTERVAL_SECONDS)
            except OSError:
                pass  # the client gave up, as it should
        else:
            self.answer(400, b"unknown path")


class Server(http.server.ThreadingHTTPServer):
    daemon_threads = True

    def __init__(self, address, context, family=socket.AF_INET):
        self.address_family = family
        self.context = context
        super().__init__(address, Handler)

    def get_request(self):
        sock, address = super().get_request()
        return self.context.wrap_socket(sock, server_side=True), address

    def handle_error(self, request, client_address):
        pass  # a client that drops the connection is part of the tests


def main():
    directory = sys.argv[1]
    # Wine hands this process the test's console; nothing of ours belongs there.
    log = open(os.path.join(directory, "server.log"), "w")
    os.dup2(os.open(os.devnull, os.O_RDWR), 0)
    os.dup2(log.fileno(), 1)
    os.dup2(log.fileno(), 2)

    make_certificates(directory)
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(os.path.join(directory, "server.pem"), os.path.join(directory, "server.key"))

    servers = [Server(("127.0.0.1", 0), context)]
    port = servers[0].server_address[1]
    try:  # localhost may name ::1 first elsewhere
        servers.append(Server(("::1", port), context, socket.AF_INET6))
    except OSError:
        pass
    for server in servers:
        threading.Thread(target=server.serve_forever, args=(0.1,), daemon=True).start()

    with open(os.path.join(directory, "port.part"), "w") as f:
        f.write(str(port))
    os.replace(os.path.join(directory, "port.part"), os.path.join(directory, "port"))

    started = time.monotonic()
    stop = os.path.join(directory, "stop")
    while not os.path.exists(stop) and time.monotonic() - started < MAX_LIFETIME_SECONDS:
        time.sleep(0.1)
    for server in servers:
        server.shutdown()
        server.server_close()


if __name__ == "__main__":
    main()
