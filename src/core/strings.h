// Tolvan's text routines over UTF-8 byte strings: the substitution family, splitting,
// extraction, escaping and the small searches that the settings file, the macro language
// and the TextExpander conversions are defined in terms of.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tolvan {

// Case flags throughout: true = compare bytes exactly, false = ignore ASCII case.

// Replaces every `find` by `replace`, left to right; scanning resumes after the inserted
// text. With `escape`, an occurrence directly preceded by a backslash is left alone.
// An empty `find` returns the source unchanged.
std::string substitute_str(std::string_view source, std::string_view find,
                           std::string_view replace, bool case_sensitive = true,
                           bool escape = false);

// Like substitute_str, but an occurrence directly preceded (check_before) or followed
// (check_after) by `guard` is left alone. With count_runs the whole run of guard characters
// next to the occurrence is counted and only an odd run protects it (an even run means the
// guards escape one another).
std::string substitute_str_ignore_befaft(std::string_view source, std::string_view find,
                                         char guard, bool check_before, bool check_after,
                                         bool count_runs, std::string_view replace,
                                         bool case_sensitive = true);

struct Substitution {
  std::string_view find;
  std::string_view replace;
};
// substitute_str for each pair, in table order.
std::string substitute_str_using_conversion_table(std::string_view source,
                                                  const std::vector<Substitution>& table,
                                                  bool case_sensitive = true);

// Every `c` becomes backslash + c; and back. The settings file escapes backslash first,
// then double quote, and unescapes in the opposite order.
std::string escape_string(std::string_view source, char c);
std::string unescape_string(std::string_view source, char c);

// One span found by string_extract: the text from a start marker up to and including the
// next end marker (or to the end of the string), with its byte offsets [start, end).
struct ExtractedSpan {
  std::string text;
  size_t start;
  size_t end;
};
// Every start marker up to and including the following end marker (to the end of the
// string when the end marker is missing or empty); the search resumes after the end marker.
std::vector<ExtractedSpan> string_extract(std::string_view source, std::string_view start,
                                          std::string_view end, bool case_sensitive = true);

// substitute_str applied only inside the spans string_extract finds (markers kept).
std::string replace_this_with_that_in_this(std::string_view source, std::string_view find,
                                           std::string_view replace, std::string_view start,
                                           std::string_view end, bool case_sensitive = true,
                                           bool escape = false);

// Splits at `delimiter`, dropping empty pieces; empty input or delimiter gives no pieces.
std::vector<std::string> strsplit(std::string_view source, std::string_view delimiter,
                                  bool case_sensitive = true);
// Like strsplit, but a delimiter followed by more delimiters extends the piece before
// them by all but the last of them ("a||b" by "|" gives "a|", "b").
std::vector<std::string> strsplit_no_double(std::string_view source, std::string_view delimiter,
                                            bool case_sensitive = true);

// Index of the first `sub` in `s`, or -1.
long bytes_to_string(std::string_view s, std::string_view sub, bool case_sensitive = true);
// Index of the first `c`; with `escape` a backslash and the byte after it are skipped as a
// pair, so an escaped c is never found. -1 if none.
long bytes_to_char(std::string_view s, char c, bool escape = false);
// Number of occurrences of `c`, with the same pair skipping when `escape` is set.
long charcount(std::string_view s, char c, bool case_sensitive = true, bool escape = false);

// True when the first n bytes (n = -1: all) satisfy `predicate`; false for an empty string;
// true when n < 1 on a non-empty string.
bool sistype(std::string_view s, long n, int (*predicate)(int));

// Index of the first element equal to `s`, or -1.
long string_array_index_of(const std::vector<std::string>& array, std::string_view s,
                           bool case_sensitive = true);

// Index of the LAST element whose first n bytes equal s's (n = -1: the length of s, so an
// element that merely begins with s matches), or -1.
long char_list_contains_string(const std::vector<std::string>& list, std::string_view s,
                               long n, bool case_sensitive = true);

// ASCII case-insensitive equality.
bool equals_ignore_case(std::string_view a, std::string_view b);

// The text up to the first "\n" (all of it when there is none); with keep_newline the
// line feed is included, without it the line feed and a carriage return before it are not.
std::string read_entire_line_from_string(std::string_view s, bool keep_newline);

}  // namespace tolvan
