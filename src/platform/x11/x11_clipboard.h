// X11Clipboard: the X CLIPBOARD (or PRIMARY) selection as Tolvan's clipboard, on its own connection and
// event thread, with a hidden window of its own.
//
// Reading converts the selection from its owner (TARGETS for the list of formats, then one
// target per format), waiting a bounded time for each step; INCR transfers of any size are
// taken in. Writing makes Tolvan the selection's owner: from then on the event thread
// answers other programs' requests from the data Tolvan holds, large data by INCR, until
// another program takes the selection over.
//
// X has no clipboard lock. open() and close() only keep Tolvan's own users one at a time,
// as the Windows clipboard would; another program never finds the clipboard "open".
#pragma once

#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/clipboard.h"
#include "platform/x11/clipboard_targets.h"
#include "platform/x11/incr_transfer.h"
#include "platform/x11/x11_event_thread.h"

namespace tolvan::x11 {

class X11Clipboard final : public Clipboard {
 public:
  // `step_timeout`: how long a conversion waits for the owner's next answer (the reply, or
  // the next INCR chunk) before it gives up.
  // Which selection the object stands for: CLIPBOARD, or PRIMARY (what X terminals paste
  // with Shift+Insert and the middle button).
  enum class Selection { Clipboard, Primary };
  explicit X11Clipboard(std::chrono::milliseconds step_timeout = std::chrono::milliseconds(1000),
                        Selection selection = Selection::Clipboard);
  ~X11Clipboard() override;
  X11Clipboard(const X11Clipboard&) = delete;
  X11Clipboard& operator=(const X11Clipboard&) = delete;

  bool ok() const { return window_ != 0; }

  bool open() override;
  void close() override;
  bool empty() override;
  std::vector<ClipboardFormat> formats() override;
  std::optional<std::string> get(ClipboardFormat format) override;
  bool set(ClipboardFormat format, std::string bytes) override;
  std::string format_name(ClipboardFormat format) override;
  bool set_text(const std::string& utf8) override;
  std::optional<std::string> text() override;
  // Data requests served in full (the last INCR chunk written, or the property written for
  // a small one) since Tolvan last took the selection.
  std::optional<int> completed_data_requests() override;
  std::optional<int> pasting_program_requests() override;
  std::optional<int> pasting_program_fetches() override;
  bool lines_end_with_crlf() const override { return false; }
  bool serves_at_once() const override { return true; }

  // The format Tolvan numbers a target with (the same name, the same number, as a
  // registered Windows format); nullopt for a meta target.
  std::optional<ClipboardFormat> register_format(const std::string& target);

  // Gives the selection up and forgets the data (at stop: other programs then see an empty
  // clipboard rather than one whose owner no longer answers). A clipboard manager, when the
  // desktop runs one, is first asked to keep the data.
  void release();
  // Whether Tolvan holds the selection now.
  bool owns_selection();
  // The size past which data goes out by INCR, in bytes.
  size_t incr_threshold() const { return incr_threshold_; }

 private:
  using Bytes = std::shared_ptr<const std::string>;
  struct Outgoing {
    unsigned long type = 0;
    IncrSender sender;
    std::chrono::steady_clock::time_point last;
  };
  struct Reading {
    unsigned long selection = 0;
    unsigned long target = 0;
    bool reply_only = false;  // a request whose answer is only yes or no
    bool active = false;
    bool done = false;
    bool failed = false;
    std::optional<IncrReceiver> incr;
    std::string data;
    std::chrono::steady_clock::time_point last;
  };

  void handle(_XEvent& event);
  void on_selection_request(_XEvent& event);
  void on_selection_notify(_XEvent& event);
  void on_property_notify(_XEvent& event);
  // Writes the answer to one request; false refuses it. Needs the X and state locks.
  bool serve(unsigned long requestor, unsigned long property, unsigned long target);
  // A data request answered completely; its requestor is the pasting program when it is
  // the first. Needs the state lock.
  void served_in_full(unsigned long requestor);
  // The data Tolvan serves for a target, or null.
  Bytes data_for_target(const std::string& target) const;
  void continue_outgoing(unsigned long requestor, unsigned long property);
  void drop_stale_outgoing();

  // The selection's data for one target from its owner; nullopt when there is none or the
  // owner does not answer in time.
  std::optional<std::string> convert(const std::string& target);
  // The same for any selection; with `request`, those atoms are the request's parameter and
  // only the answer counts (a yes gives "").
  std::optional<std::string> convert_selection(unsigned long selection, const std::string& target,
                                               const std::vector<long>* request);
  // Asks the desktop's clipboard manager, when there is one, to keep the data Tolvan holds
  // (SAVE_TARGETS), serving it meanwhile; waits a bounded time for the answer.
  void hand_to_clipboard_manager();
  // The names of the targets the owner offers; nullopt when it does not say.
  std::optional<std::vector<std::string>> owner_targets();
  // Reads and deletes the reading property; nullopt when it cannot be had.
  std::optional<std::string> take_property(unsigned long* type);
  bool take_ownership();
  std::optional<unsigned long> server_time();
  unsigned long atom(const std::string& name);
  std::optional<std::string> atom_name(unsigned long atom);

  std::chrono::milliseconds step_timeout_;
  Selection selection_;
  XEventThread x_;
  unsigned long window_ = 0;
  unsigned long clipboard_atom_ = 0, targets_atom_ = 0, timestamp_atom_ = 0, incr_atom_ = 0,
                utf8_atom_ = 0, atom_atom_ = 0, integer_atom_ = 0, reading_property_ = 0,
                time_property_ = 0;
  size_t incr_threshold_ = 0;
  std::map<unsigned long, std::string> atom_names_;  // under the X lock

  std::mutex mutex_;  // the state below; taken after the X lock when both are needed
  std::condition_variable changed_;
  std::mutex conversion_mutex_;  // one conversion at a time, and the time below
  std::chrono::steady_clock::time_point unresponsive_until_{};
  ClipboardFormatTable table_;
  std::vector<std::pair<ClipboardFormat, Bytes>> held_;
  bool open_ = false;
  bool owner_ = false;
  unsigned long owned_since_ = 0;
  int served_ = 0;
  // The window that first fetched data since Tolvan last took the selection, how many
  // requests it has made since, whatever they asked for, and how many fetches in all.
  std::optional<unsigned long> fetcher_;
  int fetcher_requests_ = 0;
  int fetcher_fetches_ = 0;
  std::map<std::pair<unsigned long, unsigned long>, Outgoing> outgoing_;  // (requestor, property)
  Reading reading_;
  std::optional<unsigned long> time_answer_;
};

}  // namespace tolvan::x11
