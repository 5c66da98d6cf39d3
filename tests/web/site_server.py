#!/usr/bin/python3
"""Serves a folder of the site on 127.0.0.1, for `make serve-web` (the page
test and the benchmark serve it from node, engines.js).

    site_server.py FOLDER [PORT]     serves until interrupted (PORT 8080)
"""
import functools
import http.server
import sys
import threading


class _Quiet(http.server.SimpleHTTPRequestHandler):
    def log_message(self, format, *args):  # noqa: A002 (the base class names it so)
        pass


class _Server(http.server.ThreadingHTTPServer):
    def handle_error(self, request, client_address):
        # A browser that goes away in the middle of a file (a test ends, a
        # page is left) is no fault of the site.
        if not isinstance(sys.exc_info()[1], ConnectionError):
            super().handle_error(request, client_address)


class SiteServer:
    def __init__(self, folder, port=0):
        handler = functools.partial(_Quiet, directory=str(folder))
        self._server = _Server(("127.0.0.1", port), handler)
        self.url = f"http://127.0.0.1:{self._server.server_address[1]}/"
        self._thread = threading.Thread(target=self._server.serve_forever, daemon=True)
        self._thread.start()
        self._stopped = False

    def stop(self):
        """Stops answering: a request from now on finds no server."""
        if not self._stopped:
            self._stopped = True
            self._server.shutdown()
            self._server.server_close()
            self._thread.join()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()


if __name__ == "__main__":
    folder = sys.argv[1]
    port = int(sys.argv[2]) if len(sys.argv) > 2 else 8080
    server = SiteServer(folder, port)
    print(f"Serving {folder} at {server.url} (Ctrl+C ends)", flush=True)
    try:
        threading.Event().wait()
    except KeyboardInterrupt:
        server.stop()
