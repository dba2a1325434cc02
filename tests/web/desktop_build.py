"""What the desktop build does with the same input: a captured frame, a
start-up message, and how the two builds' pictures compare (ffmpeg's ssim
filter, as scripts/frame-ssim.sh uses)."""

import os
import re
import shutil
import subprocess
import tempfile

_OFFSCREEN = dict(os.environ, SDL_VIDEODRIVER="offscreen", SDL_AUDIODRIVER="dummy")


def capture_frame(run_dir, t, out_png):
    """The desktop build's frame at show time T (1024x768 PNG)."""
    folder = tempfile.mkdtemp(prefix="hush-capture-")
    try:
        subprocess.run(
            ["./hush", "--capture", folder, "--from", str(t), "--to", str(t), "--fps", "30"],
            cwd=run_dir,
            env=_OFFSCREEN,
            check=True,
            capture_output=True,
            timeout=300,
        )
        shutil.move(os.path.join(folder, "frame_000000.png"), out_png)
    finally:
        shutil.rmtree(folder, ignore_errors=True)


def message_without(run_dir, relative_path):
    """(caption, text, exit status) of the desktop build started without one
    data file: without a display its message box goes to standard error as
    `caption: text`."""
    data = tempfile.mkdtemp(prefix="hush-data-")
    try:
        for folder in ("data", "textures"):
            shutil.copytree(os.path.join(run_dir, folder), os.path.join(data, folder), symlinks=True)
        os.remove(os.path.join(data, relative_path))
        process = subprocess.run(
            ["./hush", "--windowed", "--data", data],
            cwd=run_dir,
            env=_OFFSCREEN,
            capture_output=True,
            text=True,
            timeout=60,
        )
    finally:
        shutil.rmtree(data, ignore_errors=True)
    first = process.stderr.splitlines()[0] if process.stderr else ""
    caption, _, text = first.partition(": ")
    return caption, text, process.returncode


def ssim(first_png, second_png):
    """SSIM (All) of two pictures of the same size; 1 is the same picture."""
    result = subprocess.run(
        ["ffmpeg", "-hide_banner", "-nostats", "-i", first_png, "-i", second_png, "-lavfi", "ssim", "-f", "null", "-"],
        capture_output=True,
        text=True,
        timeout=60,
    )
    found = re.search(r"SSIM .* All:([0-9.]+)", result.stderr)
    if not found:
        raise RuntimeError("ffmpeg gave no SSIM:\n" + result.stderr[-2000:])
    return float(found.group(1))
