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
constexpr uint32_t kFetchPollMs = 2;
// The text stays until the pasting application has been quiet this long after its fetch.
constexpr uint32_t kQuietAfterFetchMs = 16;
// Some applications (Chromium) fetch the text twice for one paste, and paste what the
// second fetch brings, tens of milliseconds after the first, asking for the list of formats
// again and again in between. One that keeps asking after its first fetch is given this
// long to fetch again.
constexpr uint32_t kQuietBeforeSecondFetchMs = 60;
constexpr size_t kGrowBy = 512;
// Windows that ask before pasting text with line breaks in it (rxvt-unicode's confirm-paste
// extension, on as it comes) and take the keys that follow as the answer: such text is typed.
constexpr std::string_view kAskBeforePastingLines = "URxvt";

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

bool ClipboardOutput::open(Clipboard& clipboard) {
  for (int attempt = 1; attempt <= kOpenAttempts; ++attempt) {
    if (clipboard.open()) return true;
    if (attempt < kOpenAttempts) platform_.clock->sleep_ms(kRetrySleepMs);
  }
  return false;
}

bool ClipboardOutput::put_text(Clipboard& clipboard, const std::string& text) {
  if (!open(clipboard)) return false;
  clipboard.empty();
  clipboard.set_text(text);
  clipboard.close();
  return true;
}

bool ClipboardOutput::buf_paste(bool reset, bool capitalize_first) {
  if (buffer_.empty()) return true;
  if (buffer_.find('\n') != std::string::npos && foreground_class_listed(kAskBeforePastingLines)) {
    if (reset) buffer_.clear();
    return false;
  }
  const std::string text = capitalize_first ? keysim_capitalize_first(buffer_) : buffer_;
  const PasteChord chord = paste_chord();
  Clipboard* primary = chord == PasteChord::ShiftInsert ? platform_.primary : nullptr;
  if (primary && backing_up_ && !primary_backup_) primary_backup_ = contents_of(*primary);
  bool arrived = false;
  if (put_text(*platform_.clipboard, text) && (!primary || put_text(*primary, text))) {
    // The application fetches from the selection its chord pastes.
    Clipboard& pasted_from = primary ? *primary : *platform_.clipboard;
    if (!pasted_from.serves_at_once()) platform_.clock->sleep_ms(kBeforePasteMs);
    const std::optional<int> before = pasted_from.completed_data_requests();
    press(chord);
    arrived = wait_for_fetch(pasted_from, before);
  }
  if (reset) buffer_.clear();
  return arrived;
}

bool ClipboardOutput::foreground_class_listed(std::string_view classes) const {
  Windows* windows = platform_.windows;
  return windows && window_class_listed(classes, windows->class_name(windows->foreground()));
}

ClipboardOutput::PasteChord ClipboardOutput::paste_chord() const {
  if (platform_.primary && foreground_class_listed(primary_paste_classes_)) return PasteChord::ShiftInsert;
  // Terminals hand Ctrl+V to the program running in them; they paste on Shift+Ctrl+V.
  if (foreground_class_listed(terminal_classes_)) return PasteChord::ShiftCtrlV;
  return PasteChord::CtrlV;
}

void ClipboardOutput::press(PasteChord chord) {
  const uint16_t modifier = chord == PasteChord::CtrlV ? 0 : vk::Shift;
  const uint16_t control = chord == PasteChord::ShiftInsert ? 0 : vk::Control;
  const uint16_t key = chord == PasteChord::ShiftInsert ? vk::Insert : vk::KeyV;
  if (modifier) keys_.keybd_event(modifier, 0);
  if (control) keys_.keybd_event(control, 0);
  keys_.keybd_event(key, 0);
  keys_.keybd_event(key, kKeyUp);
  if (control) keys_.keybd_event(control, kKeyUp);
  if (modifier) keys_.keybd_event(modifier, kKeyUp);
}

bool ClipboardOutput::wait_for_fetch(Clipboard& clipboard, std::optional<int> before) {
  if (!before) {
    platform_.clock->sleep_ms(kAfterPasteMs);
    return true;
  }
  bool fetched = false;
  std::optional<int> requests = clipboard.pasting_program_requests();
  uint32_t quiet = 0;
  for (uint32_t waited = 0; waited < kAfterPasteMs; waited += kFetchPollMs, quiet += kFetchPollMs) {
    const std::optional<int> served = clipboard.completed_data_requests();
    if (!served) return true;
    fetched = fetched || *served > *before;
    if (const std::optional<int> now = clipboard.pasting_program_requests(); now != requests) {
      requests = now;
      quiet = 0;
    }
    if (fetched && quiet >= quiet_after_fetch(clipboard)) return true;
    platform_.clock->sleep_ms(kFetchPollMs);
  }
  return fetched;
}

uint32_t ClipboardOutput::quiet_after_fetch(Clipboard& clipboard) {
  const std::optional<int> fetches = clipboard.pasting_program_fetches();
  const std::optional<int> requests = clipboard.pasting_program_requests();
  const bool asks_on = fetches && requests && *fetches == 1 && *requests > *fetches;
  return asks_on ? kQuietBeforeSecondFetchMs : kQuietAfterFetchMs;
}

std::optional<std::string> ClipboardOutput::get_data(Clipboard& clipboard, ClipboardFormat format) {
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

ClipboardOutput::Contents ClipboardOutput::contents_of(Clipboard& clipboard) {
  Contents contents;
  if (!open(clipboard)) return contents;
  for (ClipboardFormat format : clipboard.formats()) {
    if (std::optional<std::string> data = get_data(clipboard, format))
      contents.emplace_back(format, std::move(*data));
  }
  clipboard.close();
  return contents;
}

void ClipboardOutput::put_back(Clipboard& clipboard, Contents& contents) {
  if (contents.empty()) return;
  if (open(clipboard)) {
    clipboard.empty();
    for (auto& [format, bytes] : contents) clipboard.set(format, std::move(bytes));
    clipboard.close();
  }
  contents.clear();
}

void ClipboardOutput::backup_contents() {
  backup_ = contents_of(*platform_.clipboard);
  primary_backup_.reset();
  backing_up_ = true;
}

void ClipboardOutput::restore_contents() {
  put_back(*platform_.clipboard, backup_);
  if (primary_backup_ && platform_.primary) put_back(*platform_.primary, *primary_backup_);
  primary_backup_.reset();
  backing_up_ = false;
}

}  // namespace tolvan
