#!/usr/bin/env python3
"""Compares what Tolvan's property-list reader made of a file with what plistlib reads.

Usage: plist_compare.py OURS.json FILE [OURS.json FILE ...]

Each OURS.json is Tolvan's reading as written by the corpus test: every value is
{"t": type, "v": value}, dictionaries as lists of [key, value] pairs in file order.
Differences that are Tolvan's choices are allowed: data stays Base64 text (compared
decoded), dates carry their clock fields without a time zone, line ends stay as written
(XML parsers turn CR LF and CR into LF; TextExpander's snippets mean the CR they hold, so
strings are compared with line ends normalised on Tolvan's side), and files holding raw
control characters (which XML forbids, so plistlib refuses them) are compared after
those characters are swapped for private-use stand-ins and back.
Prints every difference and exits 1 when there is one.
"""
import base64
import json
import plistlib
import re
import sys

STAND_IN = 0xF0000  # plane 15 private use: never in a real snippet


def load_reference(path):
    raw = open(path, "rb").read()
    try:
        return plistlib.loads(raw), False
    except Exception:
        pass
    swapped = re.sub(rb"[\x00-\x08\x0b\x0c\x0e-\x1f]",
                     lambda m: chr(STAND_IN + m.group()[0]).encode("utf-8"), raw)
    return plistlib.loads(swapped), True


def restore(text):
    return "".join(chr(ord(c) - STAND_IN) if STAND_IN <= ord(c) < STAND_IN + 32 else c
                   for c in text)


def normalise_line_ends(text):
    return text.replace("\r\n", "\n").replace("\r", "\n") if isinstance(text, str) else text


def compare(ours, ref, where, swapped, out):
    t, v = ours["t"], ours["v"]
    if isinstance(ref, bool):
        if t != "bool" or v != ref:
            out.append(f"{where}: {t} {v!r} != bool {ref!r}")
    elif isinstance(ref, int):
        if t != "integer" or v != ref:
            out.append(f"{where}: {t} {v!r} != integer {ref!r}")
    elif isinstance(ref, float):
        if t != "real" or float(v) != ref:
            out.append(f"{where}: {t} {v!r} != real {ref!r}")
    elif isinstance(ref, str):
        if swapped:
            ref = restore(ref)
        if t != "string" or normalise_line_ends(v) != ref:
            out.append(f"{where}: {t} {v!r} != string {ref!r}")
    elif isinstance(ref, bytes):
        if t != "data" or base64.b64decode("".join(v.split())) != ref:
            out.append(f"{where}: {t} does not decode to the data")
    elif hasattr(ref, "year"):
        fields = [ref.year, ref.month, ref.day, ref.hour, ref.minute, ref.second]
        if t != "date" or v != fields:
            out.append(f"{where}: {t} {v!r} != date {fields!r}")
    elif isinstance(ref, dict):
        if t != "dict":
            out.append(f"{where}: {t} != dict")
            return
        keys = [k for k, _ in v]
        if keys != list(ref.keys()):
            out.append(f"{where}: keys {keys!r} != {list(ref.keys())!r}")
            return
        for (k, value), rv in zip(v, ref.values()):
            compare(value, rv, f"{where}/{k}", swapped, out)
    elif isinstance(ref, list):
        if t != "array" or len(v) != len(ref):
            out.append(f"{where}: {t} of {len(v) if isinstance(v, list) else '?'} != "
                       f"array of {len(ref)}")
            return
        for i, (value, rv) in enumerate(zip(v, ref)):
            compare(value, rv, f"{where}[{i}]", swapped, out)
    else:
        out.append(f"{where}: plistlib gave {type(ref).__name__}")


def main():
    failed = False
    args = sys.argv[1:]
    for ours_path, file in zip(args[::2], args[1::2]):
        ours = json.load(open(ours_path, encoding="utf-8"))
        ref, swapped = load_reference(file)
        out = []
        compare(ours, ref, "", swapped, out)
        for line in out[:10]:
            print(f"{file}: {line}")
        failed = failed or bool(out)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
