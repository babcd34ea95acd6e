// The substitution family, splitting, extraction, escaping and small searches.
#include "core/strings.h"

#include <algorithm>

namespace tolvan {
namespace {

char ascii_lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool bytes_equal(char a, char b, bool case_sensitive) {
  return case_sensitive ? a == b : ascii_lower(a) == ascii_lower(b);
}

bool matches_at(std::string_view s, size_t pos, std::string_view find, bool case_sensitive) {
  if (pos + find.size() > s.size()) return false;
  for (size_t i = 0; i < find.size(); ++i) {
    if (!bytes_equal(s[pos + i], find[i], case_sensitive)) return false;
  }
  return true;
}

size_t find_from(std::string_view s, std::string_view find, size_t from, bool case_sensitive) {
  if (find.empty()) return std::string_view::npos;
  if (case_sensitive) return s.find(find, from);
  for (size_t pos = from; pos + find.size() <= s.size(); ++pos) {
    if (matches_at(s, pos, find, false)) return pos;
  }
  return std::string_view::npos;
}

size_t run_before(std::string_view text, size_t at, char guard) {
  size_t n = 0;
  while (n < at && text[at - 1 - n] == guard) ++n;
  return n;
}

size_t run_after(std::string_view text, size_t from, char guard) {
  size_t n = 0;
  while (from + n < text.size() && text[from + n] == guard) ++n;
  return n;
}

// The one scanning loop behind the substitution family: `keep(pos)` decides whether the
// occurrence at `pos` of the source is left alone. Guards are looked for in the source,
// never in inserted text, so a replacement ending in a guard character protects nothing.
template <class KeepFn>
std::string substitute_where(std::string_view source, std::string_view find,
                             std::string_view replace, bool case_sensitive, KeepFn keep) {
  if (find.empty()) return std::string(source);
  std::string out;
  out.reserve(source.size());
  size_t pos = 0;
  while (true) {
    size_t hit = find_from(source, find, pos, case_sensitive);
    if (hit == std::string_view::npos) break;
    out.append(source.substr(pos, hit - pos));
    if (keep(hit)) {
      out.append(source.substr(hit, find.size()));
    } else {
      out.append(replace);
    }
    pos = hit + find.size();
  }
  out.append(source.substr(pos));
  return out;
}

}  // namespace

bool equals_ignore_case(std::string_view a, std::string_view b) {
  return a.size() == b.size() && matches_at(a, 0, b, false);
}

std::string substitute_str(std::string_view source, std::string_view find,
                           std::string_view replace, bool case_sensitive, bool escape) {
  return substitute_where(source, find, replace, case_sensitive,
                          [escape, source](size_t hit) {
                            return escape && hit > 0 && source[hit - 1] == '\\';
                          });
}

std::string substitute_str_ignore_befaft(std::string_view source, std::string_view find,
                                         char guard, bool check_before, bool check_after,
                                         bool count_runs, std::string_view replace,
                                         bool case_sensitive) {
  const size_t find_size = find.size();
  return substitute_where(
      source, find, replace, case_sensitive,
      [&](size_t hit) {
        auto guarded = [count_runs](size_t run) { return count_runs ? run % 2 == 1 : run > 0; };
        if (check_before && guarded(run_before(source, hit, guard))) return true;
        if (check_after && guarded(run_after(source, hit + find_size, guard))) return true;
        return false;
      });
}

std::string substitute_str_using_conversion_table(std::string_view source,
                                                  const std::vector<Substitution>& table,
                                                  bool case_sensitive) {
  std::string out(source);
  for (const auto& row : table) out = substitute_str(out, row.find, row.replace, case_sensitive);
  return out;
}

std::string escape_string(std::string_view source, char c) {
  const char escaped[2] = {'\\', c};
  return substitute_str(source, std::string_view(&c, 1), std::string_view(escaped, 2));
}

std::string unescape_string(std::string_view source, char c) {
  const char escaped[2] = {'\\', c};
  return substitute_str(source, std::string_view(escaped, 2), std::string_view(&c, 1));
}

std::vector<ExtractedSpan> string_extract(std::string_view source, std::string_view start,
                                          std::string_view end, bool case_sensitive) {
  std::vector<ExtractedSpan> spans;
  size_t pos = 0;
  while (true) {
    size_t from = find_from(source, start, pos, case_sensitive);
    if (from == std::string_view::npos) break;
    size_t close = find_from(source, end, from + start.size(), case_sensitive);
    size_t to = close == std::string_view::npos ? source.size() : close + end.size();
    spans.push_back({std::string(source.substr(from, to - from)), from, to});
    pos = to;
    if (to >= source.size()) break;
  }
  return spans;
}

std::string replace_this_with_that_in_this(std::string_view source, std::string_view find,
                                           std::string_view replace, std::string_view start,
                                           std::string_view end, bool case_sensitive,
                                           bool escape) {
  std::string out;
  size_t pos = 0;
  for (const auto& span : string_extract(source, start, end, case_sensitive)) {
    out.append(source.substr(pos, span.start - pos));
    std::string_view text = span.text;
    size_t inner_end = text.size();
    if (!end.empty() && text.size() >= start.size() + end.size() &&
        matches_at(text, text.size() - end.size(), end, case_sensitive)) {
      inner_end -= end.size();
    }
    out.append(text.substr(0, start.size()));
    out.append(substitute_str(text.substr(start.size(), inner_end - start.size()), find, replace,
                              case_sensitive, escape));
    out.append(text.substr(inner_end));
    pos = span.end;
  }
  out.append(source.substr(pos));
  return out;
}

std::vector<std::string> strsplit(std::string_view source, std::string_view delimiter,
                                  bool case_sensitive) {
  std::vector<std::string> pieces;
  if (source.empty() || delimiter.empty()) return pieces;
  size_t pos = 0;
  while (pos <= source.size()) {
    size_t hit = find_from(source, delimiter, pos, case_sensitive);
    size_t stop = hit == std::string_view::npos ? source.size() : hit;
    if (stop > pos) pieces.emplace_back(source.substr(pos, stop - pos));
    if (hit == std::string_view::npos) break;
    pos = hit + delimiter.size();
  }
  return pieces;
}

std::vector<std::string> strsplit_no_double(std::string_view source, std::string_view delimiter,
                                            bool case_sensitive) {
  std::vector<std::string> pieces;
  if (source.empty() || delimiter.empty()) return pieces;
  size_t pos = 0;
  while (pos <= source.size()) {
    size_t hit = find_from(source, delimiter, pos, case_sensitive);
    if (hit == std::string_view::npos) {
      if (pos < source.size()) pieces.emplace_back(source.substr(pos));
      break;
    }
    // A run of delimiters: all but the last belong to the piece before it.
    size_t last = hit;
    while (matches_at(source, last + delimiter.size(), delimiter, case_sensitive)) {
      last += delimiter.size();
    }
    if (last > pos) pieces.emplace_back(source.substr(pos, last - pos));
    pos = last + delimiter.size();
  }
  return pieces;
}

long bytes_to_string(std::string_view s, std::string_view sub, bool case_sensitive) {
  size_t hit = find_from(s, sub, 0, case_sensitive);
  return hit == std::string_view::npos ? -1 : static_cast<long>(hit);
}

long bytes_to_char(std::string_view s, char c, bool escape) {
  for (size_t i = 0; i < s.size(); ++i) {
    if (escape && s[i] == '\\') {
      if (i + 1 >= s.size()) return -1;
      ++i;
      continue;
    }
    if (s[i] == c) return static_cast<long>(i);
  }
  return -1;
}

long charcount(std::string_view s, char c, bool case_sensitive, bool escape) {
  long count = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    if (escape && s[i] == '\\') {
      ++i;
      continue;
    }
    if (bytes_equal(s[i], c, case_sensitive)) ++count;
  }
  return count;
}

bool sistype(std::string_view s, long n, int (*predicate)(int)) {
  if (s.empty()) return false;
  if (n != -1 && n < 1) return true;
  size_t limit = n == -1 ? s.size() : std::min(s.size(), static_cast<size_t>(n));
  for (size_t i = 0; i < limit; ++i) {
    if (!predicate(static_cast<unsigned char>(s[i]))) return false;
  }
  return true;
}

long string_array_index_of(const std::vector<std::string>& array, std::string_view s,
                           bool case_sensitive) {
  for (size_t i = 0; i < array.size(); ++i) {
    if (case_sensitive ? array[i] == s : equals_ignore_case(array[i], s)) {
      return static_cast<long>(i);
    }
  }
  return -1;
}

long char_list_contains_string(const std::vector<std::string>& list, std::string_view s, long n,
                               bool case_sensitive) {
  size_t count = n < 0 ? s.size() : static_cast<size_t>(n);
  std::string_view want = s.substr(0, std::min(count, s.size()));
  for (size_t i = list.size(); i-- > 0;) {
    std::string_view have = std::string_view(list[i]).substr(0, std::min(count, list[i].size()));
    bool equal = case_sensitive ? have == want : equals_ignore_case(have, want);
    if (equal) return static_cast<long>(i);
  }
  return -1;
}

std::string read_entire_line_from_string(std::string_view s, bool keep_newline) {
  size_t nl = s.find('\n');
  if (nl == std::string_view::npos) return std::string(s);
  if (keep_newline) return std::string(s.substr(0, nl + 1));
  size_t stop = (nl > 0 && s[nl - 1] == '\r') ? nl - 1 : nl;
  return std::string(s.substr(0, stop));
}

}  // namespace tolvan
