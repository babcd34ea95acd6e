#include "presenters/library_window/type_ahead.h"

#include "core/utf.h"

namespace tolvan {
namespace {

constexpr int64_t kPauseMs = 999;
constexpr size_t kMainLimit = 501;
constexpr size_t kSecondLimit = 500;

std::string latin1_to_utf8(const std::string& bytes) {
  std::string out;
  for (unsigned char c : bytes) utf8_append(out, c);
  return out;
}

bool starts_with_ignoring_case(const std::string& text, const std::string& prefix) {
  std::u32string t = utf8_to_u32(text);
  std::u32string p = utf8_to_u32(prefix);
  if (p.size() > t.size()) return false;
  for (size_t i = 0; i < p.size(); ++i) {
    if (unichar_tolower(t[i]) != unichar_tolower(p[i])) return false;
  }
  return true;
}

}  // namespace

std::optional<TypeAheadSearch> TypeAhead::key_pressed(uint32_t keyval, bool ctrl,
                                                      int64_t time_ms) {
  const bool pause = last_time_ && time_ms - *last_time_ > kPauseMs;
  last_time_ = time_ms;
  const char c = static_cast<char>(keyval & 0xff);
  bool already_kept = false;
  if (pause || main_.size() >= kMainLimit || second_.size() > kSecondLimit) {
    // The first letter typed again after a pause counts as a repeat of it.
    const bool same_as_main = keyval <= 0xff && !main_.empty() && main_.front() == c;
    const bool same_as_second = keyval <= 0xff && !second_.empty() && second_.front() == c;
    main_.clear();
    second_.clear();
    if (same_as_main) main_ = std::string(1, c);
    if (same_as_second) {
      second_ = std::string(1, c);
      already_kept = true;
    }
  }
  if (ctrl || keyval > 0xff) return std::nullopt;

  bool repeat = false;
  if (main_.size() == 1 && main_.front() == c) {
    repeat = true;
  } else {
    if (main_.size() == 1 && second_.size() > 1) main_ = second_;
    main_ += c;
  }
  if (!already_kept) second_ += c;
  return TypeAheadSearch{latin1_to_utf8(main_), repeat};
}

std::optional<size_t> type_ahead_find(const TypeAheadSearch& search, size_t count,
                                      std::optional<size_t> selected,
                                      const std::function<std::string(size_t)>& row_text) {
  if (count == 0) return std::nullopt;
  size_t start = selected.value_or(0) % count;
  if (search.repeat && selected) start = (start + 1) % count;
  for (size_t n = 0; n < count; ++n) {
    size_t row = (start + n) % count;
    if (starts_with_ignoring_case(row_text(row), search.text)) return row;
  }
  return std::nullopt;
}

}  // namespace tolvan
