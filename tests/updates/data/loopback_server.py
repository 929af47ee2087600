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
  /slow-head the status line and headers, one byte every 300 ms
  /r/N?slow  the same, each answer after 800 ms
  /no-location         a redirect without Location
  /long-location?n=N   a redirect to /big?n=0...07 with N zeros
  /chunked?n=N         200 with N bytes in chunks, no Content-Length
  /lie?n=N&claim=M     200 announcing M bytes, sending N and closing
  /cookie    sets a cookie and redirects to /headers
  /headers   200 with the request's header lines as the body

A second authority, never trusted, signs the certificate served on the port
written to DIRECTORY/untrusted-port (the same paths).
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


def make_certificates(directory, prefix=""):
    def run(*args):
        args = [a.replace("ca.", prefix + "ca.").replace("server.", prefix + "server.") for a in args]
        subprocess.run(["openssl", *args], check=True, cwd=directory,
                       stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)

    run("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", "ca.key", "-out", "ca.pem",
        "-days", "2", "-subj", "/CN=Lumaro loopback test CA",
        "-addext", "basicConstraints=critical,CA:TRUE",
        "-addext", "keyUsage=critical,keyCertSign,cRLSign")
    run("req", "-newkey", "rsa:2048", "-nodes", "-keyout", "server.key", "-out", "server.csr",
        "-subj", "/CN=localhost")
    with open(os.path.join(directory, prefix + "server.ext"), "w") as ext:
        ext.write("basicConstraints=CA:FALSE\n"
                  "keyUsage=critical,digitalSignature,keyEncipherment\n"
                  "extendedKeyUsage=serverAuth\n"
                  "subjectAltName=DNS:localhost,IP:127.0.0.1\n")
    run("x509", "-req", "-in", "server.csr", "-CA", "ca.pem", "-CAkey", "ca.key", "-CAcreateserial",
        "-out", "server.pem", "-days", "2", "-extfile", "server.ext")


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"  # for chunked bodies

    def log_message(self, format, *args):
        pass

    def trickle(self, data):
        try:
            for i in range(len(data)):
                self.wfile.write(data[i:i + 1])
                self.wfile.flush()
                time.sleep(TRICKLE_INTERVAL_SECONDS)
        except OSError:
            pass  # the client gave up, as it should

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
            if query == "slow":
                time.sleep(0.8)
            left = int(path[3:])
            if left == 0:
                self.answer(200, b"arrived")
            else:
                self.answer(302, headers=[("Location", "/r/%d" % (left - 1) + ("?" + query if query else ""))])
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
            self.trickle(b"s" * TRICKLE_BYTES)
        elif path == "/slow-head":
            self.close_connection = True
            self.trickle(b"HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok")
        elif path == "/no-location":
            self.answer(302)
        elif path == "/long-location":
            self.answer(302, headers=[("Location", "/big?n=" + "0" * int(query[2:]) + "7")])
        elif path == "/chunked":
            self.send_response(200)
            self.send_header("Transfer-Encoding", "chunked")
            self.end_headers()
            for left in range(int(query[2:]), 0, -5000):
                self.wfile.write(b"%x\r\n%s\r\n" % (min(left, 5000), b"c" * min(left, 5000)))
            self.wfile.write(b"0\r\n\r\n")
        elif path == "/lie":
            n, claim = (int(part.split("=")[1]) for part in query.split("&"))
            self.close_connection = True
            self.send_response(200)
            self.send_header("Content-Length", str(claim))
            self.end_headers()
            self.wfile.write(b"l" * n)
        elif path == "/cookie":
            self.answer(302, headers=[("Set-Cookie", "session=secret; Path=/"), ("Location", "/headers")])
        elif path == "/headers":
            self.answer(200, str(self.headers).encode())
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

    servers = []
    for prefix, port_file in (("untrusted-", "untrusted-port"), ("", "port")):
        make_certificates(directory, prefix)
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(os.path.join(directory, prefix + "server.pem"),
                                os.path.join(directory, prefix + "server.key"))
        servers.append(Server(("127.0.0.1", 0), context))
        port = servers[-1].server_address[1]
        try:  # localhost may name ::1 first elsewhere
            servers.append(Server(("::1", port), context, socket.AF_INET6))
        except OSError:
            pass
        with open(os.path.join(directory, "port.part"), "w") as f:
            f.write(str(port))
        os.replace(os.path.join(directory, "port.part"), os.path.join(directory, port_file))
    for server in servers:
        threading.Thread(target=server.serve_forever, args=(0.1,), daemon=True).start()

    started = time.monotonic()
    stop = os.path.join(directory, "stop")
    while not os.path.exists(stop) and time.monotonic() - started < MAX_LIFETIME_SECONDS:
        time.sleep(0.1)
    for server in servers:
        server.shutdown()
        server.server_close()


if __name__ == "__main__":
    main()
