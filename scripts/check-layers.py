#!/usr/bin/env python3
"""Checks that no #include in src/ runs up a layer.

Tolvan's folders under src/ are layers. A file may include headers of its own folder and of
the folders its folder stands on, as the table below says; anything else is reported with
its file and line, and the check fails. The platform backends (platform/sim, platform/x11)
are layers of their own that only the programs and the simulation may name: the modules
see the platform through its interfaces alone. X11 headers belong to platform/x11, GTK
headers to ui.

    python3 scripts/check-layers.py [SRC_FOLDER]      (default: the src/ beside scripts/)
"""

import os
import re
import sys

# Each layer and the layers it may include, lowest first. A layer added under src/ needs
# a row here before the check passes.
_CORE = ["core"]
_PLATFORM = _CORE + ["platform"]
_SETTINGS = _PLATFORM + ["settings"]
_TEXTEXPANDER = _SETTINGS + ["textexpander"]
_LIBRARY = _TEXTEXPANDER + ["library"]
_ENGINE = _LIBRARY + ["engine"]
_LAUNCH = _ENGINE + ["launch"]
_DOMAIN = _LAUNCH + ["import", "net"]
_PRESENTERS = _DOMAIN + ["presenters"]

ALLOWED = {
    "core": [],
    # The interfaces to the desktop, and the backends that implement them.
    "platform": _CORE,
    "platform/sim": _PLATFORM,
    "platform/x11": _PLATFORM,
    "settings": _PLATFORM,
    # The property-list format: the library keeps TextExpander's dictionaries in it.
    "textexpander": _SETTINGS,
    "library": _TEXTEXPANDER,
    "engine": _LIBRARY,
    "import": _LIBRARY,
    "net": _SETTINGS,
    # Hotkeys, launchers and the abbreviation menu hand their work to the engine.
    "launch": _ENGINE,
    "simulation": _LAUNCH + ["platform/sim"],
    "presenters": _DOMAIN,
    # The expander put together on the real desktop, with the program's start and quit
    # orders: shared by the windowed program and the headless one, so free of GTK.
    "app": _DOMAIN + ["platform/x11"],
    "ui": _PRESENTERS + ["app", "platform/x11"],
    # Headless: everything but the windows.
    "cli": _DOMAIN + ["simulation", "app", "platform/sim", "platform/x11"],
}

# System headers that only some layers may include, by the start of their path.
RESTRICTED_SYSTEM_HEADERS = {
    ("X11/", "xcb/", "xkbcommon/", "atspi/", "canberra"): ["platform/x11"],
    ("gtk", "gdk", "glibmm", "giomm", "pangomm", "cairomm"): ["ui"],
    # GIO: launching (platform/x11), the session bus (the single instance in app, the tray
    # in ui).
    ("gio/",): ["platform/x11", "app", "ui"],
}

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def layer_of(relative_path):
    """The layer of a path relative to src/ ("engine/hook/monitor.h" -> "engine")."""
    parts = relative_path.split("/")
    if parts[0] == "platform" and len(parts) > 2 and parts[1] in ("sim", "x11"):
        return "platform/" + parts[1]
    return parts[0] if len(parts) > 1 else None


def check_file(path, layer, relative):
    problems = []
    with open(path, encoding="utf-8", errors="replace") as source:
        for number, line in enumerate(source, 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            where = f"src/{relative}:{number}"
            kind, header = match.groups()
            if kind == "<":
                for prefixes, owners in RESTRICTED_SYSTEM_HEADERS.items():
                    if header.startswith(prefixes) and layer not in owners:
                        problems.append(f"{where}: {layer} includes <{header}>, which only "
                                        f"{' and '.join(owners)} may include")
                continue
            target = layer_of(header)
            if target is None:
                problems.append(f'{where}: "{header}" does not name the folder it lives in')
            elif target != layer and target not in ALLOWED[layer]:
                problems.append(f'{where}: {layer} includes "{header}" ({target} is not '
                                f"below {layer})")
    return problems


def check(src):
    problems = []
    for folder, subfolders, files in os.walk(src):
        subfolders.sort()
        for name in sorted(files):
            if not name.endswith((".h", ".cpp")):
                continue
            path = os.path.join(folder, name)
            relative = os.path.relpath(path, src).replace(os.sep, "/")
            layer = layer_of(relative)
            if layer is None:
                problems.append(f"src/{relative}: a source file belongs in a layer's folder")
            elif layer not in ALLOWED:
                problems.append(f"src/{relative}: {layer} is in no layer; give it a row in "
                                "the table of scripts/check-layers.py")
            else:
                problems.extend(check_file(path, layer, relative))
    return problems


def main(argv):
    src = argv[1] if len(argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "src")
    if not os.path.isdir(src):
        print(f"check-layers: {src} is not a folder", file=sys.stderr)
        return 2
    problems = check(src)
    for problem in problems:
        print(problem)
    if problems:
        print(f"check-layers: {len(problems)} include(s) run against the layers", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
