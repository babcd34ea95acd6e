#!/usr/bin/python3
"""preferences_driver.py COMMAND [ARGS]: works Tolvan's Preferences window through the
accessibility tree (AT-SPI), as main_window_driver.py works the main window. Prints "ok" and
exits 0 when the command did what it says, else explains and exits 1. Commands:
  wait-window                 the Preferences window is on the desktop
  hotkey ROW MODIFIERS KEY    the hotkey row whose enable box is ROW ("Toggle status"):
                              enabled, exactly the modifier boxes MODIFIERS ("Ctrl+Shift",
                              "" for none) ticked, KEY chosen in its key combo
  set-text NAME TEXT          the entry NAME holds TEXT (as the user's own change)
  check NAME on|off           the check box NAME is ticked or not
  checked NAME                exits 0 when the check box NAME is ticked, 1 when not
  label TEXT                  exits 0 when a label reading TEXT is in the window, 1 when not
  click NAME                  presses the button NAME
"""
import sys
import time

import pyatspi

from main_window_driver import find, press, window_of_tolvan

MODIFIERS = ("Ctrl", "Alt", "Shift", "Super")


def preferences_window():
    return window_of_tolvan(lambda w: w.name == "Preferences", "Preferences window")


def bring_page_forward(accessible):
    """Shows the notebook page that holds `accessible`, as the user clicks its tab first: a
    control on a page behind is not realized and takes neither focus nor keys."""
    node = accessible
    while node is not None and node.getRole() != pyatspi.ROLE_PAGE_TAB:
        node = node.parent
    if node is None:
        return
    tabs = node.parent
    tabs.querySelection().selectChild(node.getIndexInParent())
    end = time.monotonic() + 3.0
    while not node.getState().contains(pyatspi.STATE_SHOWING):
        if time.monotonic() > end:
            raise SystemExit(f"the page {node.name!r} did not come forward")
        time.sleep(0.1)


def is_checked(box):
    return box.getState().contains(pyatspi.STATE_CHECKED)


def set_checked(box, on):
    if is_checked(box) != on:
        press(box)
    end = time.monotonic() + 3.0
    while is_checked(box) != on:
        if time.monotonic() > end:
            raise SystemExit(f"{box.name!r} did not become {'ticked' if on else 'unticked'}")
        time.sleep(0.1)


def starts_with(root, role, prefix):
    found = pyatspi.findDescendant(
        root, lambda a: a is not None and a.getRole() == role and a.name.startswith(prefix))
    if found is None:
        raise SystemExit(f"nothing of role {role} named {prefix!r}...")
    return found


def choose(combo, item):
    """Chooses the row named `item` of a combo box through its selection interface."""
    menu = combo[0]
    names = [menu[i].name for i in range(menu.childCount)]
    if item not in names:
        raise SystemExit(f"{combo.name!r} has no row {item!r} (rows: {names[:10]}...)")
    index = names.index(item)
    selection = combo.querySelection()
    selection.selectChild(index)
    end = time.monotonic() + 3.0
    while not selection.isChildSelected(index):
        if time.monotonic() > end:
            raise SystemExit(f"{combo.name!r} did not take the row {item!r}")
        time.sleep(0.1)


def set_hotkey(window, row, modifiers, key):
    enable = starts_with(window, pyatspi.ROLE_CHECK_BOX, row)
    bring_page_forward(enable)
    set_checked(enable, True)
    combo = find(window, pyatspi.ROLE_COMBO_BOX, enable.name + "key")
    # The modifier boxes are the key combo's siblings in the row.
    row_box = combo.parent
    wanted = set(filter(None, modifiers.split("+")))
    unknown = wanted - set(MODIFIERS)
    if unknown:
        raise SystemExit(f"unknown modifiers {sorted(unknown)}")
    boxes = {row_box[i].name: row_box[i] for i in range(row_box.childCount)
             if row_box[i].getRole() == pyatspi.ROLE_CHECK_BOX}
    for name in MODIFIERS:
        if name not in boxes:
            raise SystemExit(f"the row {enable.name!r} has no {name} box")
        set_checked(boxes[name], name in wanted)
    choose(combo, key)


def main(argv):
    command, args = argv[1], argv[2:]
    window = preferences_window()
    if command == "wait-window":
        pass
    elif command == "hotkey":
        set_hotkey(window, args[0], args[1], args[2])
    elif command == "set-text":
        entry = find(window, pyatspi.ROLE_TEXT, args[0])
        bring_page_forward(entry)
        entry.queryComponent().grabFocus()
        time.sleep(0.3)
        entry.queryEditableText().setTextContents(args[1])
        shown = entry.queryText().getText(0, -1)
        if shown != args[1]:
            raise SystemExit(f"{args[0]!r} holds {shown!r}, not {args[1]!r}")
    elif command == "check":
        box = find(window, pyatspi.ROLE_CHECK_BOX, args[0])
        bring_page_forward(box)
        set_checked(box, args[1] == "on")
    elif command == "checked":
        if not is_checked(find(window, pyatspi.ROLE_CHECK_BOX, args[0])):
            print("not ticked")
            return 1
    elif command == "label":
        found = pyatspi.findDescendant(
            window, lambda a: a is not None and a.getRole() == pyatspi.ROLE_LABEL and a.name == args[0])
        if found is None:
            print(f"no label {args[0]!r}")
            return 1
    elif command == "click":
        press(find(window, pyatspi.ROLE_PUSH_BUTTON, args[0]))
    else:
        raise SystemExit(f"unknown command {command}")
    print("ok")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
