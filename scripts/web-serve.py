#!/usr/bin/python3
"""Serves a folder of web pages on 127.0.0.1 until interrupted.

    scripts/web-serve.py FOLDER [--port PORT] [--index PAGE]

The address's root shows PAGE (by default index.html). Port 0 takes any free
port; the first line printed is the address served. Nothing is cached, so a
page rebuilt is the page shown on the next load.
"""
import argparse
import functools
import http.server
import sys


class Handler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      '.wasm': 'application/wasm', '.data': 'application/octet-stream'}

    def __init__(self, *args, index, **kwargs):
        self.index = index
        super().__init__(*args, **kwargs)

    def send_head(self):
        if self.path.split('?', 1)[0] == '/':
            self.path = '/' + self.index + self.path[1:]
        return super().send_head()

    def end_headers(self):
        self.send_header('Cache-Control', 'no-store')
        super().end_headers()

    def log_message(self, format, *args):
        pass


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n\n')[0])
    parser.add_argument('folder')
    parser.add_argument('--port', type=int, default=8000)
    parser.add_argument('--index', default='index.html')
    options = parser.parse_args()
    handler = functools.partial(Handler, directory=options.folder, index=options.index)
    try:
        server = http.server.ThreadingHTTPServer(('127.0.0.1', options.port), handler)
    except OSError as error:
        sys.exit(f'web-serve.py: cannot serve on 127.0.0.1:{options.port}: {error.strerror}')
    print(f'http://127.0.0.1:{server.server_address[1]}/', flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass


if __name__ == '__main__':
    main()
