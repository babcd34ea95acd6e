#!/usr/bin/python3
"""main_window_driver.py COMMAND [ARGS]: works Tolvan's main window the way a screen reader
user would, through the accessibility tree (AT-SPI), finding each control by its role and
accessible name. Prints "ok" and exits 0 when the command did what it says, else explains
and exits 1. Commands:
  wait-window                 the main window "Tolvan" is on the desktop
  search TEXT                 types TEXT into the search box (as the user's own change)
  select-row N                selects row N of the abbreviation list
  rows                        prints the abbreviation list's rows (their abbreviations)
  click NAME                  presses the button NAME
  menu PATH                   chooses the menu item at PATH ("File/New Abbreviation")
  sensitive NAME              exits 0 when the button NAME is sensitive, 1 when not
  type NAME TEXT              sets the text of the field NAME, in any of Tolvan's windows
  dialog-click NAME           presses the button NAME in a window other than the main one
                              (the folder editor, a question)
"""
import sys
import time

import pyatspi

# How long a control may take to appear: Tolvan's answers through the accessibility bus
# sometimes stall for many seconds while it is busy with its own windows.
WAIT = 30.0


def tolvan_app(timeout=WAIT):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == "tolvan":
                return app
        time.sleep(0.2)
    raise SystemExit("Tolvan is not in the accessibility tree")


def find_in_other_windows(role, name, timeout=WAIT):
    """The control in a shown window of Tolvan's other than the main window."""
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        for window in tolvan_app():
            if window is None or (window.name.startswith("Tolvan") and
                                  window.getRole() == pyatspi.ROLE_FRAME):
                continue
            if not window.getState().contains(pyatspi.STATE_SHOWING):
                continue
            found = pyatspi.findDescendant(
                window, lambda a: a is not None and a.getRole() == role and a.name == name)
            if found is not None:
                return found
        time.sleep(0.2)
    raise SystemExit(f"no other window holds a {role} named {name!r}")


def find_field(name, timeout=WAIT):
    """A text field or text view named NAME in any of Tolvan's windows."""
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        for window in tolvan_app():
            if window is None:
                continue
            found = pyatspi.findDescendant(
                window, lambda a: a is not None and a.name == name and
                a.getRole() in (pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY))
            if found is not None:
                return found
        time.sleep(0.2)
    raise SystemExit(f"no field named {name!r}")


def window_of_tolvan(matches, what, timeout=WAIT):
    """The first top-level window of the program tolvan for which `matches` holds."""
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        for window in tolvan_app(timeout):
            if window is not None and matches(window):
                return window
        time.sleep(0.2)
    raise SystemExit(f"no {what} in the accessibility tree")


def tolvan_window(timeout=WAIT):
    return window_of_tolvan(
        lambda w: w.name.startswith("Tolvan") and w.getRole() == pyatspi.ROLE_FRAME,
        "main window", timeout)


def find(root, role, name):
    found = pyatspi.findDescendant(
        root, lambda a: a is not None and a.getRole() == role and a.name == name)
    if found is None:
        raise SystemExit(f"nothing of role {role} named {name!r}")
    return found


def press(accessible):
    action = accessible.queryAction()
    for i in range(action.nActions):
        if action.getName(i) in ("click", "activate", "press"):
            action.doAction(i)
            return
    action.doAction(0)


def list_table(window):
    return find(window, pyatspi.ROLE_TABLE, "Abbreviations").queryTable()


def rows(window):
    table = list_table(window)
    names = []
    for r in range(table.nRows):
        cells = [table.getAccessibleAt(r, c) for c in range(table.nColumns)]
        names.append([c.name if c is not None else "" for c in cells])
    return names


def main(argv):
    command, args = argv[1], argv[2:]
    window = tolvan_window()
    if command == "wait-window":
        pass
    elif command == "search":
        entry = find(window, pyatspi.ROLE_TEXT, "Search")
        entry.queryComponent().grabFocus()
        time.sleep(0.3)
        editable = entry.queryEditableText()
        editable.setTextContents(args[0])
    elif command == "select-row":
        table = list_table(window)
        if not table.addRowSelection(int(args[0])):
            raise SystemExit(f"row {args[0]} could not be selected")
    elif command == "rows":
        for row in rows(window):
            print("|".join(row))
    elif command == "click":
        press(find(window, pyatspi.ROLE_PUSH_BUTTON, args[0]))
    elif command == "menu":
        node = window
        for label in args[0].split("/"):
            node = pyatspi.findDescendant(
                node, lambda a, l=label: a is not None and a.name == l and
                a.getRole() in (pyatspi.ROLE_MENU, pyatspi.ROLE_MENU_ITEM))
            if node is None:
                raise SystemExit(f"no menu item {label!r}")
        press(node)
    elif command == "type":
        field = find_field(args[0])
        field.queryComponent().grabFocus()
        time.sleep(0.2)
        field.queryEditableText().setTextContents(args[1])
    elif command == "dialog-click":
        press(find_in_other_windows(pyatspi.ROLE_PUSH_BUTTON, args[0]))
    elif command == "sensitive":
        button = find(window, pyatspi.ROLE_PUSH_BUTTON, args[0])
        if not button.getState().contains(pyatspi.STATE_SENSITIVE):
            print("insensitive")
            return 1
    else:
        raise SystemExit(f"unknown command {command}")
    print("ok")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
