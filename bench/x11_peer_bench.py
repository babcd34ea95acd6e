#!/usr/bin/env python3
"""x11_peer_bench.py: Tolvan side by side with AutoKey on the X display in DISPLAY.

Each expander in turn gets the same phrases and its own xterm, whose program records every
byte it receives with a monotonic time stamp. Keys are sent through XTest, the time of the
trigger key's press is taken on the same clock, and the recording says when the last byte of
the expansion arrived. Reported per expander:
  - short: "btw" + space -> "by the way ", trigger to last byte, over 20 runs;
  - long: a 10,000-character expansion typed, characters per second, every character in order,
    into the terminal, and into a GTK text view in lines of 70;
  - clipboard: the same 10,000 characters through the clipboard, into the terminal and into
    a GTK text view, trigger to arrival and to the user's clipboard being back (xclip polls
    it).
Last, the same long texts are sent by XTest alone, as fast as it takes them: what the terminal
and the GTK field can take in, the ceiling of the typing figures.

  x11_peer_bench.py TOLVAN_CLI [TEXT_FIELD_APP]
                                      run the comparison (needs xterm, xclip; AutoKey is
                                      measured when autokey-gtk is installed; the GTK field
                                      when the test application is given)
  x11_peer_bench.py record FILE       the recorder, run inside the xterm
"""
import ctypes
import json
import os
import random
import shutil
import statistics
import struct
import subprocess
import sys
import tempfile
import time

SHORT_RUNS = 20
LONG_CHARS = 10_000
USER_CLIPBOARD = "the user's own clipboard text"
RECORD = struct.Struct("<QI")


# --- the recorder -------------------------------------------------------------------------

def record(path):
    import tty
    tty.setraw(0)
    with open(path, "wb", buffering=0) as out:
        while True:
            data = os.read(0, 65536)
            if not data:
                return
            out.write(RECORD.pack(time.monotonic_ns(), len(data)) + data)


class Recording:
    """What the xterm received: (time stamp, bytes) chunks, read as they come."""

    def __init__(self, path):
        self.path, self.offset, self.chunks = path, 0, []

    def poll(self):
        with open(self.path, "rb") as f:
            f.seek(self.offset)
            data = f.read()
        pos = 0
        while pos + RECORD.size <= len(data):
            stamp, n = RECORD.unpack_from(data, pos)
            if pos + RECORD.size + n > len(data):
                break
            self.chunks.append((stamp, data[pos + RECORD.size:pos + RECORD.size + n]))
            pos += RECORD.size + n
        self.offset += pos

    def text(self):
        """The line as a terminal user sees it: DEL and BS erase the character before."""
        out = []
        for _, data in self.chunks:
            for c in data.decode("utf-8", errors="replace"):
                if c in "\x7f\x08":
                    if out:
                        out.pop()
                else:
                    out.append(c)
        return "".join(out)

    def last_stamp(self):
        return self.chunks[-1][0] if self.chunks else 0

    def wait_for(self, expected, timeout_s):
        """Waits until the text ends with `expected`; answers the time stamp of the chunk
        that completed it, or None."""
        deadline = time.monotonic() + timeout_s
        while time.monotonic() < deadline:
            self.poll()
            if self.text().endswith(expected):
                return self.last_stamp()
            time.sleep(0.0005)
        return None


# --- XTest --------------------------------------------------------------------------------

class Keys:
    def __init__(self):
        self.x = ctypes.CDLL("libX11.so.6")
        self.xtst = ctypes.CDLL("libXtst.so.6")
        self.x.XOpenDisplay.restype = ctypes.c_void_p
        self.x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x.XStringToKeysym.restype = ctypes.c_ulong
        self.x.XStringToKeysym.argtypes = [ctypes.c_char_p]
        self.x.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        self.x.XKeysymToKeycode.restype = ctypes.c_ubyte
        self.x.XFlush.argtypes = [ctypes.c_void_p]
        self.x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        self.x.XkbKeycodeToKeysym.argtypes = [ctypes.c_void_p, ctypes.c_ubyte, ctypes.c_int,
                                              ctypes.c_int]
        self.x.XkbKeycodeToKeysym.restype = ctypes.c_ulong
        self.xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int,
                                                ctypes.c_ulong]
        self.display = self.x.XOpenDisplay(None)
        if not self.display:
            sys.exit("x11_peer_bench: cannot open the X display")

    def code(self, keysym_name):
        return self.x.XKeysymToKeycode(self.display, self.x.XStringToKeysym(keysym_name.encode()))

    def press(self, keysym_name):
        """Press and release; answers the monotonic time just before the press went out."""
        code = self.code(keysym_name)
        stamp = time.monotonic_ns()
        self.xtst.XTestFakeKeyEvent(self.display, code, 1, 0)
        self.x.XFlush(self.display)
        time.sleep(0.01)
        self.xtst.XTestFakeKeyEvent(self.display, code, 0, 0)
        self.x.XSync(self.display, 0)
        return stamp

    def type_text(self, text):
        """Every character of `text` as fast as XTest takes them (Shift where the character
        needs it); answers the monotonic time just before the first press."""
        shift = self.code("Shift_L")
        strokes = []
        for c in text:
            sym = 0xFF0D if c == "\n" else ord(c)
            code = self.x.XKeysymToKeycode(self.display, sym)
            strokes.append((code, self.x.XkbKeycodeToKeysym(self.display, code, 0, 0) != sym))
        stamp = time.monotonic_ns()
        for code, shifted in strokes:
            if shifted:
                self.xtst.XTestFakeKeyEvent(self.display, shift, 1, 0)
            self.xtst.XTestFakeKeyEvent(self.display, code, 1, 0)
            self.xtst.XTestFakeKeyEvent(self.display, code, 0, 0)
            if shifted:
                self.xtst.XTestFakeKeyEvent(self.display, shift, 0, 0)
            self.x.XFlush(self.display)
        return stamp

    def type_word(self, word):
        for c in word:
            self.press(c)
            time.sleep(0.02)


# --- the expanders ------------------------------------------------------------------------

def long_text(line_length=None):
    """LONG_CHARS characters; with a line length, every so many of them is a line break (a
    text view lays a whole line out again for each character typed into it)."""
    rng = random.Random(7)
    alphabet = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 .,;:-?"
    return "".join("\n" if line_length and i % line_length == line_length - 1 else rng.choice(alphabet)
                   for i in range(LONG_CHARS))


def xml_escape(text):
    return (text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")
            .replace('"', "&quot;").replace("\n", "&#10;"))


class Tolvan:
    name = "Tolvan"
    accepts_default_xterm = True

    def __init__(self, cli, work):
        self.cli, self.work, self.proc = cli, work, None

    def start(self, phrases, clipboard, terminal=True):
        config = os.path.join(self.work, "tolvan-config")
        shutil.rmtree(config, ignore_errors=True)
        os.makedirs(config)
        for key, value in (("output_method", "1" if clipboard else "0"),
                           ("use_clipboard_more_than", "0"), ("clipboard_restore", "1")):
            subprocess.run([self.cli, "--config-dir", config, "prefs", "set", key, value],
                           check=True, stdout=subprocess.DEVNULL)
        entries = "".join(
            f'<a a="{xml_escape(a)}" d="" e="{xml_escape(e)}" c="0" t="5" r="0" '
            f'x="030f07dc0e0509" y="030f07dc0e0509"/>' for a, e in phrases.items())
        library = os.path.join(self.work, "bench.tlv")
        with open(library, "w") as f:
            f.write('<Tolvan n="All Abbreviations / Folders" t="0" d="0" m="1">'
                    f'<f n="Bench" t="0" d="0">{entries}</f></Tolvan>')
        self.proc = subprocess.Popen([self.cli, "--config-dir", config, "run", "--library", library],
                                     stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        if self.proc.stdout.readline().strip() != "ready":
            sys.exit("x11_peer_bench: tolvan-cli run did not get ready")

    def stop(self):
        self.proc.terminate()
        self.proc.wait()


class AutoKey:
    name = "AutoKey"
    accepts_default_xterm = False  # it sends events that xterm ignores unless told

    def __init__(self, work):
        self.work, self.proc = work, None

    @staticmethod
    def available():
        return shutil.which("autokey-gtk") is not None

    def start(self, phrases, clipboard, terminal=True):
        home = os.path.join(self.work, "autokey-home")
        shutil.rmtree(home, ignore_errors=True)
        data = os.path.join(home, ".config", "autokey", "data", "Bench")
        os.makedirs(data)
        with open(os.path.join(data, ".folder.json"), "w") as f:
            json.dump({"type": "folder", "title": "Bench", "modes": [], "usageCount": 0,
                       "showInTrayMenu": False, "abbreviation": self.abbreviation([]),
                       "hotkey": {"modifiers": [], "hotKey": None},
                       "filter": {"regex": None, "isRecursive": False}}, f)
        for i, (abbreviation, expansion) in enumerate(phrases.items()):
            with open(os.path.join(data, f"p{i}.txt"), "w") as f:
                f.write(expansion)
            with open(os.path.join(data, f".p{i}.json"), "w") as f:
                json.dump({"type": "phrase", "description": f"p{i}", "modes": [1],
                           "usageCount": 0, "prompt": False, "omitTrigger": False,
                           "matchCase": False, "showInTrayMenu": False,
                           "abbreviation": self.abbreviation([abbreviation]),
                           "hotkey": {"modifiers": [], "hotKey": None},
                           "filter": {"regex": None, "isRecursive": False},
                           "sendMode": self.send_mode(clipboard, terminal)}, f)
        # Without a configuration file AutoKey makes its sample folders and ignores ours.
        with open(os.path.join(home, ".config", "autokey", "autokey.json"), "w") as f:
            json.dump({"version": "0.95.10", "userCodeDir": None, "settings": {}, "folders": [],
                       "toggleServiceHotkey": {"enabled": True, "modifiers": ["<shift>", "<super>"],
                                               "hotKey": "k"},
                       "configHotkey": {"enabled": True, "modifiers": ["<super>"], "hotKey": "k"}}, f)
        env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"),
                   XDG_DATA_HOME=os.path.join(home, ".local", "share"))
        log = os.path.join(self.work, f"autokey-{self.send_mode(clipboard, terminal)}.log")
        self.log = open(log, "w")
        self.proc = subprocess.Popen(["autokey-gtk", "-l"], env=env, stdout=self.log,
                                     stderr=subprocess.STDOUT)
        # Its log says when it listens to the keyboard; it settles a moment after that.
        deadline = time.monotonic() + 30
        while time.monotonic() < deadline:
            with open(log) as f:
                if "Entering main()" in f.read():
                    break
            time.sleep(0.1)
        else:
            sys.exit("x11_peer_bench: autokey-gtk did not start")
        time.sleep(1)

    @staticmethod
    def send_mode(clipboard, terminal):
        if not clipboard:
            return "kb"
        return "<ctrl>+<shift>+v" if terminal else "<ctrl>+v"

    @staticmethod
    def abbreviation(abbreviations):
        return {"abbreviations": abbreviations, "backspace": True, "ignoreCase": False,
                "immediate": False, "triggerInside": False, "wordChars": "[\\w]"}

    def stop(self):
        self.proc.terminate()
        try:
            self.proc.wait(5)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.proc.wait()
        self.log.close()


# --- the measurements ---------------------------------------------------------------------

class Terminal:
    def __init__(self, work, name, accept_send_events):
        self.path = os.path.join(work, f"{name}.rec")
        open(self.path, "wb").close()
        # Shift+Ctrl+V pastes the clipboard, as in the common terminals (xterm's own default
        # is the primary selection on Shift+Insert).
        args = ["xterm", "-geometry", "200x50", "-xrm",
                "*VT100.translations: #override Shift Ctrl <Key>V: insert-selection(CLIPBOARD)"]
        if accept_send_events:
            args += ["-xrm", "*allowSendEvents: true"]
        args += ["-e", sys.executable, os.path.abspath(__file__), "record", self.path]
        self.proc = subprocess.Popen(args, env=dict(os.environ, LANG="C.UTF-8"))
        window = subprocess.run(["xdotool", "search", "--sync", "--pid", str(self.proc.pid)],
                                capture_output=True, text=True).stdout.split()
        subprocess.run(["xdotool", "windowactivate", "--sync", window[0]], check=False)
        time.sleep(0.5)
        self.recording = Recording(self.path)

    def close(self):
        self.proc.terminate()
        self.proc.wait()


class GtkField:
    """The GTK test application's text view, which reports its text to a file after each
    change, or once no change has come for 20 ms (for thousands of typed characters, each of
    which would otherwise write the whole text again; the measure includes the wait)."""

    def __init__(self, app, work, when_idle=False):
        self.report = os.path.join(work, "field.json")
        if os.path.exists(self.report):
            os.remove(self.report)
        self.proc = subprocess.Popen([app, "--report", self.report, "--focus", "text"] +
                                     (["--report-when-idle"] if when_idle else []),
                                     stdout=subprocess.PIPE, text=True)
        if self.proc.stdout.readline().strip() != "ready":
            sys.exit("x11_peer_bench: the GTK field did not get ready")
        time.sleep(0.3)

    def text(self):
        try:
            with open(self.report) as f:
                return json.load(f)["text"]
        except (OSError, ValueError):
            return ""

    def wait_for(self, expected, timeout_s):
        deadline = time.monotonic() + timeout_s
        while time.monotonic() < deadline:
            if self.text().endswith(expected):
                return time.monotonic_ns()
            time.sleep(0.0005)
        return None

    def close(self):
        self.proc.terminate()
        self.proc.wait()


def clipboard_text():
    r = subprocess.run(["xclip", "-o", "-selection", "clipboard"], capture_output=True,
                       timeout=2)
    return r.stdout.decode("utf-8", errors="replace") if r.returncode == 0 else None


def set_user_clipboard():
    # xclip keeps serving the selection from the background until another owner comes.
    p = subprocess.Popen(["xclip", "-i", "-selection", "clipboard"], stdin=subprocess.PIPE)
    p.communicate(USER_CLIPBOARD.encode())
    for _ in range(100):
        if clipboard_text() == USER_CLIPBOARD:
            return
        time.sleep(0.02)
    sys.exit("x11_peer_bench: xclip did not take the clipboard")


def measure_short(keys, terminal):
    latencies, expected = [], ""
    for _ in range(SHORT_RUNS):
        keys.type_word("btw")
        time.sleep(0.15)
        trigger = keys.press("space")
        expected += "by the way "
        done = terminal.recording.wait_for(expected, 5)
        if done is None:
            return None
        latencies.append((done - trigger) / 1e6)
        time.sleep(0.2)
    return latencies


def measure_long(keys, target, text):
    before = target.text()
    keys.type_word("qqlong")
    time.sleep(0.15)
    trigger = keys.press("space")
    done = target.wait_for(text + " ", 120)
    if done is None:
        got = target.text()[len(before):]
        return None, len(got)
    return (done - trigger) / 1e9, LONG_CHARS


def measure_clipboard(keys, wait_for, text):
    set_user_clipboard()
    keys.type_word("qqlong")
    time.sleep(0.15)
    trigger = keys.press("space")
    arrived = wait_for(text + " ", 10)
    if arrived is None:
        return None, None
    restored = None
    deadline = time.monotonic() + 5
    while time.monotonic() < deadline:
        if clipboard_text() == USER_CLIPBOARD:
            restored = time.monotonic_ns()
            break
    return (arrived - trigger) / 1e6, (restored - trigger) / 1e6 if restored else None


def run_expander(expander, work, keys, text, field_app):
    phrases = {"btw": "by the way", "qqlong": text}
    report = {}
    expander.start(phrases, clipboard=False)
    terminal = Terminal(work, expander.name + "-typing", not expander.accepts_default_xterm)
    time.sleep(0.2)
    report["short"] = measure_short(keys, terminal)
    report["long"] = measure_long(keys, terminal.recording, text)
    terminal.close()
    expander.stop()

    expander.start(phrases, clipboard=True)
    terminal = Terminal(work, expander.name + "-clipboard", not expander.accepts_default_xterm)
    time.sleep(0.2)
    report["clipboard"] = measure_clipboard(keys, terminal.recording.wait_for, text)
    terminal.close()
    expander.stop()

    report["field clipboard"] = report["field long"] = None
    if field_app:
        lines = long_text(line_length=70)
        expander.start({"qqlong": lines}, clipboard=False, terminal=False)
        field = GtkField(field_app, work, when_idle=True)
        report["field long"] = measure_long(keys, field, lines)
        field.close()
        expander.stop()

        expander.start(phrases, clipboard=True, terminal=False)
        field = GtkField(field_app, work)
        report["field clipboard"] = measure_clipboard(keys, field.wait_for, text)
        field.close()
        expander.stop()
    return report


def measure_bare(work, keys, text, field_app):
    """What the applications take in when XTest sends them the text with no expander in
    between: the ceiling of the typing figures above. {where: characters per second}."""
    rates = {}
    terminal = Terminal(work, "bare", False)
    started = keys.type_text(text)
    done = terminal.recording.wait_for(text, 120)
    terminal.close()
    if done:
        rates["the terminal"] = LONG_CHARS / ((done - started) / 1e9)
    if field_app:
        lines = long_text(line_length=70)
        field = GtkField(field_app, work, when_idle=True)
        started = keys.type_text(lines)
        done = field.wait_for(lines, 120)
        field.close()
        if done:
            rates["the GTK field"] = LONG_CHARS / ((done - started) / 1e9)
    return rates


def print_report(name, report, note):
    print(f"{name}{note}")
    short = report["short"]
    if short:
        print(f"  btw -> 'by the way ': median {statistics.median(short):.2f} ms, "
              f"min {min(short):.2f}, max {max(short):.2f} ({len(short)} runs)")
    else:
        print("  btw -> 'by the way ': did not complete")
    for key, where in (("long", "the terminal"), ("field long", "the GTK field")):
        if report[key] is None:
            continue
        seconds, chars = report[key]
        if seconds:
            print(f"  {LONG_CHARS} characters typed into {where}: {seconds * 1000:.0f} ms, "
                  f"{chars / seconds:,.0f} characters/s, all in order")
        else:
            print(f"  {LONG_CHARS} characters typed into {where}: incomplete ({chars} arrived)")
    for key, where in (("clipboard", "the terminal"), ("field clipboard", "the GTK field")):
        if report[key] is None:
            continue
        arrived, restored = report[key]
        if arrived is None:
            print(f"  {LONG_CHARS} characters by clipboard: nothing pasted into {where}")
        else:
            back = f"{restored:.0f} ms" if restored else "not restored within 5 s"
            print(f"  {LONG_CHARS} characters by clipboard into {where}: pasted after {arrived:.0f} ms, "
                  f"user's clipboard back after {back}")


def main():
    if len(sys.argv) == 3 and sys.argv[1] == "record":
        record(sys.argv[2])
        return
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    field_app = sys.argv[2] if len(sys.argv) == 3 else None
    work = tempfile.mkdtemp(prefix="tolvan-peer-bench-")
    keys, text = Keys(), long_text()
    subprocess.run(["setxkbmap", "us"], check=False)
    reports = [(Tolvan(sys.argv[1], work), "")]
    if AutoKey.available():
        reports.append((AutoKey(work), " (xterm set to accept synthetic events: allowSendEvents)"))
    else:
        print("AutoKey (autokey-gtk) is not installed: Tolvan alone is measured")
    for expander, note in reports:
        print_report(expander.name, run_expander(expander, work, keys, text, field_app), note)
    print("XTest alone, no expander (what the applications take in at most)")
    for where, rate in measure_bare(work, keys, text, field_app).items():
        print(f"  {LONG_CHARS} characters typed into {where}: {rate:,.0f} characters/s")
    shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
