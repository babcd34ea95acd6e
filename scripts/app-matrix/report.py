"""The matrix's verdicts: what went wrong in one case, in a few words for the table and
with expected and received text side by side for the details."""

import difflib
import json
from dataclasses import dataclass


@dataclass
class Outcome:
    """One case in one application with one output method."""
    case: str
    expected: str
    got: object            # the text read back, None when nothing could be read
    clipboard: tuple       # (the user's text, what the CLIPBOARD held afterwards)
    primary: tuple         # the same for PRIMARY
    error: str = ""        # a case that could not be run

    @property
    def passed(self):
        return (not self.error and self.got == self.expected
                and self.clipboard[0] == self.clipboard[1]
                and self.primary[0] == self.primary[1])


def text_changes(expected, got):
    """How `got` differs from `expected`: characters lost, extra and changed."""
    lost = extra = changed = 0
    matcher = difflib.SequenceMatcher(None, expected, got, autojunk=False)
    for tag, e1, e2, g1, g2 in matcher.get_opcodes():
        if tag == "delete":
            lost += e2 - e1
        elif tag == "insert":
            extra += g2 - g1
        elif tag == "replace":
            common = min(e2 - e1, g2 - g1)
            changed += common
            lost += e2 - e1 - common
            extra += g2 - g1 - common
    words = [("%d lost" % lost) if lost else "", ("%d extra" % extra) if extra else "",
             ("%d changed" % changed) if changed else ""]
    return ", ".join(word for word in words if word)


def problems(outcome):
    """The case's failures in a few words, e.g. "12 lost, clipboard not restored"."""
    if outcome.error:
        return [outcome.error]
    found = []
    if outcome.got is None:
        found.append("nothing read back")
    elif outcome.got != outcome.expected:
        found.append(text_changes(outcome.expected, outcome.got))
    if outcome.clipboard[0] != outcome.clipboard[1]:
        found.append("clipboard not restored")
    if outcome.primary[0] != outcome.primary[1]:
        found.append("primary not restored")
    return found


def cell(outcomes, error=""):
    """e.g. "5/5 ✓" or "3/5 ✗ (2000 chars: 12 lost; unicode: clipboard not restored)"."""
    passed = sum(outcome.passed for outcome in outcomes)
    failures = ["%s: %s" % (outcome.case, ", ".join(problems(outcome)))
                for outcome in outcomes if not outcome.passed] + ([error] if error else [])
    mark = "%d/%d %s" % (passed, len(outcomes), "✓" if outcomes and not failures else "✗")
    return mark + (" (%s)" % "; ".join(failures) if failures else "")


def first_difference(expected, got):
    for index, (a, b) in enumerate(zip(expected, got)):
        if a != b:
            return index
    return min(len(expected), len(got))


def shown(text, start, width=60):
    piece = text[start:start + width]
    return json.dumps(piece, ensure_ascii=False) + ("…" if start + width < len(text) else "")


def details(outcome):
    """Lines that show expected against received text from the first difference on."""
    if outcome.error:
        return ["  " + outcome.error]
    lines = []
    if outcome.got is not None and outcome.got != outcome.expected:
        at = first_difference(outcome.expected, outcome.got)
        start = max(0, at - 20)
        lines += ["  text: expected %d characters, got %d; first difference at %d"
                  % (len(outcome.expected), len(outcome.got), at),
                  "    expected [%d:] %s" % (start, shown(outcome.expected, start)),
                  "    got      [%d:] %s" % (start, shown(outcome.got, start))]
        matcher = difflib.SequenceMatcher(None, outcome.expected, outcome.got, autojunk=False)
        edits = [op for op in matcher.get_opcodes() if op[0] != "equal"]
        for tag, e1, e2, g1, g2 in edits[:8]:
            lines.append("    %s at %d: %s -> %s" % (
                tag, e1, json.dumps(outcome.expected[e1:e2][:40], ensure_ascii=False),
                json.dumps(outcome.got[g1:g2][:40], ensure_ascii=False)))
        if len(edits) > 8:
            lines.append("    ... %d more edits" % (len(edits) - 8))
        lost = [i for tag, e1, e2, _, _ in edits if tag in ("delete", "replace")
                for i in range(e1, e2)]
        # Which of a run of the same key went missing cannot be told, only that one did.
        text = outcome.expected
        repeats = sum(1 for i in lost if text[max(i - 1, 0):i + 2].count(text[i]) > 1)
        if lost:
            lines.append("    %d characters lost or changed, %d of them in a run of one key"
                         % (len(lost), repeats))
    for name, (user, after) in (("clipboard", outcome.clipboard), ("primary", outcome.primary)):
        if user != after:
            lines.append("  %s: expected %s, got %s" % (
                name, json.dumps(user, ensure_ascii=False),
                "nothing" if after is None else shown(after, 0)))
    return lines


def table(rows, methods):
    """rows: (application, {method: cell text}); a plain text table with aligned columns."""
    header = ["application"] + methods
    body = [[name] + [cells.get(method, "") for method in methods] for name, cells in rows]
    widths = [max(len(line[i]) for line in [header] + body) for i in range(len(header))]
    render = lambda line: " | ".join(text.ljust(width) for text, width in zip(line, widths))
    return "\n".join([render(header), "-+-".join("-" * width for width in widths)]
                     + [render(line) for line in body])
