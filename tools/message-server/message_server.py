#!/usr/bin/env python3
"""A small message server for trying the bar's server message on this machine.

It answers GET /c.cgi with a body in the answer format (lines of key=value). The command line sets the
default answer; for tests each request may override it with query parameters:

  status=N    answer with status N (404, 500, ...) and a short error body
  auth=401    ask for credentials (401 with a Basic challenge, or 407 as a proxy would) until the
  auth=407    request carries them; then answer as usual
  empty=1     answer 200 with an empty body
  slow=S      send the body in a few pieces, S seconds apart in all
  long=N      answer with N bytes of a repeating pattern instead of the body
  body=TEXT   answer with TEXT (URL-encoded) instead of the body
  echo=1      answer with the request line and headers as received

Answers a client must survive (command line only):
  --keys N           a body of N empty keys "kI=", then a dialog text
  --binary N         N seeded random bytes, NUL and line feeds among them
  --endless          a body that never ends, sent as fast as the client reads
  --endless-refusal  a 401 whose body never ends

GET /stats answers "requests=N", the number of requests for /c.cgi so far; GET /quit ends the server.
It binds to the loopback address only and ends by itself after --idle-exit seconds without a request.

With --tls-port-file it also answers over TLS on a second port, with a self-signed certificate for
localhost and 127.0.0.1 made at start (openssl) and written to --tls-cert; /stats and /quit stay on the
plain port, and /stats also counts the TLS connections that ended before a request ("refused=N") and the
requests in plain HTTP that came to the TLS port ("plain=N").
"""
import argparse
import http.server
import os
import random
import socketserver
import ssl
import subprocess
import sys
import tempfile
import threading
import time
import urllib.parse

PATTERN = b"0123456789abcdefghijklmnopqrstuvwxyz\n"
REALM = 'Basic realm="Corvane! messages"'


def long_body(length):
    reps = length // len(PATTERN) + 1
    return (PATTERN * reps)[:length]


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True

    def __init__(self, address, options):
        super().__init__(address, Handler)
        self.options = options
        self.last_request = time.monotonic()
        self.requests = 0
        self.refused = 0
        self.plain_on_tls = 0
        self.count_lock = threading.Lock()


class TlsServer(Server):
    """Shares the counters of the plain server; a handshake the client refuses is counted, not logged."""

    def __init__(self, address, options, plain, context):
        super().__init__(address, options)
        self.plain = plain
        self.context = context

    def get_request(self):
        sock, address = self.socket.accept()
        try:
            return self.context.wrap_socket(sock, server_side=True), address
        except (ssl.SSLError, OSError) as error:
            # A request in plain HTTP on this port is told apart from a client that gave up on TLS.
            plain = getattr(error, "reason", "") == "HTTP_REQUEST"
            with self.plain.count_lock:
                if plain:
                    self.plain.plain_on_tls += 1
                else:
                    self.plain.refused += 1
            sock.close()
            raise


class Handler(http.server.BaseHTTPRequestHandler):
    # One answer per connection, ended by closing it: the body's end needs no length.
    protocol_version = "HTTP/1.0"

    def log_message(self, fmt, *args):
        if self.server.options.verbose:
            sys.stderr.write("%s\n" % (fmt % args))

    def handle(self):
        self.requested = False
        super().handle()
        counts = getattr(self.server, "plain", None)
        # Over TLS a client may finish the handshake, check the certificate, and hang up without a word.
        if counts is not None and not self.requested:
            with counts.count_lock:
                counts.refused += 1

    def do_GET(self):
        self.requested = True
        url = urllib.parse.urlsplit(self.path)
        if url.path == "/quit":
            self.answer(200, b"bye\n")
            threading.Thread(target=self.server.shutdown, daemon=True).start()
            return
        counts = getattr(self.server, "plain", self.server)
        counts.last_request = time.monotonic()
        if url.path == "/stats":
            stats = "requests=%d\nrefused=%d\nplain=%d\n" % (counts.requests, counts.refused, counts.plain_on_tls)
            self.answer(200, stats.encode())
            return
        if url.path != "/c.cgi":
            self.answer(404, b"not found\n")
            return
        with counts.count_lock:
            counts.requests += 1
        query = dict(urllib.parse.parse_qsl(url.query, keep_blank_values=True))
        opts = self.server.options
        auth = query.get("auth", str(opts.auth or ""))
        if opts.endless_refusal or opts.endless:
            self.send_response(401 if opts.endless_refusal else 200)
            if opts.endless_refusal:
                self.send_header("WWW-Authenticate", REALM)
            self.end_headers()
            self.stream_forever()
            return
        if auth in ("401", "407") and not self.has_credentials(auth):
            header = "WWW-Authenticate" if auth == "401" else "Proxy-Authenticate"
            self.answer(int(auth), b"credentials needed\n", [(header, REALM)])
            return
        status = int(query.get("status", opts.status))
        if status != 200:
            self.answer(status, b"no message here\n")
            return
        self.answer(200, self.body(query), slow=float(query.get("slow", opts.slow)))

    def stream_forever(self):
        chunk = PATTERN * 1024
        try:
            while True:
                self.wfile.write(chunk)
        except OSError:
            pass  # the client hung up, as it should

    def has_credentials(self, auth):
        name = "Authorization" if auth == "401" else "Proxy-Authorization"
        return bool(self.headers.get(name))

    def body(self, query):
        opts = self.server.options
        if query.get("echo") == "1":
            lines = [self.requestline] + ["%s: %s" % item for item in self.headers.items()]
            return ("\r\n".join(lines) + "\r\n").encode("latin-1")
        if query.get("empty", "1" if opts.empty else "0") == "1":
            return b""
        length = int(query.get("long", opts.long))
        if length > 0:
            return long_body(length)
        if "body" in query:
            return query["body"].encode("latin-1")
        return opts.body_bytes

    def answer(self, status, body, headers=(), slow=0.0):
        self.send_response(status)
        self.send_header("Content-Type", "text/plain")
        for name, value in headers:
            self.send_header(name, value)
        self.end_headers()
        if slow <= 0 or len(body) < 4:
            self.wfile.write(body)
            return
        pieces = 4
        step = (len(body) + pieces - 1) // pieces
        for i in range(0, len(body), step):
            self.wfile.write(body[i:i + step])
            self.wfile.flush()
            time.sleep(slow / pieces)


def answer_text(args):
    if args.body_file:
        with open(args.body_file, "rb") as f:
            return f.read()
    if args.body is not None:
        return args.body.encode("latin-1")
    if args.keys:
        keys = "".join("k%d=\n" % i for i in range(args.keys))
        return (keys + "dialogtext=After the keys\n").encode("latin-1")
    if args.binary:
        rng = random.Random(20261208)
        return bytes(rng.randrange(256) for _ in range(args.binary)) + b"\0\n\0"
    lines = ["dialogtext=" + (args.text or "")]
    for i, button in enumerate(args.button or [], start=1):
        caption, _, action = button.partition("|")
        lines.append("button%dtext=%s" % (i, caption))
        lines.append("button%daction=%s" % (i, action))
    if args.flag:
        lines.append("flag=1")
    return ("\n".join(lines) + "\n").encode("latin-1")


def parse_args(argv):
    p = argparse.ArgumentParser(description="Serves the bar's server message on the loopback address.")
    p.add_argument("--port", type=int, default=0, help="port to listen on; 0 picks a free one")
    p.add_argument("--port-file", help="write the port in use to this file once listening")
    source = p.add_mutually_exclusive_group()
    source.add_argument("--body", help="the whole answer body, as given")
    source.add_argument("--body-file", help="a file holding the whole answer body")
    source.add_argument("--text", help="build the body from this dialog text and the --button options")
    p.add_argument("--button", action="append", help="CAPTION|ACTION, up to four times (with --text)")
    p.add_argument("--flag", action="store_true", help="add flag=1 (the bar then shows nothing)")
    p.add_argument("--status", type=int, default=200, help="status of every answer, e.g. 404")
    p.add_argument("--auth", type=int, choices=(401, 407), help="ask for credentials first")
    p.add_argument("--empty", action="store_true", help="answer with an empty body")
    p.add_argument("--slow", type=float, default=0.0, help="spread the body over this many seconds")
    p.add_argument("--long", type=int, default=0, help="answer with this many bytes of a pattern")
    p.add_argument("--keys", type=int, default=0, help="a body of this many key=value lines")
    p.add_argument("--binary", type=int, default=0, help="a body of this many random bytes")
    p.add_argument("--endless", action="store_true", help="a body that never ends")
    p.add_argument("--endless-refusal", action="store_true", help="a 401 whose body never ends")
    p.add_argument("--idle-exit", type=float, default=600.0, help="end after this many idle seconds")
    p.add_argument("--tls-port-file", help="also answer over TLS; write that port to this file")
    p.add_argument("--tls-cert", help="where to write the TLS certificate (PEM)")
    p.add_argument("--verbose", action="store_true", help="log each request to stderr")
    args = p.parse_args(argv)
    if args.button and len(args.button) > 4:
        p.error("at most four buttons")
    args.body_bytes = answer_text(args)
    return args


def write_whole(path, text):
    # Written whole under another name first, so a reader never sees half a number.
    tmp = path + ".tmp"
    with open(tmp, "w") as f:
        f.write(text)
    os.replace(tmp, path)


def start_tls(args, plain, folder):
    """A second listener over TLS, with a certificate nobody's system trusts."""
    cert = args.tls_cert or os.path.join(folder, "cert.pem")
    key = os.path.join(folder, "key.pem")
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-keyout", key,
                    "-out", cert, "-subj", "/CN=localhost",
                    "-addext", "subjectAltName=DNS:localhost,IP:127.0.0.1"],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(cert, key)
    tls = TlsServer(("127.0.0.1", 0), args, plain, context)
    threading.Thread(target=tls.serve_forever, kwargs={"poll_interval": 0.2}, daemon=True).start()
    write_whole(args.tls_port_file, "%d\n" % tls.server_address[1])
    return tls


def main(argv):
    args = parse_args(argv)
    server = Server(("127.0.0.1", args.port), args)
    port = server.server_address[1]
    folder = tempfile.TemporaryDirectory()
    tls = start_tls(args, server, folder.name) if args.tls_port_file else None
    if args.port_file:
        write_whole(args.port_file, "%d\n" % port)
    print("listening on 127.0.0.1:%d" % port, flush=True)

    def watch_idle():
        while True:
            time.sleep(1.0)
            if time.monotonic() - server.last_request > args.idle_exit:
                server.shutdown()
                return

    threading.Thread(target=watch_idle, daemon=True).start()
    try:
        server.serve_forever(poll_interval=0.2)
    finally:
        server.server_close()
        if tls:
            tls.shutdown()
            tls.server_close()
        folder.cleanup()
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
