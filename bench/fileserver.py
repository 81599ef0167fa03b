#!/usr/bin/env python3
"""Serves the files of one folder over HTTP on 127.0.0.1 and a free port.

Prints the port on its first line. Bodies go out with sendfile(), so the
server is not what limits a client's throughput.
"""
import http.server
import os
import sys


class Handler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, format, *args):
        pass

    def copyfile(self, source, outputfile):
        self.wfile.flush()
        self.connection.sendfile(source)


def main():
    os.chdir(sys.argv[1])
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    print(server.server_address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
