#!/usr/bin/env python3
"""render.py FILE: prints the text a simple text field would hold after receiving the
bytes an xterm sent for the keys: DEL erases before the caret (or the selection), the
arrow, Home and End sequences move the caret, Shift+Left/Right select, typing replaces
the selection, Return starts a new line and a lone Escape does nothing."""
import re
import sys

data = open(sys.argv[1], "rb").read().decode("utf-8", errors="replace")
text, caret, anchor = [], 0, None  # the selection runs from anchor to caret


def drop_selection():
    global caret, anchor
    if anchor is not None and anchor != caret:
        lo, hi = sorted((anchor, caret))
        del text[lo:hi]
        caret = lo
    anchor = None


sequence = re.compile(r"\x1b(?:\[(?:1;(\d))?([A-H])|O([A-H]))")
i = 0
while i < len(data):
    c = data[i]
    if c == "\x1b":
        m = sequence.match(data, i)
        if not m:
            i += 1  # Escape alone
            continue
        shifted = m.group(1) == "2"
        key = m.group(2) or m.group(3)
        if shifted and anchor is None:
            anchor = caret
        if not shifted:
            anchor = None
        if key == "D":
            caret = max(0, caret - 1)
        elif key == "C":
            caret = min(len(text), caret + 1)
        elif key == "H":
            caret = 0
        elif key == "F":
            caret = len(text)
        i = m.end()
        continue
    if c in "\x7f\x08":
        if anchor is not None and anchor != caret:
            drop_selection()
        elif caret > 0:
            del text[caret - 1]
            caret -= 1
        anchor = None
    else:
        drop_selection()
        text.insert(caret, "\n" if c == "\r" else c)
        caret += 1
    i += 1
sys.stdout.write("".join(text))
