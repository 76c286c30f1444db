#!/usr/bin/env python3
"""A small HTTP(S) server for the update client's tests, on 127.0.0.1 and a free port.

Prints its port on the first line of standard output, then serves until killed.
  --cert FILE --key FILE   serve https with that certificate
Paths:
  /echo              answers a JSON document with the method, the headers and the body (hex)
  /answer/HEX/...    answers the bytes HEX (for any path below it)
  /keyed/HEX/...     POST: the member of the JSON object HEX named by the form's app_key, else 404
  /size/N            answers N bytes of "a"
  /file/N            N bytes of (i % 251); HEAD announces N
  /nolength          HEAD without Content-Length
  /zerolength        HEAD announces 0
  /missing           HEAD announces 100, GET answers 404
  /short/N           announces N, sends N // 2 and closes
  /stall             announces 1000, sends 10 bytes and then nothing for a minute
  /redirect?to=URL   302 to URL (any method)
"""
import argparse
import json
import ssl
import sys
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer


def file_bytes(n):
    pattern = bytes(i % 251 for i in range(251))
    whole, rest = divmod(n, 251)
    return pattern * whole + pattern[:rest]


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"

    def log_message(self, *args):
        pass

    def _send(self, status, body, length=None, headers=()):
        self.send_response(status)
        self.send_header("Content-Length", str(len(body) if length is None else length))
        for name, value in headers:
            self.send_header(name, value)
        self.end_headers()
        if self.command != "HEAD":
            self.wfile.write(body)

    def _route(self):
        url = urllib.parse.urlsplit(self.path)
        parts = url.path.strip("/").split("/")
        query = urllib.parse.parse_qs(url.query)
        head = self.command == "HEAD"
        if parts[0] == "echo":
            length = int(self.headers.get("Content-Length") or 0)
            body = self.rfile.read(length) if length > 0 else b""
            doc = {"method": self.command, "path": self.path,
                   "headers": [[k, v] for k, v in self.headers.items()], "body": body.hex()}
            self._send(200, json.dumps(doc).encode())
        elif parts[0] == "answer":
            self._send(200, bytes.fromhex(parts[1]), headers=[("Content-Type", "application/json")])
        elif parts[0] == "keyed":
            length = int(self.headers.get("Content-Length") or 0)
            form = urllib.parse.parse_qs(self.rfile.read(length).rstrip(b"\0").decode())
            answers = json.loads(bytes.fromhex(parts[1]))
            key = form.get("app_key", [""])[0]
            if key in answers:
                self._send(200, json.dumps(answers[key]).encode())
            else:
                self._send(404, b"unknown key")
        elif parts[0] == "size":
            self._send(200, b"a" * int(parts[1]))
        elif parts[0] == "file":
            self._send(200, file_bytes(int(parts[1])))
        elif parts[0] == "nolength":
            self.send_response(200)
            self.end_headers()
            if not head:
                self.wfile.write(file_bytes(100))
        elif parts[0] == "zerolength":
            self._send(200, b"")
        elif parts[0] == "missing":
            if head:
                self._send(200, b"", length=100)
            else:
                self._send(404, b"not here")
        elif parts[0] == "short":
            n = int(parts[1])
            self.send_response(200)
            self.send_header("Content-Length", str(n))
            self.end_headers()
            if not head:
                self.wfile.write(file_bytes(n // 2))
        elif parts[0] == "stall":
            self.send_response(200)
            self.send_header("Content-Length", "1000")
            self.end_headers()
            if not head:
                self.wfile.write(b"x" * 10)
                self.wfile.flush()
                time.sleep(60)
        elif parts[0] == "redirect":
            self._send(302, b"", headers=[("Location", query["to"][0])])
        else:
            self._send(404, b"unknown")

    def do_GET(self):
        self._route()

    def do_POST(self):
        self._route()

    def do_HEAD(self):
        self._route()

    def do_PUT(self):
        self._route()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cert")
    parser.add_argument("--key")
    args = parser.parse_args()
    server = ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    if args.cert:
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(args.cert, args.key)
        server.socket = context.wrap_socket(server.socket, server_side=True)
    print(server.server_address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    sys.exit(main())
