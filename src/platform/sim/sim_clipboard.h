// The simulated clipboard: formats in the order they were put there, each holding bytes,
// opened by one program at a time. Tests play the other programs: they put images or other
// data there, make a format unreadable, or keep the clipboard locked for a while.
#pragma once

#include <atomic>
#include <map>
#include <mutex>
#include <set>
#include <utility>
#include <vector>

#include "platform/clipboard.h"
#include "platform/clock.h"

namespace tolvan::sim {

class SimClipboard final : public Clipboard {
 public:
  explicit SimClipboard(Clock& clock) : clock_(clock) {}

  bool open() override;
  void close() override;
  bool empty() override;
  std::vector<ClipboardFormat> formats() override;
  std::optional<std::string> get(ClipboardFormat format) override;
  bool set(ClipboardFormat format, std::string bytes) override;
  std::string format_name(ClipboardFormat format) override;
  bool set_text(const std::string& utf8) override;
  std::optional<std::string> text() override;
  // The pastes that found text (text_for_paste) since the last empty() or set_contents().
  std::optional<int> completed_data_requests() override;
  // Those pastes and the requests for the list of formats (ask_formats) since then: the
  // simulated applications all count as the one pasting.
  std::optional<int> pasting_program_requests() override;

  // --- what other programs do ---
  // A registered format: the same name gives the same number.
  ClipboardFormat register_format(const std::string& name);
  // Replaces the whole contents as another program's copy would (no lock needed).
  void set_contents(std::vector<std::pair<ClipboardFormat, std::string>> contents);
  void set_contents_text(const std::string& utf8);
  std::vector<std::pair<ClipboardFormat, std::string>> contents() const;
  // Another program holds the clipboard open until the clock reaches `until_ms`
  // (UINT64_MAX: until unlock()).
  void lock_by_other_program(uint64_t until_ms = UINT64_MAX);
  void unlock();
  // get() of this format fails, as for data its owner cannot render.
  void make_unreadable(ClipboardFormat format);
  // An application's paste: the text, or nullopt when the clipboard is open or holds none.
  std::optional<std::string> text_for_paste();
  // An application asks which formats the clipboard holds, as X applications do.
  void ask_formats();
  // How often open() succeeded, and how often it was refused.
  int successful_opens() const;
  // false: the clipboard cannot tell whether anyone pasted, as some real ones cannot.
  void set_reports_requests(bool reports);
  bool lines_end_with_crlf() const override { return crlf_; }
  // false: the clipboard is an X one, whose applications expect LF alone.
  void set_lines_end_with_crlf(bool crlf) { crlf_ = crlf; }
  int refused_opens() const;

  // UTF-16LE with a terminating NUL, as kFormatUnicodeText holds it; and back.
  static std::string encode_unicode_text(const std::string& utf8);
  static std::string decode_text(ClipboardFormat format, const std::string& bytes);

 private:
  bool locked_by_other() const;
  std::optional<std::string> text_locked() const;

  Clock& clock_;
  mutable std::mutex mutex_;
  std::vector<std::pair<ClipboardFormat, std::string>> contents_;
  std::map<ClipboardFormat, std::string> names_;
  std::set<ClipboardFormat> unreadable_;
  bool open_ = false;
  uint64_t locked_until_ = 0;
  int successful_opens_ = 0;
  int refused_opens_ = 0;
  int completed_pastes_ = 0;
  int format_requests_ = 0;
  bool reports_requests_ = true;
  std::atomic<bool> crlf_ = true;
};

}  // namespace tolvan::sim
