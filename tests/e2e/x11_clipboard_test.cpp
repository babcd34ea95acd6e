// X11Clipboard on a real server, with xclip as the other program: reading what xclip
// copied (text, a PNG image, a megabyte by INCR), serving what Tolvan holds to `xclip -o`,
// and the backup of every target put back byte for byte.
#include "platform/x11/x11_clipboard.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <map>
#include <mutex>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "core/clipboard_text.h"
#include "x11_test_support.h"

// Last: Xlib's macros (None, Bool, Status) would break the headers above.
#include <X11/Xlib.h>
#undef Status

namespace tolvan::x11 {
namespace {

bool have_xclip() { return std::system("command -v xclip >/dev/null 2>&1") == 0; }

#define NEED_X_AND_XCLIP()                                   \
  do {                                                       \
    if (!have_display()) GTEST_SKIP() << "no X display";     \
    if (!have_xclip()) GTEST_SKIP() << "xclip is not there"; \
  } while (0)

class TempFile {
 public:
  explicit TempFile(const std::string& bytes) {
    char name[] = "/tmp/tolvan-clip-XXXXXX";
    int fd = mkstemp(name);
    path_ = name;
    if (fd >= 0) {
      size_t done = 0;
      while (done < bytes.size()) {
        ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) break;
        done += static_cast<size_t>(n);
      }
      close(fd);
    }
  }
  ~TempFile() { unlink(path_.c_str()); }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// xclip copies the file's bytes as `target`; it stays in the background serving them until
// another program takes the selection, so it must not keep the test's output open.
void xclip_copy(const std::string& target, const std::string& bytes) {
  TempFile file(bytes);
  const std::string command =
      "xclip -selection clipboard -t '" + target + "' -i '" + file.path() + "' </dev/null >/dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

// What `xclip -o` pastes for a target; nullopt when xclip fails.
std::optional<std::string> xclip_paste(const std::string& target) {
  const std::string command = "xclip -selection clipboard -t '" + target + "' -o 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return std::nullopt;
  std::string out;
  std::array<char, 65536> buffer;
  size_t n;
  while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) out.append(buffer.data(), n);
  const int status = pclose(pipe);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
  return out;
}

// --- a real PNG, made here: one stored (uncompressed) deflate block ---

uint32_t crc32(const std::string& bytes) {
  uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char c : bytes) {
    crc ^= c;
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

void put32(std::string& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>((v >> shift) & 0xFF));
}

void chunk(std::string& png, const std::string& type, const std::string& data) {
  put32(png, static_cast<uint32_t>(data.size()));
  const std::string body = type + data;
  png += body;
  put32(png, crc32(body));
}

std::string make_png(int width, int height) {
  std::string raw;  // filter byte 0, then RGB per pixel
  for (int y = 0; y < height; ++y) {
    raw.push_back('\0');
    for (int x = 0; x < width; ++x) {
      raw.push_back(static_cast<char>(x * 255 / width));
      raw.push_back(static_cast<char>(y * 255 / height));
      raw.push_back(static_cast<char>(0x80));
    }
  }
  std::string zlib = "\x78\x01";
  zlib.push_back('\x01');  // the last block, stored
  const uint16_t len = static_cast<uint16_t>(raw.size());
  zlib.push_back(static_cast<char>(len & 0xFF));
  zlib.push_back(static_cast<char>(len >> 8));
  zlib.push_back(static_cast<char>(~len & 0xFF));
  zlib.push_back(static_cast<char>((~len >> 8) & 0xFF));
  zlib += raw;
  uint32_t a = 1, b = 0;
  for (unsigned char c : raw) {
    a = (a + c) % 65521;
    b = (b + a) % 65521;
  }
  put32(zlib, (b << 16) | a);
  std::string png = "\x89PNG\r\n\x1a\n";
  std::string header;
  put32(header, static_cast<uint32_t>(width));
  put32(header, static_cast<uint32_t>(height));
  header += std::string("\x08\x02\x00\x00\x00", 5);  // 8-bit RGB
  chunk(png, "IHDR", header);
  chunk(png, "IDAT", zlib);
  chunk(png, "IEND", "");
  return png;
}

std::string random_bytes(size_t n, unsigned seed) {
  std::mt19937 gen(seed);
  std::string bytes(n, '\0');
  for (char& c : bytes) c = static_cast<char>(gen() & 0xFF);
  return bytes;
}

// Text of `n` bytes with multi-byte characters in it, valid UTF-8 throughout.
std::string big_text(size_t n) {
  std::string text;
  const std::string pieces[] = {"line of text ", "caf\xc3\xa9 ", "\xe6\x97\xa5\xe6\x9c\xac ", "\n"};
  for (size_t i = 0; text.size() < n; ++i) text += pieces[i % 4];
  return text;
}

std::optional<ClipboardFormat> format_named(X11Clipboard& clipboard, const std::string& name) {
  if (!clipboard.open()) return std::nullopt;
  std::optional<ClipboardFormat> found;
  for (ClipboardFormat f : clipboard.formats())
    if (clipboard.format_name(f) == name) found = f;
  clipboard.close();
  return found;
}

// What Tolvan's paste does to the clipboard: open, empty, the text, close.
bool put_text(X11Clipboard& clipboard, const std::string& text) {
  if (!clipboard.open()) return false;
  const bool done = clipboard.set_text(text);
  clipboard.close();
  return done;
}

using Backup = std::vector<std::pair<ClipboardFormat, std::string>>;

// Every format the clipboard offers with its data, as clipboard output backs it up.
Backup back_up(X11Clipboard& clipboard) {
  Backup backup;
  if (!clipboard.open()) return backup;
  for (ClipboardFormat format : clipboard.formats())
    if (std::optional<std::string> data = clipboard.get(format)) backup.emplace_back(format, std::move(*data));
  clipboard.close();
  return backup;
}

bool restore(X11Clipboard& clipboard, const Backup& backup) {
  if (!clipboard.open()) return false;
  bool done = clipboard.empty();
  for (const auto& [format, bytes] : backup) done = clipboard.set(format, bytes) && done;
  clipboard.close();
  return done;
}

TEST(X11Clipboard, ReadsTheTextAnotherProgramCopied) {
  NEED_X_AND_XCLIP();
  X11Clipboard clipboard;
  ASSERT_TRUE(clipboard.ok());
  const std::string text = "caf\xc3\xa9 \xe6\x97\xa5\xe6\x9c\xac \xf0\x9f\x98\x80 done";
  xclip_copy("UTF8_STRING", text);
  ASSERT_TRUE(eventually([&] { return clipboard.text() == text; })) << clipboard.text().value_or("<none>");
  ASSERT_TRUE(clipboard.open());
  const std::vector<ClipboardFormat> formats = clipboard.formats();
  // xclip offers TARGETS and the text; the meta target is no format.
  EXPECT_EQ(formats, std::vector<ClipboardFormat>{kFormatUnicodeText});
  EXPECT_EQ(clipboard.get(kFormatUnicodeText), clipboard_encode_unicode_text(text));
  clipboard.close();
}

TEST(X11Clipboard, ReadsAnImageByItsTarget) {
  NEED_X_AND_XCLIP();
  X11Clipboard clipboard;
  const std::string png = make_png(40, 30);
  xclip_copy("image/png", png);
  std::optional<ClipboardFormat> format;
  ASSERT_TRUE(eventually([&] { return (format = format_named(clipboard, "image/png")).has_value(); }));
  EXPECT_GE(*format, kFormatFirstRegistered);
  ASSERT_TRUE(clipboard.open());
  EXPECT_EQ(clipboard.get(*format), png);
  EXPECT_EQ(clipboard.formats().size(), 1u);
  clipboard.close();
  // xclip answers every target with its image; text is asked for only where offered.
  EXPECT_FALSE(clipboard.text().has_value()) << "an image is no text";
}

TEST(X11Clipboard, AMegabyteComesInExactly) {
  NEED_X_AND_XCLIP();
  X11Clipboard clipboard;
  const std::string data = random_bytes(1 << 20, 7);
  xclip_copy("application/x-tolvan-test", data);
  std::optional<ClipboardFormat> format;
  ASSERT_TRUE(eventually([&] { return (format = format_named(clipboard, "application/x-tolvan-test")).has_value(); }));
  ASSERT_TRUE(clipboard.open());
  std::optional<std::string> got = clipboard.get(*format);
  clipboard.close();
  ASSERT_TRUE(got.has_value());
  EXPECT_EQ(got->size(), data.size());
  EXPECT_TRUE(*got == data);
}

TEST(X11Clipboard, ServesItsTextToAnotherProgramUnderEveryTextTarget) {
  NEED_X_AND_XCLIP();
  X11Clipboard clipboard;
  const std::string text = "Kind regards, Zo\xc3\xab \xe2\x82\xac";
  ASSERT_TRUE(put_text(clipboard, text));
  EXPECT_TRUE(clipboard.owns_selection());
  EXPECT_EQ(xclip_paste("UTF8_STRING"), text);
  EXPECT_EQ(xclip_paste("text/plain;charset=utf-8"), text);
  EXPECT_EQ(xclip_paste("STRING"), "Kind regards, Zo\xeb ?") << "Latin-1, with what it lacks as '?'";
  std::optional<std::string> targets = xclip_paste("TARGETS");
  ASSERT_TRUE(targets.has_value());
  for (const char* target : {"TARGETS", "TIMESTAMP", "UTF8_STRING", "STRING", "TEXT", "text/plain;charset=utf-8"})
    EXPECT_NE(targets->find(target), std::string::npos) << target << " in " << *targets;
}

TEST(X11Clipboard, AMegabyteGoesOutExactlyToSeveralProgramsAtOnce) {
  NEED_X_AND_XCLIP();
  X11Clipboard clipboard;
  const std::string text = big_text(1 << 20);
  ASSERT_GT(text.size(), clipboard.incr_threshold()) << "the transfer must go by INCR";
  ASSERT_TRUE(put_text(clipboard, text));
  std::vector<std::thread> readers;
  std::vector<std::optional<std::string>> pasted(3);
  for (size_t i = 0; i < pasted.size(); ++i) readers.emplace_back([&, i] { pasted[i] = xclip_paste("UTF8_STRING"); });
  for (std::thread& t : readers) t.join();
  for (const auto& p : pasted) {
    ASSERT_TRUE(p.has_value());
    EXPECT_EQ(p->size(), text.size());
    EXPECT_TRUE(*p == text);
  }
  EXPECT_EQ(clipboard.completed_data_requests(), 3);
}

TEST(X11Clipboard, CountsDataRequestsServedInFullAndThePastingProgramsRequests) {
  NEED_X_AND_XCLIP();
  X11Clipboard clipboard;
  // Another program, connected before the pasting one (a gone client's window ids come
  // round again).
  X11Clipboard viewer;
  ASSERT_TRUE(put_text(clipboard, "x"));
  EXPECT_EQ(clipboard.completed_data_requests(), 0);
  EXPECT_EQ(clipboard.pasting_program_requests(), 0);
  ASSERT_TRUE(xclip_paste("TARGETS").has_value());
  EXPECT_EQ(clipboard.completed_data_requests(), 0) << "the list of targets is no paste";
  EXPECT_FALSE(xclip_paste("image/png").has_value()) << "a target Tolvan does not hold is refused";
  EXPECT_EQ(clipboard.completed_data_requests(), 0);
  EXPECT_EQ(clipboard.pasting_program_requests(), 0) << "nobody has fetched data yet";
  EXPECT_EQ(xclip_paste("UTF8_STRING"), "x");
  EXPECT_EQ(clipboard.completed_data_requests(), 1);
  EXPECT_EQ(clipboard.pasting_program_requests(), 1) << "the fetch itself";
  // Another program's requests are not the paste's.
  EXPECT_EQ(viewer.text(), "x");
  EXPECT_EQ(clipboard.pasting_program_requests(), 1);
  // Taking the selection again starts the counts afresh.
  ASSERT_TRUE(put_text(clipboard, "y"));
  EXPECT_EQ(clipboard.completed_data_requests(), 0);
  EXPECT_EQ(clipboard.pasting_program_requests(), 0);
}

TEST(X11Clipboard, AnotherProgramsCopyEndsTolvansOwnership) {
  NEED_X_AND_XCLIP();
  X11Clipboard clipboard;
  ASSERT_TRUE(put_text(clipboard, "Tolvan's"));
  EXPECT_EQ(clipboard.text(), "Tolvan's");
  xclip_copy("UTF8_STRING", "theirs");
  ASSERT_TRUE(eventually([&] { return !clipboard.owns_selection(); }));
  EXPECT_EQ(clipboard.text(), "theirs");
}

TEST(X11Clipboard, ReleasingLeavesNoOwner) {
  NEED_X_AND_XCLIP();
  X11Clipboard clipboard;
  ASSERT_TRUE(put_text(clipboard, "gone soon"));
  clipboard.release();
  EXPECT_FALSE(clipboard.owns_selection());
  EXPECT_FALSE(xclip_paste("UTF8_STRING").has_value());
}

// An owner that takes the selection and then never answers: reading gives up after its
// bounded wait instead of hanging the output thread.
TEST(X11Clipboard, AnOwnerThatNeverAnswersYieldsNothing) {
  NEED_X_AND_XCLIP();
  Display* mute = XOpenDisplay(nullptr);
  ASSERT_NE(mute, nullptr);
  Window window = XCreateSimpleWindow(mute, DefaultRootWindow(mute), 0, 0, 1, 1, 0, 0, 0);
  Atom clipboard_atom = XInternAtom(mute, "CLIPBOARD", False);
  XSetSelectionOwner(mute, clipboard_atom, window, CurrentTime);
  XSync(mute, False);
  ASSERT_EQ(XGetSelectionOwner(mute, clipboard_atom), window);
  {
    X11Clipboard clipboard(std::chrono::milliseconds(200));
    ASSERT_TRUE(clipboard.open());
    EXPECT_TRUE(clipboard.formats().empty());
    EXPECT_FALSE(clipboard.get(kFormatUnicodeText).has_value());
    clipboard.close();
    EXPECT_FALSE(clipboard.text().has_value());
    // Tolvan can still take the selection over and serve it.
    ASSERT_TRUE(put_text(clipboard, "after the mute one"));
    EXPECT_EQ(xclip_paste("UTF8_STRING"), "after the mute one");
  }
  XDestroyWindow(mute, window);
  XCloseDisplay(mute);
}

// A clipboard manager as desktops run one: asked to SAVE_TARGETS, it fetches each target
// named in the request from the clipboard's owner, keeps the data, then answers.
class FakeClipboardManager {
 public:
  FakeClipboardManager() {
    dpy_ = XOpenDisplay(nullptr);
    if (!dpy_) return;
    window_ = XCreateSimpleWindow(dpy_, DefaultRootWindow(dpy_), 0, 0, 1, 1, 0, 0, 0);
    manager_ = XInternAtom(dpy_, "CLIPBOARD_MANAGER", False);
    save_targets_ = XInternAtom(dpy_, "SAVE_TARGETS", False);
    clipboard_ = XInternAtom(dpy_, "CLIPBOARD", False);
    property_ = XInternAtom(dpy_, "FAKE_MANAGER_DATA", False);
    XSetSelectionOwner(dpy_, manager_, window_, CurrentTime);
    XSync(dpy_, False);
    thread_ = std::thread([this] { run(); });
  }
  ~FakeClipboardManager() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    if (dpy_) {
      XDestroyWindow(dpy_, window_);
      XCloseDisplay(dpy_);
    }
  }
  bool ok() const { return dpy_ != nullptr; }
  std::map<std::string, std::string> saved() {
    std::lock_guard lock(mutex_);
    return saved_;
  }
  int requests() const { return requests_; }

 private:
  bool next_event(XEvent& event, int timeout_ms) {
    for (int waited = 0; waited <= timeout_ms && !stop_; waited += 20) {
      if (XPending(dpy_) > 0) {
        XNextEvent(dpy_, &event);
        return true;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
  }

  std::optional<std::string> read_property(Window window, Atom property, int* format = nullptr) {
    Atom type = None;
    int item_format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* items = nullptr;
    if (XGetWindowProperty(dpy_, window, property, 0, 1 << 20, False, AnyPropertyType, &type, &item_format, &count,
                           &after, &items) != Success || type == None)
      return std::nullopt;
    std::string bytes;
    if (item_format == 8) bytes.assign(reinterpret_cast<char*>(items), count);
    if (item_format == 32)
      for (unsigned long i = 0; i < count; ++i) bytes.append(reinterpret_cast<char*>(&reinterpret_cast<long*>(items)[i]), sizeof(long));
    if (format) *format = item_format;
    XFree(items);
    return bytes;
  }

  void save(Atom target) {
    XConvertSelection(dpy_, clipboard_, target, property_, window_, CurrentTime);
    XEvent event;
    while (next_event(event, 2000)) {
      if (event.type != SelectionNotify || event.xselection.target != target) continue;
      if (event.xselection.property == None) return;
      std::optional<std::string> data = read_property(window_, property_);
      char* name = XGetAtomName(dpy_, target);
      std::lock_guard lock(mutex_);
      if (data && name) saved_[name] = *data;
      if (name) XFree(name);
      return;
    }
  }

  void run() {
    XEvent event;
    while (!stop_) {
      if (!next_event(event, 100) || event.type != SelectionRequest) continue;
      const XSelectionRequestEvent request = event.xselectionrequest;
      if (request.selection != manager_ || request.target != save_targets_) continue;
      ++requests_;
      int format = 0;
      std::optional<std::string> list = read_property(request.requestor, request.property, &format);
      if (list && format == 32)
        for (size_t i = 0; i + sizeof(long) <= list->size(); i += sizeof(long))
          save(static_cast<Atom>(*reinterpret_cast<const long*>(list->data() + i)));
      XSelectionEvent reply{};
      reply.type = SelectionNotify;
      reply.requestor = request.requestor;
      reply.selection = request.selection;
      reply.target = request.target;
      reply.property = request.property;
      reply.time = request.time;
      XSendEvent(dpy_, request.requestor, False, NoEventMask, reinterpret_cast<XEvent*>(&reply));
      XFlush(dpy_);
    }
  }

  Display* dpy_ = nullptr;
  Window window_ = 0;
  Atom manager_ = None, save_targets_ = None, clipboard_ = None, property_ = None;
  std::atomic<bool> stop_{false};
  std::atomic<int> requests_{0};
  std::mutex mutex_;
  std::map<std::string, std::string> saved_;
  std::thread thread_;
};

TEST(X11Clipboard, AtStopTheClipboardManagerIsHandedEveryTarget) {
  NEED_X_AND_XCLIP();
  FakeClipboardManager manager;
  ASSERT_TRUE(manager.ok());
  const std::string text = "keep me \xc3\xa9";
  const std::string png = make_png(8, 8);
  {
    X11Clipboard tolvan;
    std::optional<ClipboardFormat> png_format = tolvan.register_format("image/png");
    ASSERT_TRUE(png_format.has_value());
    ASSERT_TRUE(tolvan.open());
    ASSERT_TRUE(tolvan.empty());
    ASSERT_TRUE(tolvan.set(kFormatUnicodeText, clipboard_encode_unicode_text(text)));
    ASSERT_TRUE(tolvan.set(*png_format, png));
    tolvan.close();
  }  // Tolvan stops
  EXPECT_EQ(manager.requests(), 1);
  const std::map<std::string, std::string> saved = manager.saved();
  EXPECT_EQ(saved.count("TARGETS"), 0u) << "meta targets are not the data";
  ASSERT_EQ(saved.count("UTF8_STRING"), 1u);
  EXPECT_EQ(saved.at("UTF8_STRING"), text);
  ASSERT_EQ(saved.count("image/png"), 1u);
  EXPECT_TRUE(saved.at("image/png") == png);
  EXPECT_EQ(saved.count("STRING"), 1u);
}

TEST(X11Clipboard, AStopWithoutTheSelectionAsksTheManagerNothing) {
  NEED_X_AND_XCLIP();
  FakeClipboardManager manager;
  ASSERT_TRUE(manager.ok());
  {
    X11Clipboard tolvan;
    ASSERT_TRUE(put_text(tolvan, "short-lived"));
    xclip_copy("UTF8_STRING", "another program's");
    ASSERT_TRUE(eventually([&] { return !tolvan.owns_selection(); }));
  }
  EXPECT_EQ(manager.requests(), 0);
}

TEST(X11Clipboard, OneUserAtATimeInsideTolvan) {
  NEED_X_AND_XCLIP();
  X11Clipboard clipboard;
  ASSERT_TRUE(clipboard.open());
  EXPECT_FALSE(clipboard.open());
  clipboard.close();
  EXPECT_TRUE(clipboard.open());
  clipboard.close();
  EXPECT_FALSE(clipboard.empty()) << "emptying needs the clipboard open";
  EXPECT_FALSE(clipboard.set(kFormatUnicodeText, clipboard_encode_unicode_text("x")));
}

// What clipboard output does around a paste: every target the user's clipboard offers is
// read, Tolvan's text goes in for the paste, and then everything is put back. The owner
// here is a second clipboard on its own connection, as another program would be, offering
// text, an image and a megabyte of binary data.
TEST(X11Clipboard, EveryTargetOfABackupComesBackByteForByte) {
  NEED_X_AND_XCLIP();
  const std::string text = "the user's text \xc3\xa9";
  const std::string png = make_png(64, 48);
  const std::string blob = random_bytes((1 << 20) + 123, 11);
  {
    X11Clipboard other;
    std::optional<ClipboardFormat> png_format = other.register_format("image/png");
    std::optional<ClipboardFormat> blob_format = other.register_format("application/x-tolvan-blob");
    ASSERT_TRUE(png_format && blob_format);
    ASSERT_TRUE(other.open());
    ASSERT_TRUE(other.empty());
    ASSERT_TRUE(other.set(kFormatUnicodeText, clipboard_encode_unicode_text(text)));
    ASSERT_TRUE(other.set(*png_format, png));
    ASSERT_TRUE(other.set(*blob_format, blob));
    other.close();

    X11Clipboard tolvan;
    const Backup backup = back_up(tolvan);
    // The text, its three other text targets, the image and the blob.
    ASSERT_EQ(backup.size(), 6u);

    ASSERT_TRUE(put_text(tolvan, "Kind regards"));
    EXPECT_TRUE(eventually([&] { return !other.owns_selection(); })) << "the paste took the selection over";
    EXPECT_EQ(xclip_paste("UTF8_STRING"), "Kind regards");

    ASSERT_TRUE(restore(tolvan, backup));

    EXPECT_EQ(xclip_paste("UTF8_STRING"), text);
    EXPECT_EQ(xclip_paste("image/png"), png);
    std::optional<std::string> blob_back = xclip_paste("application/x-tolvan-blob");
    ASSERT_TRUE(blob_back.has_value());
    EXPECT_EQ(blob_back->size(), blob.size());
    EXPECT_TRUE(*blob_back == blob);
  }
}

TEST(X11Clipboard, AnXclipImageSurvivesABackupAndRestore) {
  NEED_X_AND_XCLIP();
  const std::string png = make_png(17, 9);
  xclip_copy("image/png", png);
  X11Clipboard tolvan;
  ASSERT_TRUE(eventually([&] { return format_named(tolvan, "image/png").has_value(); }));
  const Backup backup = back_up(tolvan);
  ASSERT_EQ(backup.size(), 1u);
  ASSERT_TRUE(put_text(tolvan, "pasted"));
  EXPECT_EQ(xclip_paste("UTF8_STRING"), "pasted");
  ASSERT_TRUE(restore(tolvan, backup));
  EXPECT_EQ(xclip_paste("image/png"), png);
}

}  // namespace
}  // namespace tolvan::x11
