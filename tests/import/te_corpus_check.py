#!/usr/bin/env python3
"""What python3's plistlib says about TextExpander files and Tolvan's exports of them.

Usage:
  te_corpus_check.py count FILE...            one line per file: the number of
                                              abbreviations an import makes (each snippet
                                              once per group that lists it, or once when
                                              none does; a group file's snippets)
  te_corpus_check.py export ORIGINAL OUT...   pairs: each export must load, hold only
                                              unique, well-formed uuids, and keep every
                                              key of the original's settings, groups and
                                              snippets (uuids may be renewed, dates written
                                              as strings come back as dates)
Prints every problem and exits 1 when there is one.
"""
import datetime
import os
import re
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "textexpander"))
from plist_compare import load_reference  # noqa: E402

UUID = re.compile(r"^[0-9A-Fa-f]{8}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{12}$")
DATE = re.compile(r"^(\d{4})-(\d\d)-(\d\d)T(\d\d):(\d\d):(\d\d)")
PREFERENCE_KEYS = {"Expander Mode", "Delimiters", "Default Abbreviation Mode", "Auditory Feedback"}
# What Tolvan may set or add to a dictionary it keeps.
RENEWED = {"uuidString"}


def load(path):
    return load_reference(path)[0]


def is_settings(top):
    return "groupsTE2" in top and "Snippets Imported" in top


def dicts(container, key):
    value = container.get(key, [])
    return [d for d in value if isinstance(d, dict)] if isinstance(value, list) else []


def expected_count(top):
    if not is_settings(top):
        return len(dicts(top, "snippetsTE2"))
    groups = dicts(top, "groupsTE2")
    tolvan = top.get("Tolvan", {}) if isinstance(top.get("Tolvan"), dict) else {}
    groups = groups + dicts(tolvan, "launcherGroups")
    listing = {}
    for index, group in enumerate(groups):
        for uuid in group.get("snippetUUIDs", []):
            listing.setdefault(str(uuid).upper(), set()).add(group.get("uuidString", index))
    snippets = dicts(top, "snippetsTE2") + dicts(tolvan, "progLaunchers") + dicts(tolvan, "webLaunchers")
    return sum(max(1, len(listing.get(str(s.get("uuidString", "")).upper(), ()))) for s in snippets)


def normal(value):
    """Values as they must come back: string dates as dates, dictionaries compared as such."""
    if isinstance(value, str):
        m = DATE.match(value)
        if m and len(value) <= 20:
            return datetime.datetime(*map(int, m.groups()))
        return value
    if isinstance(value, dict):
        return {k: normal(v) for k, v in value.items()}
    if isinstance(value, list):
        return [normal(v) for v in value]
    return value


def without(d, keys):
    return {k: normal(v) for k, v in d.items() if k not in keys}


def check_uuids(name, export, problems):
    tolvan = export.get("Tolvan", {})
    for kind, items in (("group", dicts(export, "groupsTE2")),
                        ("snippet", dicts(export, "snippetsTE2") + dicts(tolvan, "progLaunchers")
                         + dicts(tolvan, "webLaunchers"))):
        seen = set()
        for item in items:
            uuid = item.get("uuidString")
            if not isinstance(uuid, str) or not UUID.match(uuid):
                problems.append(f"{name}: {kind} uuid {uuid!r} is not well formed")
            elif uuid.upper() in seen:
                problems.append(f"{name}: {kind} uuid {uuid} appears twice")
            else:
                seen.add(uuid.upper())


def same_multiset(name, what, original, exported, problems):
    remaining = [repr(sorted(d.items(), key=lambda kv: kv[0])) for d in exported]
    for d in original:
        key = repr(sorted(d.items(), key=lambda kv: kv[0]))
        if key in remaining:
            remaining.remove(key)
        else:
            problems.append(f"{name}: {what} not written back unchanged: {str(d)[:300]}")
            return


def check_export(original_path, export_path, problems):
    name = os.path.basename(original_path)
    original = load(original_path)
    try:
        export = load(export_path)
    except Exception as error:  # the export must be a property list plistlib reads
        problems.append(f"{name}: plistlib cannot read the export: {error}")
        return
    check_uuids(name, export, problems)
    snippets_out = [without(s, RENEWED) for s in dicts(export, "snippetsTE2")]
    if is_settings(original):
        kept = {"groupsTE2", "snippetsTE2", "Tolvan"}
        top_in, top_out = without(original, kept), without(export, kept | PREFERENCE_KEYS)
        for key, value in top_in.items():
            if key not in PREFERENCE_KEYS and top_out.get(key) != value:
                problems.append(f"{name}: settings key {key!r} changed")
        groups_in = [without(g, RENEWED | {"snippetUUIDs", "writable"}) for g in dicts(original, "groupsTE2")]
        groups_out = [without(g, RENEWED | {"snippetUUIDs", "writable"}) for g in dicts(export, "groupsTE2")]
        if groups_in != groups_out:
            problems.append(f"{name}: groups changed: {str(groups_in)[:200]} -> {str(groups_out)[:200]}")
    else:
        settings_out = without(export, {"snippetsTE2"})
        # A group file without "groupInfo" gets one naming the group.
        if "groupInfo" not in original and list(settings_out.get("groupInfo", {})) == ["groupName"]:
            del settings_out["groupInfo"]
        if without(original, {"snippetsTE2"}) != settings_out:
            problems.append(f"{name}: group settings changed: {str(without(original, {'snippetsTE2'}))[:300]}"
                            f" -> {str(settings_out)[:300]}")
    # Every snippet comes back with every key it had (a snippet listed by several groups
    # comes back once per group).
    snippets_in = [without(s, RENEWED) for s in dicts(original, "snippetsTE2")]
    same_multiset(name, "snippet", snippets_in, snippets_out, problems)


def main(argv):
    if len(argv) >= 2 and argv[0] == "count":
        for path in argv[1:]:
            print(expected_count(load(path)))
        return 0
    if len(argv) >= 3 and argv[0] == "export" and len(argv) % 2 == 1:
        problems = []
        for i in range(1, len(argv), 2):
            check_export(argv[i], argv[i + 1], problems)
        for p in problems:
            print(p)
        return 1 if problems else 0
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
