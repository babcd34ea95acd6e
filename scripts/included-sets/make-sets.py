#!/usr/bin/env python3
"""Builds the included abbreviation sets of data/sets from their sources.

    python3 scripts/included-sets/make-sets.py [--out DIR]      (default: data/sets)

Writes three files in Tolvan's abbreviation file format, as Tolvan's own writer lays it out
(one line, attributes in its order, its escapes), so that a set reads back unchanged:

  Typo AutoCorrections.tlv  from codespell's dictionary of common misspellings (Debian
                            package codespell), kept to unambiguous slips of everyday words
                            with the word lists of the Debian package scowl;
  TidBITSAutoCorrect.tlv    from TidBITSAutoCorrect.tsv beside this script;
  Medical Transcription.tlv from "Medical Transcription.tsv" beside this script.

Every abbreviation expands on a word-ending character; the autocorrections follow the case
they are typed in. The script stops with a message when a source is missing or an entry of
our own lists is an everyday word (it would fire while the user writes that word).
Needs: apt-get install codespell scowl
"""

import argparse
import glob
import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
CODESPELL_DICTIONARY = "/usr/lib/python3/dist-packages/codespell_lib/data/dictionary.txt"
SCOWL = "/usr/share/dict/scowl"
SCOWL_KNOWN_SIZES = (10, 20, 35, 40, 50, 55, 60, 70)

CASE_SENSITIVE, CASE_ADAPT = 0, 2
TRIGGER_WORD_ENDING = 5
# A fixed time for every entry: rebuilding an unchanged set gives the same file.
# (month, day, year, hour, minute, second)
ENTRY_TIME = (12, 1, 2026, 12, 0, 0)

# Misspellings whose bare letters could be two words run together ("amuch": "a much").
SPLIT_MIN = 2


def fail(message):
    sys.exit("make-sets: " + message)


def escaped(text):
    """Tolvan's attribute escapes, in the writer's order."""
    out = []
    for c in text.replace("\r\n", "\n"):
        out.append({"&": "&amp;", "<": "&lt;", ">": "&gt;", "\r": "&#10;", "\n": "&#10;",
                    "\t": "&#9;", '"': "&quot;", "\x1b": "&#33;"}.get(c, c))
    return "".join(out)


def time_hex(t):
    month, day, year, hour, minute, second = t
    return "%.2x%.2x%.4x%.2x%.2x%.2x" % (month, day, year, hour, minute, second)


def abbreviation_element(abbrev, expansion, case_mode):
    # The abbreviation attribute is a '|'-joined list; a '|' inside one is doubled.
    when = time_hex(ENTRY_TIME)
    # r="0": only at the start of a word, never inside one.
    return ('<a a="%s" d="" e="%s" c="%d" t="%d" r="0" x="%s" y="%s"/>'
            % (escaped(abbrev.replace("|", "||")), escaped(expansion), case_mode,
               TRIGGER_WORD_ENDING, when, when))


def write_set(path, name, entries):
    """entries: (abbreviation, expansion, case mode) in the order they are shown."""
    seen = set()
    for abbrev, *_ in entries:
        if abbrev in seen:
            fail("%s: '%s' is there twice" % (name, abbrev))
        seen.add(abbrev)
    # The reader puts each abbreviation it reads in front of the folder's others: written in
    # reverse, a set is kept in the order of its entries.
    body = "".join(abbreviation_element(*e) for e in reversed(entries))
    text = '<Tolvan n="%s" t="0" d="0">%s</Tolvan>' % (escaped(name), body)
    with open(path, "w", encoding="utf-8", newline="") as f:
        f.write(text)
    print("%s: %d abbreviations" % (path, len(entries)))


def scowl_words(*patterns):
    words = set()
    for pattern in patterns:
        files = glob.glob(os.path.join(SCOWL, pattern))
        if not files:
            fail("no word list %s in %s (apt-get install scowl)" % (pattern, SCOWL))
        for file in files:
            with open(file, encoding="latin-1") as f:
                words.update(line.strip() for line in f)
    return words


def edit_distance(a, b):
    """Letters inserted, removed, replaced or swapped with their neighbour."""
    d = [[0] * (len(b) + 1) for _ in range(len(a) + 1)]
    for i in range(len(a) + 1):
        d[i][0] = i
    for j in range(len(b) + 1):
        d[0][j] = j
    for i in range(1, len(a) + 1):
        for j in range(1, len(b) + 1):
            cost = 0 if a[i - 1] == b[j - 1] else 1
            d[i][j] = min(d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost)
            if i > 1 and j > 1 and a[i - 1] == b[j - 2] and a[i - 2] == b[j - 1]:
                d[i][j] = min(d[i][j], d[i - 2][j - 2] + 1)
    return d[len(a)][len(b)]


def typo_entries(dictionary):
    if not os.path.isfile(dictionary):
        fail("no codespell dictionary at %s (apt-get install codespell)" % dictionary)
    # Corrections must be everyday words: SCOWL's most common size, 10 (with inflections).
    everyday = scowl_words("english-words.10", "american-words.10", "british-words.10",
                           "english-contractions.10")
    # A misspelling must be no word, proper name or abbreviation in any spelling variant up
    # to SCOWL's size 70 (a large dictionary): otherwise a user who means it would be
    # corrected. The larger sizes hold archaic and rare forms ("untill", "Teh").
    known = {w.lower() for w in scowl_words(*("*.%d" % size for size in SCOWL_KNOWN_SIZES))}
    common = {w.lower() for w in scowl_words("english-words.35", "american-words.35",
                                             "british-words.35")} | everyday

    def run_together(typo):
        return any((typo[:i] in common and typo[i:] in common)
                   for i in range(1, len(typo))
                   if (i >= SPLIT_MIN or typo[:i] in ("a", "i"))
                   and (len(typo) - i >= SPLIT_MIN))

    entries = []
    with open(dictionary, encoding="utf-8") as f:
        for line in f:
            typo, arrow, fix = line.strip().partition("->")
            # "a->b, c," lists several corrections or gives a reason: not unambiguous.
            if not arrow or "," in fix:
                continue
            if not re.fullmatch(r"[a-z]{3,}", typo):
                continue
            if not re.fullmatch(r"[a-z]+(?:['\- ][a-z]+)*", fix):
                continue  # names, numbers and code identifiers
            if typo in known or run_together(typo):
                continue
            if not all(w in everyday for w in re.split(r"[ \-]", fix)):
                continue
            # Slips of the fingers, not guesses at a far-away word.
            if edit_distance(typo, fix) > 2:
                continue
            entries.append((typo, fix, CASE_ADAPT))
    entries.sort(key=lambda e: e[0])
    return entries


def own_entries(tsv):
    """Our own lists: abbreviation <tab> replacement [<tab> exact]; '#' starts a comment."""
    if not os.path.isfile(tsv):
        fail("missing %s" % tsv)
    common = {w.lower() for w in scowl_words("english-words.35", "american-words.35",
                                             "british-words.35")}
    entries = []
    with open(tsv, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\n")
            if not line or line.startswith("#"):
                continue
            fields = line.split("\t")
            if len(fields) not in (2, 3) or not fields[0] or not fields[1]:
                fail("%s:%d: expected abbreviation, tab, replacement[, tab, exact]"
                     % (tsv, number))
            flags = fields[2].split() if len(fields) == 3 else []
            if any(flag != "exact" for flag in flags):
                fail("%s:%d: unknown flag in '%s'" % (tsv, number, fields[2]))
            if fields[0].lower() in common:
                fail("%s:%d: '%s' is an everyday word" % (tsv, number, fields[0]))
            entries.append((fields[0], fields[1],
                            CASE_SENSITIVE if "exact" in flags else CASE_ADAPT))
    return entries


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--out", default=os.path.join(HERE, "..", "..", "data", "sets"))
    parser.add_argument("--codespell-dictionary", default=CODESPELL_DICTIONARY)
    args = parser.parse_args()
    out = os.path.normpath(args.out)
    write_set(os.path.join(out, "Typo AutoCorrections.tlv"), "Typo AutoCorrections",
              typo_entries(args.codespell_dictionary))
    for name in ("TidBITSAutoCorrect", "Medical Transcription"):
        write_set(os.path.join(out, name + ".tlv"), name,
                  own_entries(os.path.join(HERE, name + ".tsv")))


if __name__ == "__main__":
    main()
