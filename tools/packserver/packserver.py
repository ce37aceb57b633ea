#!/usr/bin/env python3
"""Local package server for packfetch's tests, benchmark and demo.

Serves the files of ROOT under /zrx12/Pack2/<name> over HTTP/1.1 on 127.0.0.1,
and can make chosen files fail the way real servers and networks do.

    packserver.py --root DIR [--port N] [--port-file F] [--fault FILE=MODE ...]

--port 0 (the default) takes a free port; --port-file receives the port once
the server listens. SIGTERM or SIGINT stops it cleanly.

Fault modes, per file name:
  404       404 with an HTML page          500     500 with an HTML page
  reset     half the body, then a TCP RST   short   Content-Length larger than
  drip      the body in small slow pieces           the bytes sent, then close
  zero      200 with an empty body         redirect 302 to the file itself
  none      no fault (removes one)

Control endpoints (not logged):
  GET    /__control/log      JSON list of {method, path, user_agent, headers}
  DELETE /__control/log      empties the log
  GET    /__control/faults   JSON object {file: mode}
  POST   /__control/faults   merges a JSON object {file: mode}; mode "none" or
                             null removes a fault
  DELETE /__control/faults   removes every fault

Fixed endpoints whose bodies the client can rebuild without the files:
  GET /test/<mode>/<size>    <size> bytes of pattern_bytes() delivered with
                             <mode> (any fault mode above, or "ok")
"""

import argparse
import http.server
import json
import os
import pathlib
import signal
import socket
import struct
import sys
import threading
import time
import urllib.parse

PACKAGE_PREFIX = "/zrx12/Pack2/"
# Where a redirected package file really lives: never subject to faults.
DIRECT_PREFIX = "/direct/zrx12/Pack2/"
FAULT_MODES = {"404", "500", "reset", "short", "drip", "zero", "redirect"}
SEND_CHUNK = 1 << 20


def pattern_bytes(size):
    """Byte i is (i * 7 + i // 251) mod 256: no short period, so a dropped,
    repeated or reordered block changes the content. The Windows tests build
    the same sequence."""
    return bytes(((i * 7) + (i // 251)) & 0xFF for i in range(size))


class Body:
    """A response body from a file or from memory, sent whole or in part."""

    def __init__(self, size, path=None, data=None):
        self.size = size
        self.path = path
        self.data = data

    def send(self, wfile, sock, offset, count, pace=None):
        if self.data is not None:
            view = memoryview(self.data)[offset:offset + count]
            step = pace[0] if pace else SEND_CHUNK
            for start in range(0, len(view), step):
                wfile.write(view[start:start + step])
                if pace:
                    time.sleep(pace[1])
            return
        with open(self.path, "rb") as f:
            if pace is None and hasattr(sock, "sendfile"):
                wfile.flush()
                sock.sendfile(f, offset, count)
                return
            f.seek(offset)
            left = count
            step = pace[0] if pace else SEND_CHUNK
            while left > 0:
                block = f.read(min(step, left))
                if not block:
                    break
                wfile.write(block)
                left -= len(block)
                if pace:
                    time.sleep(pace[1])


class State:
    def __init__(self, root, faults, drip_seconds):
        self.root = root
        self.drip_seconds = drip_seconds
        self.lock = threading.Lock()
        self.faults = dict(faults)
        self.log = []

    def fault_for(self, name):
        with self.lock:
            return self.faults.get(name)

    def set_faults(self, changes):
        with self.lock:
            for name, mode in changes.items():
                if mode is None or mode == "none":
                    self.faults.pop(name, None)
                else:
                    self.faults[name] = mode

    def record(self, entry):
        with self.lock:
            self.log.append(entry)


def parse_fault(text):
    name, sep, mode = text.partition("=")
    if not sep or not name or mode not in FAULT_MODES | {"none"}:
        raise argparse.ArgumentTypeError(
            f"expected FILE=MODE with MODE one of {sorted(FAULT_MODES)}: {text!r}")
    return name, mode


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    # Headers and body go out in separate writes: without this a small body
    # waits for the client's delayed ACK (40 ms a file).
    disable_nagle_algorithm = True
    server_version = "packserver/1.0"

    # BaseHTTPRequestHandler prints every request on stderr; tests read the
    # JSON log instead.
    def log_message(self, format, *args):
        if self.server.verbose:
            super().log_message(format, *args)

    @property
    def state(self):
        return self.server.state

    def do_GET(self):
        self.dispatch(send_body=True)

    def do_HEAD(self):
        self.dispatch(send_body=False)

    def do_POST(self):
        path = urllib.parse.urlsplit(self.path).path
        if path == "/__control/faults":
            try:
                changes = json.loads(self.read_request_body() or b"{}")
                if not isinstance(changes, dict) or any(
                        m not in FAULT_MODES | {"none", None} for m in changes.values()):
                    raise ValueError("expected an object of file: mode")
            except ValueError as error:
                return self.send_json({"error": str(error)}, status=400)
            self.state.set_faults(changes)
            return self.send_json(self.state.faults)
        self.send_page(404, "Not Found", True)

    def do_DELETE(self):
        path = urllib.parse.urlsplit(self.path).path
        self.read_request_body()
        if path == "/__control/log":
            with self.state.lock:
                self.state.log.clear()
            return self.send_json([])
        if path == "/__control/faults":
            with self.state.lock:
                self.state.faults.clear()
            return self.send_json({})
        self.send_page(404, "Not Found", True)

    def read_request_body(self):
        length = int(self.headers.get("Content-Length") or 0)
        return self.rfile.read(length) if length > 0 else b""

    def dispatch(self, send_body):
        path = urllib.parse.urlsplit(self.path).path
        if path.startswith("/__control/"):
            if path == "/__control/log":
                with self.state.lock:
                    return self.send_json(list(self.state.log), send_body)
            if path == "/__control/faults":
                with self.state.lock:
                    return self.send_json(dict(self.state.faults), send_body)
            return self.send_page(404, "Not Found", send_body)

        self.state.record({
            "method": self.command,
            "path": path,
            "user_agent": self.headers.get("User-Agent", ""),
            "headers": {k: v for k, v in self.headers.items()},
        })

        if path.startswith(PACKAGE_PREFIX):
            name = path[len(PACKAGE_PREFIX):]
            body = self.package_file(name)
            if body is None:
                return self.send_page(404, "Not Found", send_body)
            return self.deliver(body, self.state.fault_for(name),
                                DIRECT_PREFIX + name, send_body, cacheable=False)
        if path.startswith(DIRECT_PREFIX):
            body = self.package_file(path[len(DIRECT_PREFIX):])
            if body is None:
                return self.send_page(404, "Not Found", send_body)
            return self.deliver(body, None, None, send_body, cacheable=False)
        if path.startswith("/test/"):
            parts = path.split("/")
            if len(parts) == 4 and (parts[2] in FAULT_MODES or parts[2] == "ok") \
                    and parts[3].isdigit():
                size = int(parts[3])
                mode = None if parts[2] == "ok" else parts[2]
                return self.deliver(Body(size, data=pattern_bytes(size)), mode,
                                    f"/test/ok/{size}", send_body, cacheable=True)
        self.send_page(404, "Not Found", send_body)

    def package_file(self, name):
        if not name or "/" in name or "\\" in name or name.startswith("."):
            return None
        file = self.state.root / name
        if not file.is_file():
            return None
        return Body(file.stat().st_size, path=file)

    def deliver(self, body, mode, redirect_to, send_body, cacheable):
        if mode == "404":
            return self.send_page(404, "Not Found", send_body)
        if mode == "500":
            return self.send_page(500, "Internal Server Error", send_body)
        if mode == "redirect":
            self.send_response(302)
            self.send_header("Location", redirect_to)
            self.send_header("Content-Length", "0")
            return self.end_headers()

        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Length", str(0 if mode == "zero" else body.size))
        # Test bodies invite caching, so a client that does not bypass its
        # cache is caught asking only once.
        if cacheable:
            self.send_header("Cache-Control", "public, max-age=3600")
        self.send_header("Last-Modified", self.date_time_string(0))
        self.end_headers()
        if not send_body or mode == "zero":
            return
        sock = self.connection
        if mode in ("reset", "short"):
            body.send(self.wfile, sock, 0, body.size // 2)
            self.wfile.flush()
            self.close_connection = True
            if mode == "reset":
                # Linger 0: close() sends RST instead of FIN.
                sock.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
                sock.close()
            return
        if mode == "drip":
            steps = 40
            piece = max(1, -(-body.size // steps))
            return body.send(self.wfile, sock, 0, body.size,
                             pace=(piece, self.state.drip_seconds / steps))
        body.send(self.wfile, sock, 0, body.size)

    def send_page(self, status, title, send_body):
        page = (f"<!DOCTYPE html>\n<html><head><title>{status} {title}</title></head>"
                f"<body><h1>{title}</h1><p>{self.path}</p></body></html>\n").encode()
        self.send_response(status)
        self.send_header("Content-Type", "text/html; charset=utf-8")
        self.send_header("Content-Length", str(len(page)))
        self.end_headers()
        if send_body:
            self.wfile.write(page)

    def send_json(self, value, send_body=True, status=200):
        data = json.dumps(value).encode()
        self.send_response(status)
        self.send_header("Content-Type", "application/json")
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        if send_body:
            self.wfile.write(data)


class Server(http.server.ThreadingHTTPServer):
    daemon_threads = True
    allow_reuse_address = True

    def handle_error(self, request, client_address):
        # Clients that hang up mid-body (and our own resets) are routine here.
        if not isinstance(sys.exc_info()[1], (ConnectionError, OSError)):
            super().handle_error(request, client_address)


def write_port_file(path, port):
    tmp = path.with_name(path.name + ".tmp")
    tmp.write_text(f"{port}\n")
    os.replace(tmp, path)


def watch_parent(server, parent):
    # A launcher killed outright (a test timeout) cannot stop us: leave with it.
    while os.getppid() == parent:
        time.sleep(0.5)
    server.shutdown()


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--root", type=pathlib.Path, required=True,
                        help="folder whose files are served under " + PACKAGE_PREFIX)
    parser.add_argument("--host", default="127.0.0.1")
    parser.add_argument("--port", type=int, default=0, help="0 takes a free port")
    parser.add_argument("--port-file", type=pathlib.Path,
                        help="written with the port once the server listens")
    parser.add_argument("--fault", type=parse_fault, action="append", default=[],
                        metavar="FILE=MODE")
    parser.add_argument("--drip-seconds", type=float, default=2.0,
                        help="how long a dripped body takes in total")
    parser.add_argument("--exit-with-parent", action="store_true",
                        help="stop when the process that started us ends")
    parser.add_argument("--verbose", action="store_true")
    args = parser.parse_args(argv)

    if not args.root.is_dir():
        parser.error(f"--root {args.root}: not a folder")

    server = Server((args.host, args.port), Handler)
    server.state = State(args.root, dict(args.fault), args.drip_seconds)
    server.verbose = args.verbose
    port = server.server_address[1]

    def stop(signum, frame):
        threading.Thread(target=server.shutdown, daemon=True).start()

    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGINT, stop)
    if args.exit_with_parent:
        threading.Thread(target=watch_parent, args=(server, os.getppid()), daemon=True).start()
    if args.port_file:
        write_port_file(args.port_file, port)
    print(f"packserver: serving {args.root} on http://{args.host}:{port}{PACKAGE_PREFIX}",
          file=sys.stderr, flush=True)
    try:
        server.serve_forever(poll_interval=0.2)
    finally:
        server.server_close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
