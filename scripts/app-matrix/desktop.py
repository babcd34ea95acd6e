"""The desktop as a user works it: typing and keys with xdotool, the two selections with
xclip, windows found by their titles, and waiting for something to happen."""

import subprocess
import time

TYPE_DELAY_MS = 80


def xdotool(*args, timeout=60):
    result = subprocess.run(["xdotool", *args], capture_output=True, text=True,
                            timeout=timeout)
    return result.stdout.strip() if result.returncode == 0 else None


def type_text(text):
    # One key every 80 ms, as a quick typist; "--" keeps a leading dash from being an option.
    xdotool("type", "--delay", str(TYPE_DELAY_MS), "--", text, timeout=600)


def keys(*names):
    xdotool("key", "--delay", str(TYPE_DELAY_MS), *names)


def set_selection(selection, text):
    # xclip stays behind as the selection's owner until another program takes it over.
    subprocess.run(["xclip", "-selection", selection, "-i"], input=text.encode(),
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)


def selection_text(selection):
    """The selection's text, or None when its owner gives none within two seconds."""
    try:
        result = subprocess.run(["xclip", "-selection", selection, "-o", "-t", "UTF8_STRING"],
                                capture_output=True, timeout=2)
    except subprocess.TimeoutExpired:
        return None
    if result.returncode != 0:
        return None
    return result.stdout.decode("utf-8", errors="replace")


def window_by_name(pattern, pid_alive=lambda: True, seconds=60):
    """The first visible window whose title matches the regular expression, or None."""
    found = poll(lambda: (xdotool("search", "--onlyvisible", "--name", pattern) or "").split(),
                 seconds=seconds, alive=pid_alive)
    return found[0] if found else None


def activate(window):
    xdotool("windowactivate", "--sync", window, timeout=10)
    poll(lambda: xdotool("getactivewindow") == window, seconds=5)


def click_centre(window):
    geometry = xdotool("getwindowgeometry", "--shell", window) or ""
    size = dict(line.split("=", 1) for line in geometry.splitlines() if "=" in line)
    width, height = int(size.get("WIDTH", "200")), int(size.get("HEIGHT", "200"))
    xdotool("mousemove", "--window", window, str(width // 2), str(height // 2), "click", "1")


def poll(probe, seconds, interval=0.1, alive=lambda: True):
    """probe's first true value within `seconds`, else its last value."""
    deadline = time.monotonic() + seconds
    value = probe()
    while not value and time.monotonic() < deadline and alive():
        time.sleep(interval)
        value = probe()
    return value


def settle(read, done, quiet_seconds=5.0, limit_seconds=180):
    """Reads until `done` holds for what `read` returns, or until it has not changed for
    `quiet_seconds` (the typing is over, finished or not; a busy application may show
    nothing new for seconds while keys wait in its queue). Returns the last reading."""
    last = read()
    changed = time.monotonic()
    deadline = changed + limit_seconds
    while not done(last) and time.monotonic() < deadline:
        time.sleep(0.1)
        now = read()
        if now != last:
            last, changed = now, time.monotonic()
        elif time.monotonic() - changed >= quiet_seconds:
            break
    return last
