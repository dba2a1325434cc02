"""Debian's Chromium driven over the DevTools protocol on a pipe.

Chromium reads commands from its fd 3 and writes answers and events to its
fd 4, each message one JSON object ended by a NUL byte
(--remote-debugging-pipe), so nothing but the standard library is needed.

Two renderers, both headless: "llvmpipe" (ANGLE on Mesa's llvmpipe through
EGL, with no display: the rasteriser the desktop build captures with, and
several times faster) and "swiftshader" (Chromium's own software GL).
"""

import base64
import json
import os
import queue
import shutil
import subprocess
import tempfile
import threading
import time

VIEWPORT = (1024, 768)

_COMMON_FLAGS = [
    "--no-sandbox",
    "--no-first-run",
    "--no-default-browser-check",
    "--disable-extensions",
    "--disable-background-networking",
    "--disable-component-update",
    "--disable-sync",
    "--disable-features=Translate,MediaRouter",
    # A page without focus keeps its full frame rate and timers.
    "--disable-background-timer-throttling",
    "--disable-renderer-backgrounding",
    "--disable-backgrounding-occluded-windows",
    "--autoplay-policy=no-user-gesture-required",
    "--remote-debugging-pipe",
]

_RENDERER_FLAGS = {
    "swiftshader": [
        "--headless=new",
        "--use-angle=swiftshader",
        "--enable-unsafe-swiftshader",
    ],
    "llvmpipe": [
        "--headless=new",
        "--use-angle=gl-egl",
        "--ignore-gpu-blocklist",
    ],
}


class BrowserError(Exception):
    pass


def chromium_path():
    path = os.environ.get("HUSH_CHROMIUM") or shutil.which("chromium")
    if not path:
        raise BrowserError("chromium is not installed (Debian package chromium)")
    return path


class Browser:
    """One Chromium with one page of VIEWPORT's size."""

    def __init__(self, renderer="swiftshader", extra_flags=()):
        if renderer not in _RENDERER_FLAGS:
            raise BrowserError("unknown renderer " + renderer)
        self.renderer = renderer
        self._extra_flags = list(extra_flags)
        self.console = []  # "type: text" of every console call and exception
        self._profile = tempfile.mkdtemp(prefix="hush-chromium-")
        self._next_id = 0
        self._answers = {}
        self._answered = threading.Condition()
        self._events = queue.Queue()
        self._closed = False
        self._process = None
        self._to_browser = self._from_browser = None
        self._log = None
        try:
            self._start()
            self._attach()
        except BaseException:
            self.close()
            raise

    # --- process and pipe ---

    def _start(self):
        environment = dict(os.environ)
        to_browser_read, self._to_browser = os.pipe()
        self._from_browser, from_browser_write = os.pipe()
        width, height = VIEWPORT
        command = [chromium_path()] + _COMMON_FLAGS + _RENDERER_FLAGS[self.renderer] + self._extra_flags + [
            "--user-data-dir=" + self._profile,
            "--window-position=0,0",
            "--window-size=%d,%d" % (width, height),
            "about:blank",
        ]

        def child_fds():
            # Move the pipe ends above 4 first: one of them may be 3 or 4.
            read_end = os.dup(to_browser_read) if to_browser_read in (3, 4) else to_browser_read
            write_end = os.dup(from_browser_write) if from_browser_write in (3, 4) else from_browser_write
            os.dup2(read_end, 3)
            os.dup2(write_end, 4)
            os.set_inheritable(3, True)
            os.set_inheritable(4, True)

        self._log = tempfile.TemporaryFile()
        self._process = subprocess.Popen(
            command,
            stdin=subprocess.DEVNULL,
            env=environment,
            stdout=self._log,
            stderr=self._log,
            close_fds=False,
            preexec_fn=child_fds,
            start_new_session=True,
        )
        os.close(to_browser_read)
        os.close(from_browser_write)
        self._reader = threading.Thread(target=self._read_messages, daemon=True)
        self._reader.start()

    def _read_messages(self):
        pending = b""
        while True:
            try:
                chunk = os.read(self._from_browser, 1 << 20)
            except OSError:
                chunk = b""
            if not chunk:
                break
            pending += chunk
            while b"\0" in pending:
                raw, pending = pending.split(b"\0", 1)
                self._dispatch(json.loads(raw))
        with self._answered:
            self._closed = True
            self._answered.notify_all()

    def _dispatch(self, message):
        if "id" in message:
            with self._answered:
                self._answers[message["id"]] = message
                self._answered.notify_all()
            return
        method = message.get("method", "")
        params = message.get("params", {})
        if method == "Runtime.consoleAPICalled":
            text = " ".join(str(arg.get("value", arg.get("description", ""))) for arg in params.get("args", []))
            self.console.append("%s: %s" % (params.get("type"), text))
        elif method == "Runtime.exceptionThrown":
            details = params.get("exceptionDetails", {})
            exception = details.get("exception", {})
            self.console.append("exception: %s" % exception.get("description", details.get("text")))
        self._events.put(message)

    def browser_log(self):
        self._log.seek(0)
        return self._log.read().decode("utf-8", "replace")

    def send(self, method, params=None, session=True, timeout=60):
        """Sends one command and returns its result; raises on an error."""
        with self._answered:
            self._next_id += 1
            message_id = self._next_id
        message = {"id": message_id, "method": method, "params": params or {}}
        if session:
            message["sessionId"] = self._session
        data = json.dumps(message).encode() + b"\0"
        try:
            os.write(self._to_browser, data)
        except OSError as error:
            raise BrowserError("chromium has gone: %s\n%s" % (error, self.browser_log()))
        deadline = time.monotonic() + timeout
        with self._answered:
            while message_id not in self._answers:
                left = deadline - time.monotonic()
                if self._closed:
                    raise BrowserError("chromium closed the pipe during %s\n%s" % (method, self.browser_log()))
                if left <= 0:
                    raise BrowserError("no answer to %s in %d s" % (method, timeout))
                self._answered.wait(left)
            answer = self._answers.pop(message_id)
        if "error" in answer:
            raise BrowserError("%s: %s" % (method, answer["error"].get("message")))
        return answer.get("result", {})

    def _attach(self):
        deadline = time.monotonic() + 60
        while True:
            targets = self.send("Target.getTargets", session=False)["targetInfos"]
            pages = [target for target in targets if target["type"] == "page"]
            if pages:
                break
            if time.monotonic() > deadline:
                raise BrowserError("chromium opened no page")
            time.sleep(0.1)
        self._session = self.send(
            "Target.attachToTarget", {"targetId": pages[0]["targetId"], "flatten": True}, session=False
        )["sessionId"]
        self.send("Page.enable")
        self.send("Runtime.enable")
        width, height = VIEWPORT
        self.send(
            "Emulation.setDeviceMetricsOverride",
            {"width": width, "height": height, "deviceScaleFactor": 1, "mobile": False},
        )

    @staticmethod
    def _stop(process):
        if process is None or process.poll() is not None:
            return
        try:
            os.killpg(process.pid, 15)
        except ProcessLookupError:
            pass
        try:
            process.wait(10)
        except subprocess.TimeoutExpired:
            os.killpg(process.pid, 9)
            process.wait()

    def close(self):
        self._stop(self._process)
        for fd in (self._to_browser, self._from_browser):
            if fd is not None:
                os.close(fd)
        if self._log:
            self._log.close()
        shutil.rmtree(self._profile, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    # --- page helpers ---

    def open(self, url):
        self.send("Page.navigate", {"url": url})

    def run_before_each_page(self, source):
        """Runs SOURCE in every page opened from now on, before its own scripts."""
        self.send("Page.addScriptToEvaluateOnNewDocument", {"source": source})

    def evaluate(self, expression, timeout=60):
        """The value of a JavaScript expression (promises awaited)."""
        result = self.send(
            "Runtime.evaluate",
            {"expression": expression, "returnByValue": True, "awaitPromise": True},
            timeout=timeout,
        )
        if "exceptionDetails" in result:
            details = result["exceptionDetails"]
            raise BrowserError(
                "%s: %s" % (expression, details.get("exception", {}).get("description", details.get("text")))
            )
        return result["result"].get("value")

    def wait_for(self, expression, timeout, what=None):
        """Waits until a JavaScript expression is true; returns the seconds taken."""
        start = time.monotonic()
        while True:
            if self.evaluate("!!(%s)" % expression):
                return time.monotonic() - start
            if time.monotonic() - start > timeout:
                raise BrowserError(
                    "%s not within %d s; title %r; console:\n%s"
                    % (what or expression, timeout, self.title(), "\n".join(self.console[-30:]))
                )
            time.sleep(0.05)

    def title(self):
        return self.evaluate("document.title")

    def wait_for_title(self, title, timeout):
        return self.wait_for("document.title === %s" % json.dumps(title), timeout, "title %r" % title)

    def box(self, selector):
        """The element's bounding box in CSS pixels: x, y, width, height."""
        box = self.evaluate(
            "(() => { const e = document.querySelector(%s); if (!e) return null;"
            " const r = e.getBoundingClientRect(); return [r.x, r.y, r.width, r.height]; })()" % json.dumps(selector)
        )
        if box is None:
            raise BrowserError("no element " + selector)
        return box

    def click(self, selector):
        """A real mouse click in the middle of the element (a user gesture)."""
        x, y, width, height = self.box(selector)
        centre = {"x": x + width / 2, "y": y + height / 2, "button": "left", "clickCount": 1}
        self.send("Input.dispatchMouseEvent", dict(centre, type="mousePressed"))
        self.send("Input.dispatchMouseEvent", dict(centre, type="mouseReleased"))

    def press_escape(self):
        key = {"key": "Escape", "code": "Escape", "windowsVirtualKeyCode": 27, "nativeVirtualKeyCode": 27}
        self.send("Input.dispatchKeyEvent", dict(key, type="rawKeyDown"))
        self.send("Input.dispatchKeyEvent", dict(key, type="keyUp"))

    def screenshot(self, selector="canvas"):
        """PNG bytes of the element's area as it is on the screen."""
        x, y, width, height = self.box(selector)
        result = self.send(
            "Page.captureScreenshot",
            {"format": "png", "clip": {"x": x, "y": y, "width": width, "height": height, "scale": 1}},
        )
        return base64.b64decode(result["data"])
