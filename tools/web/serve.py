#!/usr/bin/env python3
"""Serves a built site on 127.0.0.1, as a static web host would.

    serve.py SITE_DIR [PORT]    (port 8000; 0 takes any free one)
"""
import functools
import http.server
import sys


class Handler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      '.wasm': 'application/wasm', '.js': 'text/javascript',
                      '.data': 'application/octet-stream'}

    def log_message(self, *arguments):
        pass


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    site = sys.argv[1]
    port = int(sys.argv[2]) if len(sys.argv) == 3 else 8000
    server = http.server.ThreadingHTTPServer(
        ('127.0.0.1', port), functools.partial(Handler, directory=site))
    print(f'Quorbel in the browser: http://127.0.0.1:{server.server_address[1]}/ '
          f'(examples: /examples/). Ctrl+C stops.', flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass


if __name__ == '__main__':
    main()
