#!/usr/bin/python3
"""program_start_bench.py TOLVAN: how fast the program starts and how much memory it keeps.

On the X display in DISPLAY, with a fake StatusNotifier tray (tests/e2e/fake_tray_host.py),
for libraries of 1,000 and 100,000 abbreviations:
  - start: from the exec of `tolvan --systray` to "hooks installed, tray icon registered"
    (its progress message, G_MESSAGES_DEBUG=Tolvan), median of the runs;
  - RSS: the resident memory one second after that;
  - a second start while the first runs: from its exec to its end (it hands over and ends),
    over the session bus and, with no bus at all, over the private socket.
Each library is started once before the measured runs, so that its preferences exist and
the runs are ordinary starts (no first-start import, no due backup). That start also leaves
GTK's probe of the display's GL visuals on the display, as any GTK program of the session
would have done before (on a fresh Xvfb the probe loads Mesa's software renderer, some 50 MB). AutoKey (autokey-gtk)
is measured the same way when it is installed, ready when its log says "Entering main()".
"""
import json
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
HOST = os.path.join(HERE, "..", "tests", "e2e", "fake_tray_host.py")
SIZES = (1_000, 100_000)
RUNS = {1_000: 7, 100_000: 3}
READY = "ready: hooks installed, tray icon registered"
AUTOKEY_TIMEOUT = 180


def rss_mb(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1]) / 1024
    return float("nan")


def library_xml(n):
    folders = []
    per_folder = n // 10
    for f in range(10):
        entries = "".join(
            f'<a a="ab{f}x{i}" d="" e="expansion {f} {i} of the benchmark library" c="2" t="5" '
            f'r="0" x="030f07dc0e0509" y="030f07dc0e0509"/>' for i in range(per_folder))
        folders.append(f'<f n="Folder {f}" t="0" d="0">{entries}</f>')
    return ('<Tolvan n="All Abbreviations / Folders" t="0" d="0" m="1">' + "".join(folders) +
            "</Tolvan>")


class Tolvan:
    name = "Tolvan"

    def __init__(self, program, work):
        self.program, self.work = program, work

    def prepare(self, n):
        self.config = os.path.join(self.work, f"tolvan-{n}")
        os.makedirs(self.config, exist_ok=True)
        with open(os.path.join(self.config, "abbreviations.tlv"), "w") as f:
            f.write(library_xml(n))
        self.start_once()  # the first start: preferences, the due backup

    def start_once(self):
        env = dict(os.environ, G_MESSAGES_DEBUG="Tolvan")
        t0 = time.monotonic()
        proc = subprocess.Popen([self.program, "--config-dir", self.config, "--systray"], env=env,
                                stderr=subprocess.PIPE, stdout=subprocess.DEVNULL, text=True)
        for line in proc.stderr:
            if READY in line:
                break
        else:
            sys.exit("program_start_bench: tolvan ended before it was ready")
        elapsed = time.monotonic() - t0
        time.sleep(1)
        rss = rss_mb(proc.pid)
        proc.terminate()
        proc.communicate()
        if proc.returncode != 0:
            sys.exit(f"program_start_bench: tolvan ended with {proc.returncode}")
        return elapsed, rss

    def second_start_ms(self, env_extra, runs=5):
        env = dict(os.environ, G_MESSAGES_DEBUG="Tolvan", **env_extra)
        first = subprocess.Popen([self.program, "--config-dir", self.config, "--systray"], env=env,
                                 stderr=subprocess.PIPE, stdout=subprocess.DEVNULL, text=True)
        for line in first.stderr:
            if "hooks installed" in line:
                break
        times = []
        for _ in range(runs):
            t0 = time.monotonic()
            second = subprocess.run([self.program, "--config-dir", self.config], env=env,
                                    stderr=subprocess.DEVNULL)
            times.append((time.monotonic() - t0) * 1000)
            if second.returncode != 0:
                sys.exit(f"program_start_bench: a second start ended with {second.returncode}")
        first.terminate()
        first.communicate()
        return statistics.median(times), max(times)


class AutoKey:
    name = "AutoKey"

    def __init__(self, work):
        self.work = work

    @staticmethod
    def available():
        return shutil.which("autokey-gtk") is not None

    def prepare(self, n):
        self.home = os.path.join(self.work, f"autokey-{n}")
        data = os.path.join(self.home, ".config", "autokey", "data", "Bench")
        os.makedirs(data, exist_ok=True)
        with open(os.path.join(data, ".folder.json"), "w") as f:
            json.dump({"type": "folder", "title": "Bench", "modes": [], "usageCount": 0,
                       "showInTrayMenu": False, "abbreviation": abbreviation([]),
                       "hotkey": {"modifiers": [], "hotKey": None},
                       "filter": {"regex": None, "isRecursive": False}}, f)
        for i in range(n):
            with open(os.path.join(data, f"p{i}.txt"), "w") as f:
                f.write(f"expansion {i} of the benchmark library")
            with open(os.path.join(data, f".p{i}.json"), "w") as f:
                json.dump({"type": "phrase", "description": f"p{i}", "modes": [1],
                           "usageCount": 0, "prompt": False, "omitTrigger": False,
                           "matchCase": False, "showInTrayMenu": False,
                           "abbreviation": abbreviation([f"ab{i}"]),
                           "hotkey": {"modifiers": [], "hotKey": None},
                           "filter": {"regex": None, "isRecursive": False}, "sendMode": "kb"}, f)
        with open(os.path.join(self.home, ".config", "autokey", "autokey.json"), "w") as f:
            json.dump({"version": "0.95.10", "userCodeDir": None, "settings": {}, "folders": [],
                       "toggleServiceHotkey": {"enabled": True, "modifiers": ["<shift>", "<super>"],
                                               "hotKey": "k"},
                       "configHotkey": {"enabled": True, "modifiers": ["<super>"], "hotKey": "k"}}, f)

    def start_once(self):
        env = dict(os.environ, HOME=self.home, XDG_CONFIG_HOME=os.path.join(self.home, ".config"),
                   XDG_DATA_HOME=os.path.join(self.home, ".local", "share"))
        log = os.path.join(self.home, "autokey.log")
        with open(log, "w") as out:
            t0 = time.monotonic()
            proc = subprocess.Popen(["autokey-gtk", "-l"], env=env, stdout=out,
                                    stderr=subprocess.STDOUT)
            while time.monotonic() - t0 < AUTOKEY_TIMEOUT:
                with open(log) as f:
                    if "Entering main()" in f.read():
                        break
                time.sleep(0.01)
            else:
                proc.kill()
                proc.wait()
                return None, None
            elapsed = time.monotonic() - t0
            time.sleep(1)
            rss = rss_mb(proc.pid)
            proc.terminate()
            try:
                proc.wait(10)
            except subprocess.TimeoutExpired:
                proc.kill()
                proc.wait()
        return elapsed, rss


def abbreviation(abbreviations):
    return {"abbreviations": abbreviations, "backspace": True, "ignoreCase": False,
            "immediate": False, "triggerInside": False, "wordChars": "[\\w]"}


def main():
    work = tempfile.mkdtemp(prefix="tolvan-start-bench-")
    host = subprocess.Popen(["/usr/bin/python3", HOST], stdin=subprocess.PIPE,
                            stdout=subprocess.PIPE, text=True)
    if host.stdout.readline().strip() != "watcher ready":
        sys.exit("program_start_bench: the fake tray did not start")
    expanders = [Tolvan(sys.argv[1], work)]
    if AutoKey.available():
        expanders.append(AutoKey(work))
    else:
        print("AutoKey (autokey-gtk) is not installed: Tolvan alone is measured")
    rows = []
    handovers = []
    try:
        for n in SIZES:
            for e in expanders:
                e.prepare(n)
                runs = [e.start_once() for _ in range(RUNS[n])]
                if any(r[0] is None for r in runs):
                    rows.append((e.name, n, None, None, None))
                    continue
                times = [r[0] * 1000 for r in runs]
                rows.append((e.name, n, statistics.median(times), max(times),
                             statistics.median(r[1] for r in runs)))
                if isinstance(e, Tolvan) and n == SIZES[0]:
                    handovers.append(("session bus", e.second_start_ms({})))
                    handovers.append(("private socket (no bus)", e.second_start_ms(
                        {"DBUS_SESSION_BUS_ADDRESS": "unix:path=/nonexistent/bus"})))
    finally:
        host.stdin.close()
        host.wait()
        shutil.rmtree(work, ignore_errors=True)
    print("| expander | abbreviations | start to ready, median (ms) | slowest (ms) | RSS after start (MB) |")
    print("|---|---:|---:|---:|---:|")
    for name, n, median, worst, rss in rows:
        if median is None:
            print(f"| {name} | {n:,} | not ready within {AUTOKEY_TIMEOUT} s | | |")
        else:
            print(f"| {name} | {n:,} | {median:.0f} | {worst:.0f} | {rss:.1f} |")
    print()
    print("| second start of tolvan, handed over through | median (ms) | slowest (ms) |")
    print("|---|---:|---:|")
    for channel, (median, worst) in handovers:
        print(f"| {channel} | {median:.0f} | {worst:.0f} |")


if __name__ == "__main__":
    main()
