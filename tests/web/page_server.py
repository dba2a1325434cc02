"""A local HTTP server for the web build, in a thread.

It serves the union of a few folders (the first that holds a name wins), so
a test can put another data package in front of the build's own.
"""

import http.server
import os
import threading

_TYPES = {
    ".html": "text/html",
    ".js": "text/javascript",
    ".wasm": "application/wasm",
    ".data": "application/octet-stream",
}


class _Handler(http.server.BaseHTTPRequestHandler):
    folders = ()

    def do_GET(self):
        name = self.path.split("?", 1)[0].split("#", 1)[0].lstrip("/")
        if not name or ".." in name.split("/"):
            self.send_error(404)
            return
        for folder in self.folders:
            path = os.path.join(folder, name)
            if os.path.isfile(path):
                break
        else:
            self.send_error(404)
            return
        with open(path, "rb") as file:
            body = file.read()
        self.send_response(200)
        self.send_header("Content-Type", _TYPES.get(os.path.splitext(name)[1], "application/octet-stream"))
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Cache-Control", "no-store")
        # Cross-origin isolation, for a build that uses threads.
        self.send_header("Cross-Origin-Opener-Policy", "same-origin")
        self.send_header("Cross-Origin-Embedder-Policy", "require-corp")
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


class PageServer:
    """Serves FOLDERS on 127.0.0.1 at a free port until closed."""

    def __init__(self, *folders):
        handler = type("Handler", (_Handler,), {"folders": tuple(os.path.abspath(f) for f in folders)})
        self._server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        self._server.daemon_threads = True
        self._thread = threading.Thread(target=self._server.serve_forever, daemon=True)
        self._thread.start()

    def url(self, name, query=""):
        return "http://127.0.0.1:%d/%s%s" % (self._server.server_port, name, "?" + query if query else "")

    def close(self):
        self._server.shutdown()
        self._server.server_close()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()
