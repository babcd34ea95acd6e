"""What the matrix types into every application: five cases over one library.

Each case types leading text, an abbreviation with the space that ends the word, and
trailing text; the application must then hold leading text, expansion and trailing text.
The texts avoid macros (a percent sign) and what word processors correct on their own
(quotes, double dashes, lower-case sentence starts), so that a difference is the
expander's doing."""

from dataclasses import dataclass
from xml.sax.saxutils import quoteattr

TRIGGER_WORD_ENDING = 5
CASE_ADAPT = 2


@dataclass(frozen=True)
class Case:
    name: str
    leading: str
    typed: str        # the abbreviation and the key that ends the word
    expansion: str    # what replaces `typed`, the word ending included
    trailing: str
    multiline: bool = False

    @property
    def expected(self):
        return self.leading + self.expansion + self.trailing


def long_text(length=2000):
    """A varied text of `length` characters: letters, digits, punctuation and the same key
    twice in a row, which a typing expander must not merge into one press."""
    sentences = [
        "Letters roll off a keyboard: aa, bb, ll, oo, ss and tt come twice in a row.",
        "Call 0800 555 1234 at 10:45; 99 bottles cost 12.50 each (tax 7 pct).",
        "Committee, success, balloon, bookkeeper, coffee, Mississippi, llama.",
        "Numbers 1122334455 and 6677889900 stress repeated digits, 000 too.",
        "Ask why! Then ask how? Slashes / plus + equals = and #hash are fine.",
        "Zebras quickly jump over the lazy fox while Vicky waxes gleeful.",
    ]
    # Numbered sentences: a text that repeats itself would let a comparison line up the
    # wrong copies and count a lost letter as a lost sentence.
    text = ""
    index = 0
    while len(text) < length:
        text += "(%d) %s " % (index + 1, sentences[index % len(sentences)])
        index += 1
    body = text[:length - 1]
    return body + ("!" if body.endswith((".", " ")) else ".")


CASES = [
    Case("word ending", "Hi ", "btw ", "by the way ", "ok"),
    Case("case adaptation", "So ", "Btw ", "By the way ", "ok"),
    Case("unicode", "Hi ", "qqu ", "café ☕ 日本語 😀 ", "ok"),
    Case("2000 chars", "Go ", "qql ", long_text() + " ", "ok"),
    Case("three lines", "Hi ", "qqa ", "Line one\nLine two\nLine three ", "ok", multiline=True),
]

ABBREVIATIONS = [
    ("btw", "by the way"),
    ("qqu", "café ☕ 日本語 😀"),
    ("qql", long_text()),
    ("qqa", "Line one\nLine two\nLine three"),
]


def library_xml():
    """The library file: every abbreviation triggered by a word ending, adapting its case."""
    def attribute(text):
        # Line breaks become references (quoteattr), and so does every non-ASCII character.
        return "".join(c if ord(c) < 127 else "&#%d;" % ord(c) for c in quoteattr(text))
    entries = "".join(
        '<a a=%s d="" e=%s c="%d" t="%d" r="0" x="030f07dc0e0509" y="030f07dc0e0509"/>'
        % (attribute(abbreviation), attribute(expansion), CASE_ADAPT, TRIGGER_WORD_ENDING)
        for abbreviation, expansion in ABBREVIATIONS)
    return ('<Tolvan n="All Abbreviations / Folders" t="0" d="0" m="1">'
            '<f n="Matrix" t="0" d="0">%s</f></Tolvan>' % entries)
