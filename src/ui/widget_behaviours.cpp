#include "ui/widget_behaviours.h"

#include <glibmm/main.h>

#include <memory>

namespace tolvan::ui {

void ui_set_window_flash(Gtk::Window& window, bool on) {
  if (window.get_urgency_hint() != on) window.set_urgency_hint(on);
}

void ui_widget_disallow_shrink(Gtk::Widget& widget) {
  struct Largest {
    int width = -1;
    int height = -1;
  };
  auto largest = std::make_shared<Largest>();
  widget.signal_size_allocate().connect([&widget, largest](Gtk::Allocation&) {
    int minimum = 0;
    int width = 0;
    int height = 0;
    widget.get_preferred_width(minimum, width);
    widget.get_preferred_height(minimum, height);
    if (width <= largest->width && height <= largest->height) return;
    largest->width = std::max(width, largest->width);
    largest->height = std::max(height, largest->height);
    // Not during the allocation itself: a new request there would start a layout within
    // the layout.
    Glib::signal_idle().connect_once(
        sigc::track_obj([&widget, largest] {
          widget.set_size_request(largest->width, largest->height);
        }, widget));
  });
}

void ui_restrict_entry_chars(Gtk::Entry& entry, std::function<bool(gunichar)> allowed) {
  auto connection = std::make_shared<sigc::connection>();
  *connection = entry.signal_insert_text().connect(
      [&entry, allowed = std::move(allowed), connection](const Glib::ustring& text,
                                                         int* position) {
        Glib::ustring kept;
        for (gunichar c : text) {
          if (allowed(c)) kept += c;
        }
        if (kept.bytes() == text.bytes()) return;
        entry.signal_insert_text().emission_stop();
        if (kept.empty()) return;
        connection->block();
        entry.insert_text(kept, static_cast<int>(kept.bytes()), *position);
        connection->unblock();
      },
      false);
}

}  // namespace tolvan::ui
