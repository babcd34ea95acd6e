// ClipboardOutput: pasting a replacement through the clipboard. Text is gathered in a
// buffer, put on the clipboard and pasted with Ctrl+V; the user's clipboard can be backed up
// format by format beforehand and put back afterwards. Used only on the output thread.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/output/key_sender.h"
#include "engine/output/output_prefs.h"
#include "platform/platform.h"

namespace tolvan {

class ClipboardOutput {
 public:
  explicit ClipboardOutput(const Platform& platform)
      : platform_(platform),
        keys_(platform),
        terminal_classes_(OutputPrefs().terminal_classes),
        primary_paste_classes_(OutputPrefs().primary_paste_classes) {}

  // An empty buffer with room for n bytes.
  void buf_setup(size_t n);
  // Nothing without a buffer; grows by 512 bytes when full.
  void buf_append_char(char byte);
  // A line break as the clipboard's applications expect it.
  void buf_append_line_end();
  // Drops the buffer; appending does nothing until the next setup.
  void buf_free();
  bool has_buffer() const { return has_buffer_; }
  const std::string& gathered() const { return buffer_; }
  size_t capacity() const { return capacity_; }

  // The window classes that paste with Shift+Ctrl+V, and those that paste the PRIMARY
  // selection with Shift+Insert (see window_class_listed for the lists' form).
  void set_paste_classes(std::string terminal_classes, std::string primary_paste_classes) {
    terminal_classes_ = std::move(terminal_classes);
    primary_paste_classes_ = std::move(primary_paste_classes);
  }

  // The gathered text (first character upper-cased when `capitalize_first`) onto the
  // clipboard (and the PRIMARY selection where the window pastes that), then the window's
  // paste chord and a wait until it has fetched the text, at most 700 ms, or the whole
  // 700 ms when the clipboard cannot tell. With `reset` the buffer is emptied. False when
  // the text did not arrive: the clipboard stayed locked, or the application fetched nothing
  // within the wait (it did not paste), or nothing was sent because the window would ask
  // before pasting the text's line breaks. Nothing happens when nothing was gathered.
  bool buf_paste(bool reset, bool capitalize_first);

  // Replaces the backup with a copy of every readable format; the PRIMARY selection is
  // backed up too, when a paste first uses it.
  void backup_contents();
  // Puts the backups back and forgets them (also when the clipboard cannot be opened: the
  // user's contents are then lost).
  void restore_contents();
  bool has_backup() const { return !backup_.empty(); }

 private:
  using Contents = std::vector<std::pair<ClipboardFormat, std::string>>;
  enum class PasteChord { CtrlV, ShiftCtrlV, ShiftInsert };

  // Another program may hold the clipboard for a moment: up to 52 attempts, 10 ms apart.
  bool open(Clipboard& clipboard);
  // A format's bytes, retried while the owner cannot render them.
  std::optional<std::string> get_data(Clipboard& clipboard, ClipboardFormat format);
  Contents contents_of(Clipboard& clipboard);
  void put_back(Clipboard& clipboard, Contents& contents);
  // Puts the text on `clipboard` as its only contents; false when it stayed busy.
  bool put_text(Clipboard& clipboard, const std::string& text);
  // The foreground window's way of pasting.
  PasteChord paste_chord() const;
  bool foreground_class_listed(std::string_view classes) const;
  void press(PasteChord chord);
  // Waits until more data requests than `before` have completed on `clipboard` and the
  // pasting application has gone quiet, or the paste wait is over.
  // False when the clipboard tells and nothing was fetched.
  bool wait_for_fetch(Clipboard& clipboard, std::optional<int> before);
  // How long the pasting application must have been quiet for its paste to be over.
  static uint32_t quiet_after_fetch(Clipboard& clipboard);

  Platform platform_;
  KeySender keys_;
  std::string terminal_classes_;
  std::string primary_paste_classes_;
  std::string buffer_;
  size_t capacity_ = 0;
  bool has_buffer_ = false;
  bool backing_up_ = false;  // between backup_contents and restore_contents
  Contents backup_;
  std::optional<Contents> primary_backup_;
};

// The text with its first character upper-cased (g_unichar_toupper); invalid UTF-8 at the
// start leaves it as it is.
std::string keysim_capitalize_first(std::string_view utf8);

}  // namespace tolvan
