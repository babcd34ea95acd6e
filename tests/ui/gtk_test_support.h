// What the tests of real widgets share: whether GTK can run here (without an X display the
// tests skip), turning the main loop until something holds, and answering the message boxes
// the code under test opens and waits on.
#pragma once

#include <gtest/gtest.h>

#include <glibmm/main.h>
#include <gtkmm/label.h>
#include <gtkmm/main.h>
#include <gtkmm/messagedialog.h>
#include <gtkmm/window.h>

#include <chrono>
#include <cstdlib>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "presenters/message_box_buttons.h"

namespace tolvan::ui::testing {

inline bool gtk_ready() {
  static const bool ready = [] {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) return false;
    if (!gtk_init_check(nullptr, nullptr)) return false;
    Gtk::Main::init_gtkmm_internals();
    return true;
  }();
  return ready;
}

#define TOLVAN_NEED_DISPLAY()                                  \
  do {                                                         \
    if (!::tolvan::ui::testing::gtk_ready())                   \
      GTEST_SKIP() << "no X display to show windows on";       \
  } while (false)

// Turns the main loop until `done` holds (true) or five seconds passed (false).
template <class Predicate>
bool turn_until(Predicate done) {
  auto context = Glib::MainContext::get_default();
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    // Not blocking: the predicate may wait on another thread, which wakes no loop.
    if (!context->iteration(false)) g_usleep(1000);
  }
  return true;
}

// Turns the main loop until it has had nothing to do for 100 ms (or five seconds passed):
// what was posted to it has run and the X server's answers have come back.
inline void settle() {
  auto context = Glib::MainContext::get_default();
  auto quiet_since = std::chrono::steady_clock::now();
  turn_until([&] {
    const auto now = std::chrono::steady_clock::now();
    if (context->pending()) quiet_since = now;
    return now - quiet_since > std::chrono::milliseconds(100);
  });
}

// Turns the main loop for `duration`.
inline void turn_for(std::chrono::milliseconds duration) {
  const auto end = std::chrono::steady_clock::now() + duration;
  turn_until([&] { return std::chrono::steady_clock::now() >= end; });
}

// The first label of a message box's text area: its message.
inline Gtk::Label* message_label(Gtk::MessageDialog& box) {
  for (Gtk::Widget* child : box.get_message_area()->get_children()) {
    if (auto* label = dynamic_cast<Gtk::Label*>(child)) return label;
  }
  return nullptr;
}

// The first widget of type W below `widget`.
template <class W>
W* find_widget(Gtk::Widget& widget) {
  if (auto* found = dynamic_cast<W*>(&widget)) return found;
  if (auto* container = dynamic_cast<Gtk::Container*>(&widget)) {
    for (Gtk::Widget* child : container->get_children()) {
      if (W* found = find_widget<W>(*child)) return found;
    }
  }
  return nullptr;
}

// Calls `handle` once for each window of type W (a message box, a question) that opens
// while it lives (checked from the main loop every 10 ms, which keeps turning while the code
// under test waits in the window). `handle` answers it, at once or later.
template <class W>
class WindowWatcher {
 public:
  explicit WindowWatcher(std::function<void(W&)> handle) : handle_(std::move(handle)) {
    poll_ = Glib::signal_timeout().connect([this] { return look(); }, 10);
  }
  ~WindowWatcher() { poll_.disconnect(); }
  WindowWatcher(const WindowWatcher&) = delete;
  WindowWatcher& operator=(const WindowWatcher&) = delete;

  int seen() const { return seen_; }

 private:
  bool look() {
    for (Gtk::Window* window : Gtk::Window::list_toplevels()) {
      auto* found = dynamic_cast<W*>(window);
      if (!found || !found->get_mapped() || found->get_data(kSeen)) continue;
      found->set_data(kSeen, this);
      ++seen_;
      handle_(*found);
    }
    return true;
  }

  static constexpr const char* kSeen = "tolvan-test-seen";
  std::function<void(W&)> handle_;
  sigc::connection poll_;
  int seen_ = 0;
};

using BoxWatcher = WindowWatcher<Gtk::MessageDialog>;

// The texts of every label below `widget`, in order.
inline std::vector<std::string> labels_of(Gtk::Widget& widget) {
  std::vector<std::string> out;
  if (auto* label = dynamic_cast<Gtk::Label*>(&widget)) out.push_back(label->get_text());
  if (auto* container = dynamic_cast<Gtk::Container*>(&widget)) {
    for (Gtk::Widget* child : container->get_children()) {
      for (std::string& text : labels_of(*child)) out.push_back(std::move(text));
    }
  }
  return out;
}

inline bool shows(Gtk::Widget& widget, const std::string& text) {
  for (const std::string& label : labels_of(widget)) {
    if (label == text) return true;
  }
  return false;
}

// Answers the boxes that open with `answers`, in order, and keeps their texts.
class BoxAnswers {
 public:
  explicit BoxAnswers(std::deque<Response> answers) : answers_(std::move(answers)) {}

  std::vector<std::string> texts;

 private:
  std::deque<Response> answers_;
  BoxWatcher watcher_{[this](Gtk::MessageDialog& box) {
    Gtk::Label* label = message_label(box);
    texts.push_back(label ? label->get_text().raw() : "");
    Response answer = answers_.empty() ? Response::None : answers_.front();
    if (!answers_.empty()) answers_.pop_front();
    box.response(static_cast<int>(answer));
  }};
};

}  // namespace tolvan::ui::testing
