// TextExpander %-codes to and from Tolvan's macros.
#include "engine/macros/textexpander_codes.h"

#include <algorithm>
#include <array>
#include <optional>

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


// The fixed codes of the table, one way, in one pass: at each place the first row that
// matches is converted. Whether a code is escaped (an odd run of "%" before it) is judged
// on the text as it was, and an escaped code loses its escape when going to own macros.
std::string convert_fixed_codes(std::string_view text, TeDirection direction) {
  const bool to_tolvan = direction == TeDirection::kToTolvan;
  auto row_at = [&](size_t pos) -> const TeMacroConversion* {
    for (const TeMacroConversion& row : kTeMacroConvTable) {
      std::string_view from = to_tolvan ? row.te : row.own;
      if (starts_with_at(text, pos, from, to_tolvan && row.match_case)) return &row;
    }
    return nullptr;
  };
  std::string out;
  out.reserve(text.size());
  size_t run = 0;  // "%" characters directly before `pos` in `text`
  for (size_t pos = 0; pos < text.size();) {
    if (run % 2 == 0) {
      if (const TeMacroConversion* row = row_at(pos)) {
        std::string_view from = to_tolvan ? row->te : row->own;
        out += to_tolvan ? row->own : row->te;
        pos += from.size();
        run = 0;
        continue;
      }
      if (to_tolvan && text[pos] == '%' && pos + 1 < text.size()) {
        if (const TeMacroConversion* row = row_at(pos + 1)) {
          out += row->te;  // "%%|" is the code "%|" written as text
          pos += 1 + row->te.size();
          run = 0;
          continue;
        }
      }
    }
    run = text[pos] == '%' ? run + 1 : 0;
    out += text[pos++];
  }
  return out;
}

struct LaterFillIn {
  std::string own;  // the Input macro
  size_t length;    // of the TextExpander code
};

// "%filltext:name=Street:default=Main St%", "%fillarea:...%", "%fillpopup:...%" and
// "%fillpart:...%" become an Input macro with the default, where there is one;
// "%fillpartend%" ends the optional part and becomes nothing.
// `unclosed_from`: where a search for a closing "%" already failed, so that text full of
// openers is not searched again and again.
std::optional<LaterFillIn> later_fill_in_at(std::string_view text, size_t pos,
                                            size_t& unclosed_from) {
  constexpr std::string_view kEnd = "%fillpartend%";
  if (starts_with_at(text, pos, kEnd, false)) return LaterFillIn{"", kEnd.size()};
  for (std::string_view start : {"%filltext:", "%fillarea:", "%fillpopup:", "%fillpart:"}) {
    if (!starts_with_at(text, pos, start, false)) continue;
    const size_t from = pos + start.size();
    size_t close = from >= unclosed_from ? std::string_view::npos : text.find('%', from);
    if (close == std::string_view::npos) {
      unclosed_from = std::min(unclosed_from, from);
      return std::nullopt;
    }
    std::string_view fields = text.substr(pos + start.size(), close - pos - start.size());
    std::string own = "%(Input)";
    for (size_t at = 0; at <= fields.size();) {
      size_t colon = fields.find(':', at);
      std::string_view field = fields.substr(at, colon == std::string_view::npos ? colon : colon - at);
      if (macro_has_prefix_at(field, 0, "default=")) {
        own = "%(Input " + std::string(field.substr(8)) + ")";
        break;
      }
      if (colon == std::string_view::npos) break;
      at = colon + 1;
    }
    return LaterFillIn{own, close + 1 - pos};
  }
  return std::nullopt;
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

std::string te_convert_later_fill_ins(std::string_view text) {
  std::string out;
  size_t run = 0;  // "%" characters directly before `pos`
  size_t unclosed_from = std::string_view::npos;
  for (size_t pos = 0; pos < text.size();) {
    if (run % 2 == 0 && text[pos] == '%') {
      if (std::optional<LaterFillIn> fill = later_fill_in_at(text, pos, unclosed_from)) {
        out += fill->own;
        pos += fill->length;
        run = 0;
        continue;
      }
      if (std::optional<LaterFillIn> escaped = later_fill_in_at(text, pos + 1, unclosed_from)) {
        out += text.substr(pos + 1, escaped->length);  // written as text: the escape goes
        pos += 1 + escaped->length;
        run = 0;
        continue;
      }
    }
    run = text[pos] == '%' ? run + 1 : 0;
    out += text[pos++];
  }
  return out;
}

std::string te_macros_to_tolvan_macros(std::string_view source) {
  // Fill-ins with a name go first: their closing "%" must not start a fixed code with the
  // text after it ("%fill:x%px" is a fill-in and "px", not a fill-in opener and "%p").
  const std::string later = te_convert_later_fill_ins(source);
  const TeOpenEndedConversion& fill = kTeOeMacroConvTable[0];
  std::vector<ExtractedSpan> named_fills =
      closed_spans(later, fill.te_start, fill.te_end, fill.match_case);
  std::erase_if(named_fills, [&](const ExtractedSpan& s) {
    return s.text.size() == fill.te_start.size() + fill.te_end.size();
  });
  std::string text = rewrite_spans(later, named_fills, fill.te_start.size(), fill.te_end.size(),
                                   fill.own_start, fill.own_end);
  // One pass over the text as it stands, so that what one conversion writes never makes
  // the next code look escaped ("%key:escape%%key:return%" is two keys).
  text = convert_fixed_codes(text, TeDirection::kToTolvan);
  return te_convert_fill(text);
}

std::string tolvan_macros_to_te_macros(std::string_view source) {
  return convert_open_ended_macros_from_to_te(convert_fixed_codes(source, TeDirection::kToTextExpander),
                                              TeDirection::kToTextExpander);
}

}  // namespace tolvan
