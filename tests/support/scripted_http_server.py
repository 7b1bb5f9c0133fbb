#!/usr/bin/env python3
"""A scripted local HTTP(S) server for tests of network clients.

Started by a test with a working folder:

    scripted_http_server.py --dir DIR [--tls]

It listens on 127.0.0.1 on a free port and writes the port to DIR/port once it accepts
connections. Before each request it reads DIR/script.json:

    {"responses": [RESPONSE, ...]}

Responses are served in order; the last one repeats. A RESPONSE is an object with:
    status          HTTP status (default 200)
    headers         {name: value} added to the response
    body            text body (UTF-8)
    body_base64     raw body bytes, base64 (for invalid UTF-8)
    repeat          {"text": T, "count": N}: body made of T repeated N times (large bodies)
    delay           seconds to wait before answering (a slow server)
    silent          true: accept the request and never answer
    drop_after      send the headers announcing the whole body, then only this many body
                    bytes, then close the connection (dropped mid-body)

Every request received is appended to DIR/requests.jsonl as one JSON object with the
method, path, headers and body (text, invalid bytes replaced), before it is answered.
With --tls a self-signed certificate for "localhost" is made with openssl at start and
the server speaks HTTPS.
"""

import argparse
import base64
import json
import os
import socket
import ssl
import subprocess
import sys
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

lock = threading.Lock()
state = {"served": 0}


def load_script(folder):
    try:
        with open(os.path.join(folder, "script.json"), encoding="utf-8") as handle:
            return json.load(handle).get("responses", [])
    except (OSError, ValueError):
        return []


def next_response(folder):
    responses = load_script(folder)
    with lock:
        index = state["served"]
        state["served"] += 1
    if not responses:
        return {"status": 200, "body": ""}
    return responses[min(index, len(responses) - 1)]


def body_of(response):
    if "body_base64" in response:
        return base64.b64decode(response["body_base64"])
    if "repeat" in response:
        return response["repeat"]["text"].encode("utf-8") * int(response["repeat"]["count"])
    return response.get("body", "").encode("utf-8")


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    folder = "."

    def log_message(self, *args):  # keep test output clean
        pass

    def record(self, body):
        entry = {
            "method": self.command,
            "path": self.path,
            "headers": {name: value for name, value in self.headers.items()},
            "body": body.decode("utf-8", errors="replace"),
        }
        with lock:
            with open(os.path.join(self.folder, "requests.jsonl"), "a", encoding="utf-8") as log:
                log.write(json.dumps(entry) + "\n")
                log.flush()

    def handle_any(self):
        length = int(self.headers.get("Content-Length") or 0)
        body = self.rfile.read(length) if length > 0 else b""
        self.record(body)
        response = next_response(self.folder)
        if response.get("silent"):
            time.sleep(3600)
            return
        time.sleep(float(response.get("delay", 0)))
        payload = body_of(response)
        self.send_response(int(response.get("status", 200)))
        headers = response.get("headers", {})
        for name, value in headers.items():
            self.send_header(name, value)
        if not any(name.lower() == "content-type" for name in headers):
            self.send_header("Content-Type", "application/json")
        self.send_header("Content-Length", str(len(payload)))
        if "drop_after" in response:
            self.send_header("Connection", "close")
            self.end_headers()
            self.wfile.write(payload[: int(response["drop_after"])])
            self.wfile.flush()
            self.close_connection = True
            try:
                self.connection.shutdown(socket.SHUT_RDWR)
            except OSError:
                pass
            return
        self.end_headers()
        try:
            self.wfile.write(payload)
        except (BrokenPipeError, ConnectionResetError):
            pass

    do_GET = handle_any
    do_POST = handle_any
    do_PUT = handle_any
    do_DELETE = handle_any
    do_HEAD = handle_any


def self_signed_context(folder):
    cert = os.path.join(folder, "cert.pem")
    key = os.path.join(folder, "key.pem")
    subprocess.run(
        ["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", cert,
         "-days", "1", "-subj", "/CN=localhost", "-addext", "subjectAltName=DNS:localhost,IP:127.0.0.1"],
        check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(cert, key)
    return context


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--dir", required=True)
    parser.add_argument("--tls", action="store_true")
    options = parser.parse_args()

    Handler.folder = options.dir
    server = ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    if options.tls:
        server.socket = self_signed_context(options.dir).wrap_socket(server.socket, server_side=True)
    port_file = os.path.join(options.dir, "port")
    with open(port_file + ".tmp", "w", encoding="utf-8") as handle:
        handle.write(str(server.server_address[1]))
    os.replace(port_file + ".tmp", port_file)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    return 0


if __name__ == "__main__":
    sys.exit(main())
