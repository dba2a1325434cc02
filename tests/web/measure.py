#!/usr/bin/env python3
"""Figures of the web build: what the page downloads, how long it takes to
its first frame, and frames per second at the bench's seventeen times in
Chromium on Mesa's llvmpipe next to the desktop build's on the same machine.

    tests/web/measure.py WEB_DIR RUN_DIR [--seconds S] [--loads N] [--at T,...]

WEB_DIR is the built web folder (build/web/bin), RUN_DIR the desktop release
run folder. Prints Markdown tables (docs/web.md holds the latest). The
browser runs as a person's would, paced by the display's 60 Hz: unpaced
(no vsync, no frame rate limit) it queues frames faster than the GPU process
draws them and shows fewer.
"""

import argparse
import gzip
import json
import os
import re
import statistics
import subprocess
import time

from browser import Browser
from page_server import PageServer

BENCH_TIMES = (2, 13, 23, 26.5, 29.5, 37.5, 48.5, 66, 83.5, 92, 101.5, 106.5, 111, 125.5, 145.5, 163, 175.5)

# Records when the page first says it is ready, in the page's own clock
# (milliseconds since navigation started).
READY_PROBE = """
new MutationObserver(() => {
  if (document.title === 'hush ready' && window.hushReadyMs === undefined) window.hushReadyMs = performance.now();
}).observe(document, {subtree: true, childList: true, characterData: true});
"""


def load():
    return open("/proc/loadavg").read().split()[:3]


def packaged_files(web_dir):
    """{name: bytes} of the data package's files, from its loader's metadata."""
    text = open(os.path.join(web_dir, "hush.data.js")).read()
    files = {}
    for entry in re.finditer(r'"filename":\s*"([^"]+)",\s*"start":\s*(\d+),\s*"end":\s*(\d+)', text):
        files[entry.group(1)] = int(entry.group(3)) - int(entry.group(2))
    return files


def download_sizes(web_dir):
    rows = []
    for name in sorted(os.listdir(web_dir)):
        if name.startswith("hush.") and os.path.isfile(os.path.join(web_dir, name)):
            data = open(os.path.join(web_dir, name), "rb").read()
            rows.append((name, len(data), len(gzip.compress(data, 6))))
    files = packaged_files(web_dir)
    pictures = sum(size for name, size in files.items() if re.search(r"\.(jpg|png|tga)$", name))
    music = sum(size for name, size in files.items() if name.endswith(".mp3"))
    return rows, pictures, music, files


def mb(size):
    return "%.2f MB" % (size / 1e6)


def open_page(browser, url):
    # An empty page between two shows, so that nothing of the last one's
    # frames is still queued when the next starts.
    browser.open("about:blank")
    browser.wait_for("location.href === 'about:blank'", 60)
    browser.open(url)


def first_frame_seconds(browser, server, loads):
    times = []
    for _ in range(loads):
        open_page(browser, server.url("hush.html", "windowed"))
        browser.wait_for_title("hush ready", 180)
        times.append(browser.evaluate("window.hushReadyMs") / 1000)
    return times


def web_fps(browser, server, t, seconds):
    open_page(browser, server.url("hush.html", "windowed&hold=%s" % t))
    browser.wait_for_title("hush ready", 180)
    time.sleep(2)  # shaders compiled, caches warm
    start_frames, start = browser.evaluate("[window.hushFrames, performance.now()]")
    time.sleep(seconds)
    end_frames, end = browser.evaluate("[window.hushFrames, performance.now()]")
    return (end_frames - start_frames) * 1000 / (end - start)


def desktop_fps(run_dir, t, frames):
    env = dict(os.environ, SDL_VIDEODRIVER="offscreen", SDL_AUDIODRIVER="dummy")
    output = subprocess.run(
        ["./hush", "--bench", "--at", str(t), "--frames", str(frames), "--json"],
        cwd=run_dir, env=env, check=True, capture_output=True, text=True, timeout=600,
    ).stdout
    median_ms = json.loads(output)["times"][0]["frame_ms"]["median"]
    return 1000 / median_ms


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("web_dir")
    parser.add_argument("run_dir")
    parser.add_argument("--seconds", type=float, default=4)
    parser.add_argument("--loads", type=int, default=3)
    parser.add_argument("--frames", type=int, default=60)
    parser.add_argument("--at", default=",".join(str(t) for t in BENCH_TIMES))
    args = parser.parse_args()
    times = [float(t) for t in args.at.split(",")]

    rows, pictures, music, files = download_sizes(args.web_dir)
    total = sum(size for _, size, _ in rows)
    print("## Download\n")
    print("| file | bytes | gzip -6 |")
    print("|---|---:|---:|")
    for name, size, packed in rows:
        print("| `%s` | %s | %s |" % (name, mb(size), mb(packed)))
    print("| all | %s | %s |" % (mb(total), mb(sum(packed for _, _, packed in rows))))
    print("\nOf `hush.data` (%d files): pictures and textures %s (%.0f%% of all), music %s (%.0f%%).\n"
          % (len(files), mb(pictures), 100 * pictures / total, mb(music), 100 * music / total))

    with PageServer(args.web_dir) as server, Browser("llvmpipe") as browser:
        print("renderer:", browser.evaluate(
            "(() => { const gl = document.createElement('canvas').getContext('webgl2');"
            " const info = gl.getExtension('WEBGL_debug_renderer_info');"
            " return gl.getParameter(info.UNMASKED_RENDERER_WEBGL); })()"))
        browser.run_before_each_page(READY_PROBE)
        print("load before:", " ".join(load()))
        ready = first_frame_seconds(browser, server, args.loads)
        print("\n## First frame\n")
        print("`?windowed`, served from this machine: %s s (median of %d: %s)\n"
              % ("%.2f" % statistics.median(ready), len(ready), ", ".join("%.2f" % s for s in ready)))

        print("## Frames per second (Chromium on llvmpipe; desktop `--bench`, %d frames)\n" % args.frames)
        print("| t | web | desktop | web / desktop | load |")
        print("|---:|---:|---:|---:|---|")
        for t in times:
            # The held page goes on drawing: leave it, so the desktop bench
            # has the cores to itself.
            browser.open("about:blank")
            browser.wait_for("location.href === 'about:blank'", 60)
            desktop = desktop_fps(args.run_dir, t, args.frames)
            web = web_fps(browser, server, t, args.seconds)
            print("| %g | %.1f | %.1f | %.2f | %s |" % (t, web, desktop, web / desktop, " ".join(load())), flush=True)


if __name__ == "__main__":
    main()
