// Small behaviours that windows give their widgets: a window that asks for attention, a
// widget that never gets smaller, and an entry that refuses some characters.
#pragma once

#include <gtkmm/entry.h>
#include <gtkmm/window.h>

#include <functional>

namespace tolvan::ui {

// ui_set_window_flash: the window asks for the user's attention (the desktop flashes its
// task-bar entry, X11's urgency hint) until turned off. Turning it off for a window that
// does not ask does nothing.
void ui_set_window_flash(Gtk::Window& window, bool on);

// ui_widget_disallow_shrink: from now on the widget asks for the largest width and the
// largest height it has asked for so far, so a window does not jump smaller when, say, a
// label's text gets shorter. Ends with the widget.
void ui_widget_disallow_shrink(Gtk::Widget& widget);

// Text typed or pasted into the entry keeps only the characters
// `allowed` accepts.
void ui_restrict_entry_chars(Gtk::Entry& entry, std::function<bool(gunichar)> allowed);

}  // namespace tolvan::ui
