#!/usr/bin/env python3
"""TextExpander import and export with a large settings file.

Usage: te_import_bench.py TOLVAN_CLI [SNIPPETS [BENCH_TE_IMPORT]]

Writes a settings file of SNIPPETS (default 100,000) snippets in 100 groups, then times,
best of three runs each:
  - python3's plistlib reading it (the yardstick),
  - with BENCH_TE_IMPORT (bench_te_import), Tolvan's import alone: reading, checking and
    converting into folders, in the process (no start-up, no library, no save),
  - with BENCH_TE_IMPORT, the export of the loaded library: the library as the program
    holds it after the import and a restart, written to a settings file as File > Export
    does (the library is already in memory, so no start-up and no load),
  - `tolvan-cli import --mode replace` of it into an empty data folder (reading, checking,
    converting, then saving the library and a backup as Apply does),
  - `tolvan-cli export --te` of that library back to a settings file.
"""
import os
import plistlib
import json
import subprocess
import sys
import tempfile
import time
import uuid
from datetime import datetime


def settings_file(path, snippets):
    groups = []
    items = []
    per_group = max(1, snippets // 100)
    for g in range(0, snippets, per_group):
        members = []
        for i in range(g, min(g + per_group, snippets)):
            u = str(uuid.uuid4()).upper()
            members.append(u)
            items.append({"abbreviation": f"ab{i}", "abbreviationMode": i % 3,
                          "creationDate": datetime(2014, 5, 1, 21, 6, 33),
                          "modificationDate": datetime(2015, 1, 2, 3, 4, 5),
                          "label": f"Snippet {i}" if i % 2 else "",
                          "plainText": f"Expansion number {i} on %A, %B %e\nsecond line %|",
                          "snippetType": 0, "uuidString": u})
        groups.append({"expandAfterMode": 0, "name": f"Group {g // per_group}",
                       "snippetUUIDs": members, "uuidString": str(uuid.uuid4()).upper(),
                       "writable": 1})
    top = {"Date Installed": datetime(2010, 1, 1), "Snippets Imported": datetime(2010, 1, 1),
           "Expander Mode": 1, "Default Abbreviation Mode": 0, "Delimiters": " .,",
           "groupsTE2": groups, "snippetsTE2": items}
    with open(path, "wb") as f:
        plistlib.dump(top, f)


def best_of(runs, action):
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        action()
        times.append(time.perf_counter() - start)
    return min(times)


def in_process(bench, source):
    """The fastest of bench_te_import's repetitions of each benchmark, in seconds, by name."""
    out = subprocess.run([bench, "--benchmark_format=json", "--benchmark_repetitions=3"],
                         check=True, capture_output=True, text=True,
                         env={**os.environ, "TOLVAN_TE_IMPORT_FILE": source}).stdout
    runs = [b for b in json.loads(out)["benchmarks"] if b.get("run_type") == "iteration"]
    if not runs or any("error_message" in b for b in runs):
        raise SystemExit(f"bench_te_import: {out}")
    scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}
    fastest = {}
    for b in runs:
        name = b["run_name"].split("/")[0]  # without "/min_time:..." and the like
        seconds = b["real_time"] * scale[b["time_unit"]]
        fastest[name] = min(seconds, fastest.get(name, seconds))
    return fastest


def main(argv):
    if len(argv) < 1:
        print(__doc__, file=sys.stderr)
        return 2
    cli = os.path.abspath(argv[0])
    snippets = int(argv[1]) if len(argv) > 1 else 100_000
    bench = os.path.abspath(argv[2]) if len(argv) > 2 else None
    with tempfile.TemporaryDirectory() as work:
        source = os.path.join(work, "Settings.textexpander")
        settings_file(source, snippets)
        size = os.path.getsize(source) / 1e6

        def plistlib_read():
            with open(source, "rb") as f:
                plistlib.load(f)

        def run(*args):
            subprocess.run([cli, "--config-dir", os.path.join(work, "data"), *args],
                           check=True, stdout=subprocess.DEVNULL)

        def tolvan_import():
            run("import", "--mode", "replace", source)

        exported = os.path.join(work, "Export.textexpander")
        python = best_of(3, plistlib_read)
        figures = in_process(bench, source) if bench else {}
        imported = best_of(3, tolvan_import)
        export = best_of(3, lambda: run("export", "--te", exported))
        with open(exported, "rb") as f:
            back = plistlib.load(f)
        assert len(back["snippetsTE2"]) == snippets, len(back["snippetsTE2"])
        print(f"settings file: {snippets} snippets, {size:.1f} MB")
        print(f"python3 plistlib.load:            {python * 1000:8.0f} ms")
        if "BM_TeImportFile" in figures:
            print(f"Tolvan import alone:              {figures['BM_TeImportFile'] * 1000:8.0f} ms")
        print(f"tolvan-cli import (with save):    {imported * 1000:8.0f} ms")
        print(f"tolvan-cli export --te:           {export * 1000:8.0f} ms")
        if "BM_TeExportLoadedLibrary" in figures:
            print(f"export of the loaded library:     "
                  f"{figures['BM_TeExportLoadedLibrary'] * 1000:8.0f} ms")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
