// TextExpander %-codes to and from Tolvan's macros.
#include "engine/macros/textexpander_codes.h"

#include <array>

#include "engine/macros/syntax.h"

namespace tolvan {
namespace {

constexpr std::array<TeMacroConversion, 33> kTeMacroConvTable = {{
    {"%|", "%(cursor)", false},
    {"%<", "%(Key Left)", false},
    {"%>", "%(Key Right)", false},
    {"%^", "%(Key Up)", false},
    {"%v", "%(Key Down)", false},
    {"%fill%", "%(Input)", false},
    {"%fill:%", "%(Input)", false},
    {"%key:tab%", "%(Key Tab)", false},
    {"%key:return%", "%(Key Enter)", false},
    {"%key:enter%", "%(Key Enter)", false},
    {"%key:esc%", "%(Key Escape)", false},
    {"%key:escape%", "%(Key Escape)", false},
    {"%clipboard", "%(clipboard)", false},
    {"%\\", "%(Key Home)%(Key Shift+End)", false},
    {"%e", "%(#Day)", true},
    {"%d", "%(Day)", true},
    {"%a", "%(WeekdayNameShort)", true},
    {"%A", "%(WeekdayName)", true},
    {"%1m", "%(#Month)", true},
    {"%m", "%(Month)", true},
    {"%b", "%(MonthNameShort)", true},
    {"%B", "%(MonthName)", true},
    {"%y", "%(YearShort)", true},
    {"%Y", "%(Year)", true},
    {"%p", "%(AMorPM)", true},
    {"%1S", "%(#Second)", true},
    {"%S", "%(Second)", true},
    {"%1M", "%(#Minute)", true},
    {"%M", "%(Minute)", true},
    {"%1I", "%(#Hour)", true},
    {"%1H", "%(#Hour24)", true},
    {"%I", "%(Hour)", true},
    {"%H", "%(Hour24)", true},
}};

constexpr std::array<TeOpenEndedConversion, 19> kTeOeMacroConvTable = {{
    {"%fill:", "%", "%(Input ", ")", false, false},
    {"%@+", "Y", "%(AddYears ", ")", true, true},
    {"%@+", "M", "%(AddMonths ", ")", true, true},
    {"%@+", "D", "%(AddDays ", ")", true, true},
    {"%@+", "h", "%(AddHours ", ")", true, true},
    {"%@+", "m", "%(AddMinutes ", ")", true, true},
    {"%@+", "s", "%(AddSeconds ", ")", true, true},
    {"%@-", "Y", "%(SubtractYears ", ")", true, true},
    {"%@-", "M", "%(SubtractMonths ", ")", true, true},
    {"%@-", "D", "%(SubtractDays ", ")", true, true},
    {"%@-", "h", "%(SubtractHours ", ")", true, true},
    {"%@-", "m", "%(SubtractMinutes ", ")", true, true},
    {"%@-", "s", "%(SubtractSeconds ", ")", true, true},
    {"%@-", "Y", "%(SubYears ", ")", true, true},
    {"%@-", "M", "%(SubMonths ", ")", true, true},
    {"%@-", "D", "%(SubDays ", ")", true, true},
    {"%@-", "h", "%(SubHours ", ")", true, true},
    {"%@-", "m", "%(SubMinutes ", ")", true, true},
    {"%@-", "s", "%(SubSeconds ", ")", true, true},
}};

bool starts_with_at(std::string_view text, size_t pos, std::string_view marker, bool match_case) {
  if (match_case) return text.substr(pos, marker.size()) == marker;
  return macro_has_prefix_at(text, pos, marker);
}

// Spans of start, inner text, end; a start with no end after it is not one.
std::vector<ExtractedSpan> closed_spans(std::string_view text, std::string_view start,
                                        std::string_view end, bool match_case) {
  std::vector<ExtractedSpan> spans = string_extract(text, start, end, match_case);
  std::erase_if(spans, [&](const ExtractedSpan& s) {
    return s.text.size() < start.size() + end.size() ||
           !starts_with_at(s.text, s.text.size() - end.size(), end, match_case);
  });
  return spans;
}

// Rewrites each span as new_start + its inner text + new_end.
std::string rewrite_spans(std::string_view text, const std::vector<ExtractedSpan>& spans,
                          size_t old_start_size, size_t old_end_size, std::string_view new_start,
                          std::string_view new_end) {
  std::string out;
  size_t pos = 0;
  for (const ExtractedSpan& span : spans) {
    out.append(text.substr(pos, span.start - pos));
    out.append(new_start);
    out.append(std::string_view(span.text).substr(
        old_start_size, span.text.size() - old_start_size - old_end_size));
    out.append(new_end);
    pos = span.end;
  }
  out.append(text.substr(pos));
  return out;
}

}  // namespace

std::span<const TeMacroConversion> te_macro_conv_table() { return kTeMacroConvTable; }
std::span<const TeOpenEndedConversion> te_oe_macro_conv_table() { return kTeOeMacroConvTable; }

std::vector<ExtractedSpan> date_math_string_extract(std::string_view text, std::string_view start,
                                                    std::string_view end, bool match_case) {
  std::vector<ExtractedSpan> spans;
  if (start.empty()) return spans;
  size_t pos = 0;
  while (pos + start.size() <= text.size()) {
    if (!starts_with_at(text, pos, start, match_case)) {
      ++pos;
      continue;
    }
    size_t p = pos + start.size();
    while (p < text.size() && macro_is_space(text[p])) ++p;
    size_t digits = p;
    while (p < text.size() && macro_is_digit(text[p])) ++p;
    if (p > digits && starts_with_at(text, p, end, match_case)) {
      size_t stop = p + end.size();
      spans.push_back({std::string(text.substr(pos, stop - pos)), pos, stop});
      pos = stop;
    } else {
      ++pos;
    }
  }
  return spans;
}

std::string convert_open_ended_macros_from_to_te(std::string_view source, TeDirection direction) {
  const bool to_tolvan = direction == TeDirection::kToTolvan;
  std::string text(source);
  for (const TeOpenEndedConversion& row : kTeOeMacroConvTable) {
    std::string_view from_start = to_tolvan ? row.te_start : row.own_start;
    std::string_view from_end = to_tolvan ? row.te_end : row.own_end;
    std::string_view to_start = to_tolvan ? row.own_start : row.te_start;
    std::string_view to_end = to_tolvan ? row.own_end : row.te_end;
    // Own macros are matched without case whatever the row says.
    bool match_case = to_tolvan && row.match_case;
    std::vector<ExtractedSpan> spans =
        row.date_math ? date_math_string_extract(text, from_start, from_end, match_case)
                      : closed_spans(text, from_start, from_end, match_case);
    if (spans.empty()) continue;
    text = rewrite_spans(text, spans, from_start.size(), from_end.size(), to_start, to_end);
  }
  return text;
}

std::string te_convert_fill(std::string_view text) {
  return convert_open_ended_macros_from_to_te(text, TeDirection::kToTolvan);
}

std::string te_macros_to_tolvan_macros(std::string_view source) {
  // Fill-ins with a name go first: their closing "%" must not start a fixed code with the
  // text after it ("%fill:x%px" is a fill-in and "px", not a fill-in opener and "%p").
  const TeOpenEndedConversion& fill = kTeOeMacroConvTable[0];
  std::vector<ExtractedSpan> named_fills =
      closed_spans(source, fill.te_start, fill.te_end, fill.match_case);
  std::erase_if(named_fills, [&](const ExtractedSpan& s) {
    return s.text.size() == fill.te_start.size() + fill.te_end.size();
  });
  std::string text = rewrite_spans(source, named_fills, fill.te_start.size(), fill.te_end.size(),
                                   fill.own_start, fill.own_end);
  for (const TeMacroConversion& row : kTeMacroConvTable) {
    text = substitute_str_ignore_befaft(text, row.te, '%', true, false, true, row.own,
                                        row.match_case);
    text = substitute_str(text, macro_escaped_form(row.te), row.te, row.match_case);
  }
  return te_convert_fill(text);
}

std::string tolvan_macros_to_te_macros(std::string_view source) {
  std::string text(source);
  for (const TeMacroConversion& row : kTeMacroConvTable) {
    text = substitute_str_ignore_befaft(text, row.own, '%', true, false, true, row.te, false);
  }
  return convert_open_ended_macros_from_to_te(text, TeDirection::kToTextExpander);
}

}  // namespace tolvan
