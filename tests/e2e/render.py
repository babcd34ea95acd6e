#!/usr/bin/env python3
"""render.py FILE: prints the text a one-line-editor application would hold after
receiving the bytes an xterm sent for the keys (DEL erases before the caret, the arrow,
Home and End sequences move it, Return starts a new line)."""
import sys

data = open(sys.argv[1], "rb").read().decode("utf-8", errors="replace")
text, caret, i = [], 0, 0
moves = {"[D": -1, "[C": 1, "OD": -1, "OC": 1}
while i < len(data):
    c = data[i]
    if c == "\x1b" and i + 2 < len(data) + 1:
        seq = data[i + 1:i + 3]
        if seq in moves:
            caret = max(0, min(len(text), caret + moves[seq]))
            i += 3
            continue
        if seq in ("[H", "OH"):
            caret = 0
            i += 3
            continue
        if seq in ("[F", "OF"):
            caret = len(text)
            i += 3
            continue
        text.insert(caret, "<ESC>")
        caret += 1
        i += 1
        continue
    if c in "\x7f\x08":
        if caret > 0:
            del text[caret - 1]
            caret -= 1
    else:
        text.insert(caret, "\n" if c == "\r" else c)
        caret += 1
    i += 1
sys.stdout.write("".join(text))
