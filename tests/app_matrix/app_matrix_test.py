"""scripts/app-matrix's own logic without a display: the library it writes, how it reads the
terminals' bytes, the page's title and the accessibility tree's text, and its verdicts.
A matrix that misreads what an application holds would blame or spare Tolvan wrongly."""

import os
import sys
import unittest
import xml.etree.ElementTree as ElementTree

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..",
                                "scripts", "app-matrix"))

import accessible  # noqa: E402
import desktop  # noqa: E402
from apps import delivered_text, title_value  # noqa: E402
from cases import ABBREVIATIONS, CASES, library_xml, long_text  # noqa: E402
from report import Outcome, cell, details, text_changes  # noqa: E402


class LibraryTest(unittest.TestCase):
    def test_every_expansion_survives_the_file_exactly(self):
        root = ElementTree.fromstring(library_xml())
        found = {a.get("a"): a.get("e") for a in root.iter("a")}
        self.assertEqual(found, dict(ABBREVIATIONS))
        self.assertIn("\n", found["qqa"])
        self.assertIn("😀", found["qqu"])

    def test_long_text_has_its_length_and_repeated_keys_but_no_macro(self):
        text = long_text()
        self.assertEqual(len(text), 2000)
        for pair in ("aa", "ll", "oo", "00"):
            self.assertIn(pair, text)
        self.assertNotIn("%", text)

    def test_each_case_expects_leading_expansion_and_trailing_text(self):
        for case in CASES:
            self.assertEqual(case.expected, case.leading + case.expansion + case.trailing)
            self.assertTrue(case.expansion.endswith(" "), case.name)


class ReadBackTest(unittest.TestCase):
    def test_terminal_backspaces_take_back_whole_characters(self):
        typed = "Hi qqu ".encode() + b"\x7f" * 4 + "café 😀 ".encode() + b"ok"
        self.assertEqual(delivered_text(typed), "Hi café 😀 ok")
        self.assertEqual(delivered_text(b"\x08\x08ab\x08c"), "ac")
        self.assertEqual(delivered_text(b"one\rtwo"), "one\ntwo")

    def test_terminal_bytes_cut_inside_a_character_do_not_break_the_reading(self):
        self.assertEqual(delivered_text("é".encode()[:1]), "\ufffd")

    def test_title_holds_the_field_with_white_space_escaped(self):
        self.assertEqual(title_value("V:a\\sb\\nc\\\\d\\te:E — Mozilla Firefox"),
                         "a b\nc\\d\te")
        self.assertEqual(title_value("V::E - Chromium"), "")
        self.assertIsNone(title_value("V:cut off befo"))
        self.assertIsNone(title_value("Untitled - Chromium"))
        self.assertIsNone(title_value(None))

    def test_fillers_after_wide_characters_go_and_nothing_else(self):
        self.assertEqual(accessible.without_fillers("a😀\ufeffb\ufeffc"), "a😀b\ufeffc")
        self.assertIsNone(accessible.without_fillers(None))


class WaitingTest(unittest.TestCase):
    """Waits end on what the application shows, not on a clock."""

    def test_settle_returns_the_reading_that_is_done(self):
        readings = iter(["H", "Hi", "Hi b", "Hi by", "Hi by the way"])
        self.assertEqual(desktop.settle(lambda: next(readings),
                                        lambda text: text == "Hi by", quiet_seconds=5),
                         "Hi by")

    def test_settle_gives_up_on_a_reading_that_stopped_changing(self):
        readings = iter(["H", "Hi", "Hi b"] + ["Hi b"] * 1000)
        self.assertEqual(desktop.settle(lambda: next(readings),
                                        lambda text: text == "Hi by", quiet_seconds=0.3),
                         "Hi b")

    def test_poll_gives_the_first_true_value(self):
        values = iter([None, "", ["0x2a"]])
        self.assertEqual(desktop.poll(lambda: next(values), seconds=5, interval=0), ["0x2a"])


def outcome(got, clipboard="mine", primary="sel", expected="Hi by the way ok"):
    return Outcome("word ending", expected, got, ("mine", clipboard), ("sel", primary))


class VerdictTest(unittest.TestCase):
    def test_changes_count_lost_extra_and_changed_characters(self):
        self.assertEqual(text_changes("aabbcc", "aabcc"), "1 lost")
        self.assertEqual(text_changes("abc", "abbc"), "1 extra")
        self.assertEqual(text_changes("abc", "axc"), "1 changed")
        self.assertEqual(text_changes("Hi by the way ok", "Hi btwby the way ok"), "3 extra")

    def test_a_case_passes_only_with_text_and_both_selections_intact(self):
        self.assertTrue(outcome("Hi by the way ok").passed)
        self.assertFalse(outcome("Hi by the wa ok").passed)
        self.assertFalse(outcome("Hi by the way ok", clipboard="by the way ").passed)
        self.assertFalse(outcome("Hi by the way ok", primary=None).passed)
        self.assertFalse(outcome(None).passed)

    def test_cell_counts_and_names_each_failure(self):
        self.assertEqual(cell([outcome("Hi by the way ok")] * 2), "2/2 ✓")
        failed = cell([outcome("Hi by the way ok"), outcome("Hi by the wy ok", clipboard=None)])
        self.assertEqual(failed, "1/2 ✗ (word ending: 1 lost, clipboard not restored)")
        self.assertEqual(cell([], "FeatherPad showed no window"),
                         "0/0 ✗ (FeatherPad showed no window)")
        self.assertEqual(cell([outcome("Hi by the way ok")], "tolvan-cli run ended with 1"),
                         "1/1 ✗ (tolvan-cli run ended with 1)")

    def test_details_show_where_the_texts_part(self):
        lines = details(outcome("Hi by teh way ok", primary="by the way"))
        self.assertIn("first difference at 7", lines[0])
        self.assertTrue(any('"sel"' in line and '"by the way"' in line for line in lines))

    def test_a_case_that_could_not_run_shows_only_why(self):
        failed = Outcome("unicode", "x", None, ("mine", None), ("sel", None),
                         "Ctrl+A, BackSpace did not empty the field")
        self.assertEqual(details(failed), ["  Ctrl+A, BackSpace did not empty the field"])
        self.assertEqual(cell([failed]), "0/1 ✗ (unicode: Ctrl+A, BackSpace did not empty the field)")

    def test_details_count_lost_keys_that_repeat_the_one_before(self):
        lines = details(outcome("Leters rol of", expected="Letters roll off"))
        self.assertIn("    3 characters lost or changed, 3 of them in a run of one key", lines)
        lines = details(outcome("Leters rol f", expected="Letters roll off"))
        self.assertIn("    4 characters lost or changed, 3 of them in a run of one key", lines)


if __name__ == "__main__":
    unittest.main()
