// The matching decision for one key-down, delimiters and the trigger key.
#include "engine/matching/abbrev_matcher.h"

#include <algorithm>

#include "core/unused_memory.h"
#include "core/utf.h"
#include "platform/vk_codes.h"

namespace tolvan {
namespace {


// An abbreviation complete now, with the match when the caller hands it over.
MatchDecision complete(std::optional<AbbrevMatch> match, bool swallow_key) {
  MatchDecision decision;
  decision.complete = true;
  decision.swallow_key = swallow_key;
  decision.match = std::move(match);
  return decision;
}

}  // namespace

AbbrevMatcher::AbbrevMatcher(KeyBuffer& buffer, TooltipScheduler* tooltip)
    : buffer_(buffer), tooltip_(tooltip), prefs_(std::make_shared<const MatcherPrefs>()) {}

void AbbrevMatcher::set_prefs(MatcherPrefs prefs) {
  auto fresh = std::make_shared<const MatcherPrefs>(std::move(prefs));
  std::lock_guard lock(prefs_mutex_);
  prefs_ = std::move(fresh);
}

void AbbrevMatcher::drop_prefs() { set_prefs(MatcherPrefs{}); }

std::shared_ptr<const MatcherPrefs> AbbrevMatcher::prefs() const {
  std::lock_guard lock(prefs_mutex_);
  return prefs_;
}

void AbbrevMatcher::library_changed(const FolderList& main) {
  index_.build(main);
  buffer_.adjust_size(main);
  waiting_.reset();
  release_unused_memory();  // what the old index and the building of the new one left
}

int AbbrevMatcher::effective_trigger_mode(const MatcherPrefs& p, const Abbreviation& a) {
  return p.textexpander_mode ? p.default_trigger_mode : a.trigger_mode;
}

int AbbrevMatcher::effective_trigger_mode(const Abbreviation& a) const {
  return effective_trigger_mode(*prefs(), a);
}

bool AbbrevMatcher::clear_key_buffer_key_pressed(const MatcherPrefs& p, uint16_t vk) {
  if (vk == vk::Menu || vk == vk::Delete) return true;
  if (vk >= vk::Prior && vk <= vk::Down) return true;
  if (vk >= vk::LWin && vk <= vk::Apps) return true;
  return vk == vk::Escape && !p.textexpander_mode;
}

bool AbbrevMatcher::clear_key_buffer_key_pressed(uint16_t vk) const {
  return clear_key_buffer_key_pressed(*prefs(), vk);
}

DelimiterCheck AbbrevMatcher::key_is_delim(const MatcherPrefs& p, uint16_t vk,
                                           std::string_view typed) {
  char32_t c = unichar_tolower(utf8_first_char(typed));
  if (c == '\r') {
    c = '\n';
  } else if (vk == vk::Escape) {
    c = 27;
  }
  if (vk == vk::LShift || vk == vk::RShift) return {.kind = DelimiterCheck::Kind::kShift};
  const std::string& list = p.delim_chars;
  for (size_t i = 0; i < list.size(); ++i) {
    const std::optional<Utf8Char> d = utf8_char_at(list, i);
    if (!d || unichar_tolower(d->value) != c) continue;
    if (!p.textexpander_mode && !mon_gunichar_isprint(c)) continue;
    return {.kind = DelimiterCheck::Kind::kDelimiter,
            .printable = mon_gunichar_isprint(c),
            .length = static_cast<int>(utf8_encoded_length(c))};
  }
  return {};
}

DelimiterCheck AbbrevMatcher::key_is_delim(uint16_t vk, std::string_view typed) const {
  return key_is_delim(*prefs(), vk, typed);
}

bool AbbrevMatcher::vk_is_trigger_vk(const MatcherPrefs& p, uint16_t vk) {
  auto listed = [&](uint16_t v) {
    return std::find(p.trigger_vks.begin(), p.trigger_vks.end(), v) != p.trigger_vks.end();
  };
  if (listed(vk)) return true;
  switch (vk) {
    case vk::LControl:
    case vk::RControl:
      return listed(vk::Control);
    case vk::LShift:
    case vk::RShift:
      return listed(vk::Shift);
    case vk::LMenu:
    case vk::RMenu:
      return listed(vk::Menu);
    default:
      return false;
  }
}

bool AbbrevMatcher::vk_is_trigger_vk(uint16_t vk) const { return vk_is_trigger_vk(*prefs(), vk); }

std::optional<std::string> AbbrevMatcher::get_typed_abbrev(const AbbrevMatch& m) const {
  if (!m.string || !m.abbreviation) return std::nullopt;
  long n = static_cast<long>(m.string->size());
  std::string_view bytes = buffer_.bytes();
  long size = static_cast<long>(bytes.size());
  if (size < 1 || size < n) return std::nullopt;
  long start = size - n;
  int mode = effective_trigger_mode(*m.abbreviation);
  // A printable delimiter already went into the key buffer after the abbreviation.
  if ((mode == TRIGGER_KEY || mode == TRIGGER_WORD_ENDING) && m.delimiter_printable)
    start -= m.delimiter_length;
  if (start < 0) return std::nullopt;
  return std::string(bytes.substr(static_cast<size_t>(start), static_cast<size_t>(n)));
}

bool AbbrevMatcher::tooltip_wanted(const MatcherPrefs& p, const AbbrevMatch& m, uint16_t vk,
                                   std::string_view typed) const {
  if (!tooltip_ || m.abbreviation->type() == ABBR_TYPE_UNSUPPORTED || !p.show_tooltips)
    return false;
  int t = effective_trigger_mode(p, *m.abbreviation);
  bool waits = t == TRIGGER_KEY || t == TRIGGER_WORD_ENDING;
  bool wanted = (p.show_tooltips_trigger && t == TRIGGER_KEY) ||
                (p.show_tooltips_wec && t == TRIGGER_WORD_ENDING) ||
                (p.textexpander_mode && waits);
  if (!wanted) return false;
  if (!mon_gunichar_isprint_get(typed) && vk != vk::Back) return false;
  return !clear_key_buffer_key_pressed(p, vk);
}

MatchDecision AbbrevMatcher::was_abbrev_typed_by_user(uint16_t vk, std::string_view typed,
                                                      MatchUse use) {
  std::shared_ptr<const MatcherPrefs> held = prefs();
  const MatcherPrefs& p = *held;
  const bool hand_over = use == MatchUse::kHandOver;

  if (tooltip_ && (mon_gunichar_isprint_get(typed) || utf8_first_char(typed) == '\r')) tooltip_->hide();

  const DelimiterCheck delim = key_is_delim(p, vk, typed);

  if (waiting_) {
    waiting_->delimiter_printable = delim.printable;
    waiting_->delimiter_length = delim.length;
    auto release = [&] {
      MatchDecision released = complete(hand_over ? waiting_ : std::nullopt, true);
      waiting_.reset();
      return released;
    };
    int t = effective_trigger_mode(p, *waiting_->abbreviation);
    if (t == TRIGGER_KEY && !p.textexpander_mode) {
      if (vk_is_trigger_vk(p, vk)) {
        trigger_vk_pressed_ = vk;
        return release();
      }
    } else if (t == TRIGGER_WORD_ENDING || t == TRIGGER_KEY) {
      if (delim.kind == DelimiterCheck::Kind::kDelimiter) return release();
      if (delim.kind == DelimiterCheck::Kind::kShift) return {};
      waiting_.reset();
    }
  }

  std::optional<AbbrevMatch> candidate = index_.find(buffer_.bytes());
  if (!candidate) {
    waiting_.reset();
    return {};
  }
  if (!hand_over) {
    waiting_.reset();
    return complete(std::nullopt, false);
  }
  if (tooltip_wanted(p, *candidate, vk, typed)) tooltip_->schedule(*candidate);
  int t = effective_trigger_mode(p, *candidate->abbreviation);
  if (t == TRIGGER_KEY || t == TRIGGER_WORD_ENDING) {
    waiting_ = candidate;
    return {};
  }
  waiting_.reset();
  return complete(std::move(candidate), false);
}

}  // namespace tolvan
