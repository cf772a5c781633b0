#!/usr/bin/env python3
"""A local stand-in for the web host's version page, for the update check's
tests. Binds 127.0.0.1 on a free port, writes the port to PORTFILE and serves
until killed. MODE: newer (a version reply offering 2.40 with notes), error
(a 404 page), stall (accepts the request and never answers).
Usage: version_server.py MODE PORTFILE"""
import http.server
import sys
import time

MODE = sys.argv[1]
REPLY = b"version\r\n2.40\r\nNew caption engine.\r\nFaster start.\r\n"


class Handler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        if MODE == "stall":
            time.sleep(600)
            return
        if MODE == "newer" and self.path == "/program/version_orvesmp.php":
            body, status = REPLY, 200
        else:
            body, status = b"<html><body>Not Found</body></html>", 404
        self.send_response(status)
        self.send_header("Content-Type", "text/plain")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
server.daemon_threads = True
with open(sys.argv[2], "w") as f:
    f.write(str(server.server_address[1]))
server.serve_forever()
