// The simulated clipboard.
#include "platform/sim/sim_clipboard.h"

#include "core/clipboard_text.h"

namespace tolvan::sim {

bool SimClipboard::locked_by_other() const { return clock_.now_ms() < locked_until_; }

bool SimClipboard::open() {
  std::lock_guard lock(mutex_);
  if (open_ || locked_by_other()) {
    ++refused_opens_;
    return false;
  }
  open_ = true;
  ++successful_opens_;
  return true;
}

void SimClipboard::close() {
  std::lock_guard lock(mutex_);
  open_ = false;
}

bool SimClipboard::empty() {
  std::lock_guard lock(mutex_);
  if (!open_) return false;
  contents_.clear();
  completed_pastes_ = 0;
  format_requests_ = 0;
  return true;
}

std::vector<ClipboardFormat> SimClipboard::formats() {
  std::lock_guard lock(mutex_);
  std::vector<ClipboardFormat> result;
  if (!open_) return result;
  for (const auto& [format, bytes] : contents_) result.push_back(format);
  return result;
}

std::optional<std::string> SimClipboard::get(ClipboardFormat format) {
  std::lock_guard lock(mutex_);
  if (!open_ || unreadable_.count(format)) return std::nullopt;
  for (const auto& [f, bytes] : contents_)
    if (f == format) return bytes;
  return std::nullopt;
}

bool SimClipboard::set(ClipboardFormat format, std::string bytes) {
  std::lock_guard lock(mutex_);
  if (!open_) return false;
  unreadable_.erase(format);
  for (auto& [f, old] : contents_)
    if (f == format) {
      old = std::move(bytes);
      return true;
    }
  contents_.emplace_back(format, std::move(bytes));
  return true;
}

std::string SimClipboard::format_name(ClipboardFormat format) {
  std::lock_guard lock(mutex_);
  auto it = names_.find(format);
  return it == names_.end() ? std::string() : it->second;
}

bool SimClipboard::set_text(const std::string& utf8) {
  if (!empty()) return false;
  return set(kFormatUnicodeText, encode_unicode_text(utf8));
}

std::optional<std::string> SimClipboard::text() {
  std::lock_guard lock(mutex_);
  if (open_ || locked_by_other()) {
    ++refused_opens_;
    return std::nullopt;
  }
  ++successful_opens_;
  return text_locked();
}

std::optional<std::string> SimClipboard::text_locked() const {
  for (ClipboardFormat wanted : {kFormatUnicodeText, kFormatText})
    for (const auto& [f, bytes] : contents_)
      if (f == wanted && !unreadable_.count(f)) return decode_text(f, bytes);
  return std::nullopt;
}

ClipboardFormat SimClipboard::register_format(const std::string& name) {
  std::lock_guard lock(mutex_);
  for (const auto& [format, existing] : names_)
    if (existing == name) return format;
  ClipboardFormat format = kFormatFirstRegistered + static_cast<ClipboardFormat>(names_.size());
  names_[format] = name;
  return format;
}

void SimClipboard::set_contents(std::vector<std::pair<ClipboardFormat, std::string>> contents) {
  std::lock_guard lock(mutex_);
  contents_ = std::move(contents);
  unreadable_.clear();
  completed_pastes_ = 0;
  format_requests_ = 0;
}

void SimClipboard::set_contents_text(const std::string& utf8) {
  set_contents({{kFormatUnicodeText, encode_unicode_text(utf8)}});
}

std::vector<std::pair<ClipboardFormat, std::string>> SimClipboard::contents() const {
  std::lock_guard lock(mutex_);
  return contents_;
}

void SimClipboard::lock_by_other_program(uint64_t until_ms) {
  std::lock_guard lock(mutex_);
  locked_until_ = until_ms;
}

void SimClipboard::unlock() {
  std::lock_guard lock(mutex_);
  locked_until_ = 0;
}

void SimClipboard::make_unreadable(ClipboardFormat format) {
  std::lock_guard lock(mutex_);
  unreadable_.insert(format);
}

std::optional<std::string> SimClipboard::text_for_paste() {
  std::lock_guard lock(mutex_);
  if (open_ || locked_by_other()) return std::nullopt;
  std::optional<std::string> text = text_locked();
  if (text) ++completed_pastes_;
  return text;
}

std::optional<int> SimClipboard::completed_data_requests() {
  std::lock_guard lock(mutex_);
  if (!reports_requests_) return std::nullopt;
  return completed_pastes_;
}

void SimClipboard::ask_formats() {
  std::lock_guard lock(mutex_);
  if (completed_pastes_ > 0) ++format_requests_;
}

std::optional<int> SimClipboard::pasting_program_requests() {
  std::lock_guard lock(mutex_);
  if (!reports_requests_) return std::nullopt;
  return completed_pastes_ + format_requests_;
}

void SimClipboard::set_reports_requests(bool reports) {
  std::lock_guard lock(mutex_);
  reports_requests_ = reports;
}

int SimClipboard::successful_opens() const {
  std::lock_guard lock(mutex_);
  return successful_opens_;
}

int SimClipboard::refused_opens() const {
  std::lock_guard lock(mutex_);
  return refused_opens_;
}

std::string SimClipboard::encode_unicode_text(const std::string& utf8) {
  return clipboard_encode_unicode_text(utf8);
}

std::string SimClipboard::decode_text(ClipboardFormat format, const std::string& bytes) {
  return format == kFormatUnicodeText ? clipboard_decode_unicode_text(bytes) : clipboard_decode_latin1(bytes);
}

}  // namespace tolvan::sim
