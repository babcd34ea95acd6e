// Clipboard: the system clipboard as a set of formats, each holding bytes, with the
// open/close discipline of the Windows clipboard (another program may hold it open).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tolvan {

// A clipboard format as the backend numbers it. The standard Windows numbers below are
// used where a backend has an equivalent; registered formats lie from 0xC000 up.
using ClipboardFormat = uint32_t;
inline constexpr ClipboardFormat kFormatText = 1;         // CF_TEXT, 8-bit text + NUL
inline constexpr ClipboardFormat kFormatBitmap = 2;       // CF_BITMAP
inline constexpr ClipboardFormat kFormatDib = 8;          // CF_DIB, packed bitmap
inline constexpr ClipboardFormat kFormatUnicodeText = 13;  // CF_UNICODETEXT, UTF-16LE + NUL
inline constexpr ClipboardFormat kFormatHdrop = 15;       // CF_HDROP
inline constexpr ClipboardFormat kFormatFirstRegistered = 0xC000;

class Clipboard {
 public:
  virtual ~Clipboard() = default;

  // One attempt to open the clipboard (callers retry); false while another program holds
  // it. Every call below except text() needs it open.
  virtual bool open() = 0;
  virtual void close() = 0;
  // Removes every format and makes us the clipboard's owner.
  virtual bool empty() = 0;
  // The formats on the clipboard, in the order the owner offered them.
  virtual std::vector<ClipboardFormat> formats() = 0;
  // A format's bytes; nullopt when it is absent or its data cannot be had now.
  virtual std::optional<std::string> get(ClipboardFormat format) = 0;
  virtual bool set(ClipboardFormat format, std::string bytes) = 0;
  // The name of a registered format ("" for standard ones).
  virtual std::string format_name(ClipboardFormat format) = 0;

  // Convenience over the calls above, in UTF-8. set_text needs the clipboard open and puts
  // the text as kFormatUnicodeText (after empty()); text() opens and closes it itself and
  // answers nullopt when the clipboard is busy or holds no text.
  virtual bool set_text(const std::string& utf8) = 0;
  virtual std::optional<std::string> text() = 0;

  // How many requests for a format's data (not for the list of formats) other programs
  // have completed since our last empty(): a paste target has fetched what we put there
  // once this grows. nullopt where the backend cannot tell; callers then wait a fixed time.
  virtual std::optional<int> completed_data_requests() = 0;
  // How many requests of any kind (the list of formats, refused ones) the program that first
  // fetched data since our last empty() has made: while the pasting program keeps asking,
  // its paste is not over. Other programs (a clipboard viewer) do not count. Backends that
  // cannot tell programs apart count the data requests.
  virtual std::optional<int> pasting_program_requests() { return completed_data_requests(); }
  // How many of the completed data requests were that program's.
  virtual std::optional<int> pasting_program_fetches() { return completed_data_requests(); }

  // Text put here ends its lines the way the platform's applications expect: CR LF on
  // Windows, LF for X applications (a terminal pastes CR LF as two line breaks).
  virtual bool lines_end_with_crlf() const { return true; }

  // Whether what set() put here is served to other programs as soon as it returns (on X,
  // Tolvan is then the selection's confirmed owner); elsewhere a paste waits a moment.
  virtual bool serves_at_once() const { return false; }
};

}  // namespace tolvan
