#!/usr/bin/env python3
"""Loopback HTTP server for the web client tests.

Usage: server.py PORTFILE
Binds 127.0.0.1 on a free port, writes the port number to PORTFILE and serves
until killed. The documents below are repeated in tests/win/http_client_test.cpp.
"""

import collections
import http.server
import os
import select
import signal
import socketserver
import sys
import threading
import time
import urllib.parse

# Chinese text and an emoji (four bytes in UTF-8, outside the BMP).
UTF8_DOC = '{"name":"维维迪维兹","city":"北京","note":"中文测试，数据","emoji":"😀"}'
# GBK cannot encode the emoji, so this copy spells it as a JSON escape: the same
# JSON value in bytes that GBK can carry.
GBK_DOC = '{"name":"维维迪维兹","city":"北京","note":"中文测试，数据","emoji":"\\ud83d\\ude00"}'

# Its GBK bytes (e1 b0 b7 e7 b4 b5 for the three characters) are also valid UTF-8,
# so only the declared charset gives the right text.
AMBIGUOUS_DOC = '{"note":"岚风吹"}'

# How long /slow keeps a connection without answering; far longer than any test.
SLOW_SECONDS = 3600
# /late answers after this pause; /trickle spreads its body over TRICKLE_SECONDS.
LATE_SECONDS = 1.5
TRICKLE_SECONDS = 12
TRICKLE_DOC = '{"slow":"but steady"}'

# How many /slow?tag=NAME requests are waiting now, by NAME: /waiting?tag=NAME tells, so a
# test can act while its request is surely under way.
WAITING = collections.Counter()
WAITING_LOCK = threading.Lock()


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"  # keep-alive, so the client reuses connections
    disable_nagle_algorithm = True  # headers and body go out at once, not 40 ms apart

    def log_message(self, format, *args):  # noqa: A002 - quiet test output
        pass

    def send_body(self, code, body, content_type=None, reason=None):
        self.send_response(code, reason)
        if content_type is not None:
            self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        path, _, query = self.path.partition("?")
        tag = urllib.parse.parse_qs(query).get("tag", [""])[0]
        if path == "/utf8":
            self.send_body(200, UTF8_DOC.encode("utf-8"), "application/json; charset=utf-8")
        elif path == "/utf8-bom":
            self.send_body(200, b"\xef\xbb\xbf" + UTF8_DOC.encode("utf-8"), "application/json; charset=UTF-8")
        elif path == "/utf16":
            # Quoted charset value and no byte-order mark: only the header tells.
            self.send_body(200, UTF8_DOC.encode("utf-16-le"), 'application/json; charset="UTF-16LE"')
        elif path == "/gbk":
            self.send_body(200, GBK_DOC.encode("gbk"), "application/json; charset=GBK")
        elif path == "/gbk-valid-utf8":
            self.send_body(200, AMBIGUOUS_DOC.encode("gbk"), "application/json; charset=gb2312")
        elif path == "/plain-gbk":
            self.send_body(200, GBK_DOC.encode("gbk"), "application/json")
        elif path == "/echo":
            # The request target exactly as it arrived.
            self.send_body(200, self.path.encode("latin-1"), "text/plain; charset=utf-8")
        elif path == "/missing":
            self.send_body(404, b"no such document", "text/plain", "Not Found")
        elif path == "/error":
            self.send_body(500, b"server failed", "text/plain", "Internal Server Error")
        elif path == "/redirect":
            self.send_response(302)
            self.send_header("Location", "/utf8")
            self.send_header("Content-Length", "0")
            self.end_headers()
        elif path == "/slow":
            self.close_connection = True
            with WAITING_LOCK:
                WAITING[tag] += 1
            try:
                self.wait_for_client_to_leave()
            finally:
                with WAITING_LOCK:
                    WAITING[tag] -= 1
        elif path == "/waiting":
            with WAITING_LOCK:
                count = WAITING[tag]
            self.send_body(200, str(count).encode("ascii"), "text/plain")
        elif path == "/closes":
            self.close_connection = True
            self.send_response(200)
            self.send_header("Content-Type", "application/json; charset=utf-8")
            self.send_header("Content-Length", "1000")
            self.end_headers()
            self.wfile.write(b'{"cut":')
            self.wfile.flush()
        elif path == "/late":
            # Answers in full, but only after a pause well inside any time-out.
            time.sleep(LATE_SECONDS)
            self.send_body(200, UTF8_DOC.encode("utf-8"), "application/json; charset=utf-8")
        elif path == "/trickle":
            # A complete document, one byte at a time: each wait is short, the whole is long.
            body = TRICKLE_DOC.encode("utf-8")
            self.close_connection = True
            self.send_response(200)
            self.send_header("Content-Type", "application/json; charset=utf-8")
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.flush()
            try:
                for i in range(len(body)):
                    time.sleep(TRICKLE_SECONDS / len(body))
                    self.wfile.write(body[i : i + 1])
                    self.wfile.flush()
            except OSError:
                pass  # the client gave up
        elif path == "/bad-utf8":
            # Declared UTF-8, but with a byte that cannot start a character.
            self.send_body(200, b'{"bad":"a\xffb"}', "application/json; charset=utf-8")
        else:
            self.send_body(404, b"unknown route", "text/plain", "Not Found")

    def wait_for_client_to_leave(self):
        # Never answers; returns once the client hangs up so threads do not pile up.
        deadline = time.monotonic() + SLOW_SECONDS
        sock = self.connection
        while time.monotonic() < deadline:
            readable, _, _ = select.select([sock], [], [], 1.0)
            if readable:
                try:
                    if not sock.recv(4096):
                        return
                except OSError:
                    return


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True  # a waiting /slow handler must not keep the process alive
    allow_reuse_address = True


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: server.py PORTFILE")
    port_file = sys.argv[1]
    # Scripts start this in the background, where the shell ignores SIGINT; stop on it anyway.
    signal.signal(signal.SIGINT, signal.default_int_handler)
    server = Server(("127.0.0.1", 0), Handler)
    tmp = "%s.%d.tmp" % (port_file, os.getpid())
    with open(tmp, "w") as f:
        f.write(str(server.server_address[1]))
    os.replace(tmp, port_file)  # readers see the whole number or no file
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    finally:
        server.server_close()


if __name__ == "__main__":
    main()
