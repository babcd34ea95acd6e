#!/usr/bin/python3
"""Another computer's side of a TextExpander sync folder, as plistlib sees it.

    te_sync_peer.py add FILE ABBREVIATION TEXT   a snippet in the first group, plus data
                                                 Tolvan does not know, at the top level
                                                 and in the snippet
    te_sync_peer.py dump FILE                    the top-level extra data, then one line
                                                 per snippet: abbreviation, text, extra
    te_sync_peer.py cut FILE                     the file cut in half, as a write that
                                                 stopped half way leaves it

Every change moves the file's time two seconds on, so the change is seen even when it
falls in the second of the last write.
"""
import os
import plistlib
import sys
import uuid


def bump(path, before):
    later = before + 2
    os.utime(path, (later, later))


def add(path, abbreviation, text):
    before = os.stat(path).st_mtime
    with open(path, "rb") as f:
        root = plistlib.load(f)
    snippet_uuid = str(uuid.uuid4()).upper()
    root.setdefault("snippetsTE2", []).append({
        "abbreviation": abbreviation,
        "plainText": text,
        "snippetType": 0,
        "label": "",
        "abbreviationMode": 0,
        "uuidString": snippet_uuid,
        "otherSnippetKey": "kept " + abbreviation,
    })
    groups = root.setdefault("groupsTE2", [])
    if not groups:
        groups.append({"name": "Peer", "uuidString": str(uuid.uuid4()).upper(), "snippetUUIDs": []})
    groups[0].setdefault("snippetUUIDs", []).append(snippet_uuid)
    root["otherSideData"] = "from the other computer"
    with open(path, "wb") as f:
        plistlib.dump(root, f)
    bump(path, before)


def dump(path):
    with open(path, "rb") as f:
        root = plistlib.load(f)
    print("extra=" + str(root.get("otherSideData", "")))
    for snippet in root.get("snippetsTE2", []):
        print("\t".join([snippet.get("abbreviation", ""), snippet.get("plainText", ""),
                         snippet.get("otherSnippetKey", "")]))


def cut(path):
    before = os.stat(path).st_mtime
    with open(path, "rb") as f:
        data = f.read()
    with open(path, "wb") as f:
        f.write(data[: len(data) // 2])
    bump(path, before)


if __name__ == "__main__":
    command, path = sys.argv[1], sys.argv[2]
    if command == "add":
        add(path, sys.argv[3], sys.argv[4])
    elif command == "dump":
        dump(path)
    elif command == "cut":
        cut(path)
    else:
        sys.exit("unknown command " + command)
