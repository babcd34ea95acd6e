// Clipboard output: the paste buffer, the paste itself and the backup around it.
#include "engine/output/clipboard_output.h"

#include "core/utf.h"
#include "platform/vk_codes.h"

namespace tolvan {
namespace {

constexpr int kOpenAttempts = 52;
constexpr int kGetDataRetries = 51;
constexpr uint32_t kRetrySleepMs = 10;
constexpr uint32_t kBeforePasteMs = 25;
// Applications read the clipboard after they see Ctrl+V; the user's contents go back only
// once the target has fetched the text, or after this wait when nobody can tell.
constexpr uint32_t kAfterPasteMs = 700;
constexpr uint32_t kFetchPollMs = 5;
// Some applications (Chromium) fetch the text more than once for one paste, the fetch they
// paste tens of milliseconds after the first, among requests for the list of formats. The
// text stays until the application has been quiet this long after its first fetch.
constexpr uint32_t kQuietAfterFetchMs = 60;
constexpr size_t kGrowBy = 512;

}  // namespace

std::string keysim_capitalize_first(std::string_view utf8) {
  std::optional<Utf8Char> c = utf8_char_at(utf8);
  if (!c) return std::string(utf8);
  std::string out;
  utf8_append(out, unichar_toupper(c->value));
  out.append(utf8.substr(c->length));
  return out;
}

void ClipboardOutput::buf_setup(size_t n) {
  buffer_.clear();
  buffer_.reserve(n);
  capacity_ = n;
  has_buffer_ = true;
}

void ClipboardOutput::buf_append_char(char byte) {
  if (!has_buffer_) return;
  if (buffer_.size() >= capacity_) {
    capacity_ += kGrowBy;
    buffer_.reserve(capacity_);
  }
  buffer_.push_back(byte);
}

void ClipboardOutput::buf_append_line_end() {
  if (platform_.clipboard->lines_end_with_crlf()) buf_append_char('\r');
  buf_append_char('\n');
}

void ClipboardOutput::buf_free() {
  buffer_ = std::string();
  capacity_ = 0;
  has_buffer_ = false;
}

bool ClipboardOutput::open() {
  for (int attempt = 1; attempt <= kOpenAttempts; ++attempt) {
    if (platform_.clipboard->open()) return true;
    if (attempt < kOpenAttempts) platform_.clock->sleep_ms(kRetrySleepMs);
  }
  return false;
}

void ClipboardOutput::buf_paste(bool reset, bool capitalize_first) {
  if (buffer_.empty()) return;
  if (open()) {
    Clipboard& clipboard = *platform_.clipboard;
    clipboard.empty();
    clipboard.set_text(capitalize_first ? keysim_capitalize_first(buffer_) : buffer_);
    clipboard.close();
    platform_.clock->sleep_ms(kBeforePasteMs);
    const std::optional<int> before = clipboard.completed_data_requests();
    press_paste_chord();
    wait_for_fetch(before);
  }
  if (reset) buffer_.clear();
}

void ClipboardOutput::press_paste_chord() {
  // Terminals hand Ctrl+V to the program running in them; they paste on Shift+Ctrl+V.
  bool terminal = false;
  if (Windows* windows = platform_.windows)
    terminal = keysim_is_terminal_class(terminal_classes_, windows->class_name(windows->foreground()));
  if (terminal) keys_.keybd_event(vk::Shift, 0);
  keys_.keybd_event(vk::Control, 0);
  keys_.keybd_event(vk::KeyV, 0);
  keys_.keybd_event(vk::KeyV, kKeyUp);
  keys_.keybd_event(vk::Control, kKeyUp);
  if (terminal) keys_.keybd_event(vk::Shift, kKeyUp);
}

void ClipboardOutput::wait_for_fetch(std::optional<int> before) {
  Clipboard& clipboard = *platform_.clipboard;
  if (!before) {
    platform_.clock->sleep_ms(kAfterPasteMs);
    return;
  }
  bool fetched = false;
  std::optional<int> requests = clipboard.answered_requests();
  uint32_t quiet = 0;
  for (uint32_t waited = 0; waited < kAfterPasteMs; waited += kFetchPollMs, quiet += kFetchPollMs) {
    const std::optional<int> served = clipboard.completed_data_requests();
    if (!served) return;
    fetched = fetched || *served > *before;
    if (const std::optional<int> now = clipboard.answered_requests(); now != requests) {
      requests = now;
      quiet = 0;
    }
    if (fetched && quiet >= kQuietAfterFetchMs) return;
    platform_.clock->sleep_ms(kFetchPollMs);
  }
}

std::optional<std::string> ClipboardOutput::get_data(ClipboardFormat format) {
  Clipboard& clipboard = *platform_.clipboard;
  std::string name;
  if (format >= kFormatFirstRegistered) name = clipboard.format_name(format);
  std::optional<std::string> data = clipboard.get(format);
  // Dropped files and OLE links are never worth waiting for; other owners may be busy
  // rendering the data.
  for (int retry = 0; !data && format != kFormatHdrop && name != "OwnerLink" && retry < kGetDataRetries;
       ++retry) {
    platform_.clock->sleep_ms(kRetrySleepMs);
    data = clipboard.get(format);
  }
  return data;
}

void ClipboardOutput::backup_contents() {
  backup_.clear();
  if (!open()) return;
  for (ClipboardFormat format : platform_.clipboard->formats()) {
    if (std::optional<std::string> data = get_data(format)) backup_.emplace_back(format, std::move(*data));
  }
  platform_.clipboard->close();
}

void ClipboardOutput::restore_contents() {
  if (backup_.empty()) return;
  if (open()) {
    Clipboard& clipboard = *platform_.clipboard;
    clipboard.empty();
    for (auto& [format, bytes] : backup_) clipboard.set(format, std::move(bytes));
    clipboard.close();
  }
  backup_.clear();
}

}  // namespace tolvan
