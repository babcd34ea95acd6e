#!/usr/bin/python3
"""main_window_driver.py COMMAND [ARGS]: works Tolvan's main window the way a screen reader
user would, through the accessibility tree (AT-SPI), finding each control by its role and
accessible name. Prints "ok" and exits 0 when the command did what it says, else explains
and exits 1. Commands:
  wait-window                 the main window "Tolvan" is on the desktop
  search TEXT                 types TEXT into the search box (as the user's own change)
  select-row N                selects row N of the abbreviation list
  sort COLUMN                 activates the header of the abbreviation list's column COLUMN
                              ("Abbreviation"), as a click on it would
  rows [TABLE]                prints the rows of the abbreviation list (or of the table or
                              tree TABLE, e.g. "Folders"), their cells joined by "|"
  click NAME                  presses the button NAME
  menu PATH                   chooses the menu item at PATH ("File/New Abbreviation")
  sensitive NAME              exits 0 when the button NAME is sensitive, 1 when not
  type NAME TEXT              sets the text of the field NAME, in any of Tolvan's windows
  dialog-click NAME           presses the button NAME in a window other than the main one
                              (the folder editor, a question)
  answer TEXT BUTTON [CHOICE] waits for a dialog of Tolvan's titled TEXT or saying TEXT,
                              prints what it says, picks the option whose name begins with
                              CHOICE and presses its button BUTTON
  choose-file TITLE PATH BUTTON
                              waits for the file chooser TITLE, types PATH as its location
                              (Ctrl+L shows the location entry of an Open chooser) and presses
                              BUTTON
"""
import subprocess
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


def tolvan_toplevel(matches, timeout):
    """The first of tolvan's windows for which matches(window) holds, waiting up to timeout
    seconds; None when none came."""
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        for window in tolvan_app(timeout):
            if window is not None and matches(window):
                return window
        time.sleep(0.2)
    return None


def window_of_tolvan(matches, what, timeout=WAIT):
    """The first top-level window of the program tolvan for which `matches` holds."""
    window = tolvan_toplevel(matches, timeout)
    if window is None:
        raise SystemExit(f"no {what} in the accessibility tree")
    return window


def showing(accessible):
    return accessible.getState().contains(pyatspi.STATE_SHOWING)


def texts_of(root):
    return [a.name for a in pyatspi.findAllDescendants(
        root, lambda a: a is not None and a.getRole() == pyatspi.ROLE_LABEL and a.name)]


def dialog(text, timeout=WAIT):
    """A showing dialog of tolvan's (not its main window) titled or saying text."""
    def matches(window):
        try:
            if window.getRole() == pyatspi.ROLE_FRAME or not showing(window):
                return False
            return window.name == text or any(text in label for label in texts_of(window))
        except Exception:  # a window that went away while it was read (a closing chooser)
            return False
    return window_of_tolvan(matches, f"dialog {text!r}", timeout)


def focused_text(root, timeout):
    end = time.monotonic() + timeout
    while True:
        entry = pyatspi.findDescendant(
            root, lambda a: a is not None and a.getRole() == pyatspi.ROLE_TEXT and
            a.getState().contains(pyatspi.STATE_FOCUSED) and
            a.getState().contains(pyatspi.STATE_EDITABLE))
        if entry is not None or time.monotonic() >= end:
            return entry
        time.sleep(0.2)


def choose_file(title, path, button):
    chooser = dialog(title)
    entry = focused_text(chooser, 1.0)
    if entry is None:
        # An Open chooser shows a location entry only when asked to.
        subprocess.run(["xdotool", "key", "--clearmodifiers", "ctrl+l"], check=True)
        entry = focused_text(chooser, 5.0)
    if entry is None:
        raise SystemExit(f"the chooser {title!r} shows no location entry")
    entry.queryEditableText().setTextContents(path)
    time.sleep(0.3)
    press(find(chooser, pyatspi.ROLE_PUSH_BUTTON, button))


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


def list_table(window, name="Abbreviations"):
    found = pyatspi.findDescendant(
        window, lambda a: a is not None and a.name == name and
        a.getRole() in (pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE_TABLE))
    if found is None:
        raise SystemExit(f"no table named {name!r}")
    return found.queryTable()


def column_header(window, title):
    """The header of the abbreviation list's shown column titled TITLE (titles are padded)."""
    table = list_table(window)
    for c in range(table.nColumns):
        header = table.getColumnHeader(c)
        if header is not None and header.name.strip() == title:
            return header
    raise SystemExit(f"no column {title!r}")


def cell_text(cell):
    """A cell's text; a cell of an icon and a text names only its parts."""
    if cell is None:
        return ""
    if cell.name or cell.childCount == 0:
        return cell.name
    return " ".join(part.name for part in cell if part is not None and part.name)


def rows(window, name="Abbreviations"):
    table = list_table(window, name)
    names = []
    for r in range(table.nRows):
        cells = [table.getAccessibleAt(r, c) for c in range(table.nColumns)]
        names.append([cell_text(c) for c in cells])
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
    elif command == "sort":
        press(column_header(window, args[0]))
    elif command == "rows":
        for row in rows(window, *args[:1]):
            print("|".join(row))
    elif command == "answer":
        found = dialog(args[0])
        for text in texts_of(found):
            print(text)
        if len(args) > 2:
            choice = pyatspi.findDescendant(
                found, lambda a: a is not None and a.getRole() == pyatspi.ROLE_RADIO_BUTTON and
                a.name.startswith(args[2]))
            if choice is None:
                raise SystemExit(f"no option {args[2]!r}")
            press(choice)
            time.sleep(0.3)
            if not choice.getState().contains(pyatspi.STATE_CHECKED):
                raise SystemExit(f"the option {args[2]!r} did not take")
        press(find(found, pyatspi.ROLE_PUSH_BUTTON, args[1]))
    elif command == "choose-file":
        choose_file(*args)
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
