"""Text fields read the way a screen reader reads them: through the accessibility tree."""

import pyatspi

EDITABLE_ROLES = (pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY)


def editable_text(application):
    """The text interface of the first editable field of the application whose accessible
    name holds `application` (any case), or None while there is none."""
    for app in pyatspi.Registry.getDesktop(0):
        if app is None or application.lower() not in (app.name or "").lower():
            continue
        field = pyatspi.findDescendant(
            app, lambda node: node.getRole() in EDITABLE_ROLES
            and node.getState().contains(pyatspi.STATE_EDITABLE))
        if field is not None:
            return field.queryText()
    return None


def text_of(field):
    """The field's whole text, or None once the field is gone."""
    try:
        return field.getText(0, -1)
    except Exception:  # the tree goes away with the window
        return None


def without_fillers(text):
    """`text` without the U+FEFF that some trees (Firefox's) put after each character beyond
    the Basic Multilingual Plane: they count in UTF-16 units and fill the second one."""
    if text is None:
        return None
    return "".join(c for i, c in enumerate(text)
                   if not (c == "\ufeff" and i > 0 and ord(text[i - 1]) > 0xFFFF))
