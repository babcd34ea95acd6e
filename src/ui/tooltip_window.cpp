#include "ui/tooltip_window.h"

#include <gdkmm/display.h>
#include <gdkmm/monitor.h>
#include <glibmm/extraclassinit.h>
#include <gtkmm/label.h>
#include <gtkmm/window.h>

#include <algorithm>

#include "core/main_loop.h"

namespace tolvan::ui {
namespace {

// The theme styles tooltips by their CSS node name, so the popup takes that name.
void name_css_node_tooltip(void* g_class, void*) {
  gtk_widget_class_set_css_name(GTK_WIDGET_CLASS(g_class), "tooltip");
}

class TooltipCssName : public Glib::ExtraClassInit {
 protected:
  TooltipCssName() : Glib::ExtraClassInit(name_css_node_tooltip) {}
};

}  // namespace

class TooltipWindow::Popup : public TooltipCssName, public Gtk::Window {
 public:
  Popup() : Glib::ObjectBase("TolvanPreviewPopup"), Gtk::Window(Gtk::WINDOW_POPUP) {
    set_type_hint(Gdk::WINDOW_TYPE_HINT_TOOLTIP);
    // The name screen readers and tests find it by; no window manager shows it.
    set_title("Tolvan preview");
    set_accept_focus(false);
    set_focus_on_map(false);
    set_resizable(false);
    set_skip_taskbar_hint(true);
    set_skip_pager_hint(true);
    // Rounded corners of the theme's tooltip need a visual with transparency.
    if (auto visual = get_screen()->get_rgba_visual(); visual && get_screen()->is_composited())
      gtk_widget_set_visual(GTK_WIDGET(gobj()), visual->gobj());
    label.set_line_wrap(true);
    label.set_line_wrap_mode(Pango::WRAP_WORD_CHAR);
    label.set_xalign(0);
    add(label);
    label.show();
  }

  // The label as wide as its text, up to the limit; longer lines wrap. GTK limits a
  // label's width in characters, so the limit is converted with the font's character
  // width as GTK measures it.
  void set_text(const std::string& text) {
    label.set_text(text);
    auto context = label.get_pango_context();
    Pango::FontMetrics metrics = context->get_metrics(context->get_font_description());
    const int char_width =
        std::max(metrics.get_approximate_char_width(), metrics.get_approximate_digit_width());
    if (char_width > 0)
      label.set_max_width_chars(std::max(1, kTooltipMaxTextWidth * PANGO_SCALE / char_width));
  }

  Gtk::Label label;
};

TooltipWindow::TooltipWindow()
    : shared_(std::make_shared<Shared>()), popup_(std::make_unique<Popup>()) {
  shared_->owner = this;
}

TooltipWindow::~TooltipWindow() {
  shared_->owner = nullptr;
}

Gtk::Window& TooltipWindow::window() { return *popup_; }
Gtk::Label& TooltipWindow::label() { return popup_->label; }

void TooltipWindow::show(int x, int y, const std::string& text) {
  want(Wanted{x, y, text});
}

void TooltipWindow::hide() { want(std::nullopt); }

void TooltipWindow::want(std::optional<Wanted> wanted) {
  std::lock_guard lock(shared_->mutex);
  shared_->wanted = std::move(wanted);
  if (shared_->update_posted) return;
  shared_->update_posted = true;
  post_to_main_loop([shared = shared_] {
    if (shared->owner) shared->owner->update();
  });
}

void TooltipWindow::update() {
  std::optional<Wanted> wanted;
  {
    std::lock_guard lock(shared_->mutex);
    wanted = shared_->wanted;
    shared_->update_posted = false;
  }
  if (wanted == shown_) return;
  shown_ = wanted;
  if (!wanted) {
    popup_->hide();
    return;
  }
  place(*wanted);
}

void TooltipWindow::place(const Wanted& wanted) {
  popup_->set_text(wanted.text);
  Gtk::Requisition minimum, natural;
  popup_->get_preferred_size(minimum, natural);
  int x = wanted.x;
  int y = wanted.y;
  // Kept on the monitor of the point, as a tooltip near an edge is.
  if (auto monitor = Gdk::Display::get_default()->get_monitor_at_point(x, y)) {
    Gdk::Rectangle area;
    monitor->get_geometry(area);
    x = std::max(area.get_x(), std::min(x, area.get_x() + area.get_width() - natural.width));
    y = std::max(area.get_y(), std::min(y, area.get_y() + area.get_height() - natural.height));
  }
  popup_->resize(natural.width, natural.height);
  popup_->move(x, y);
  popup_->show();
  if (auto gdk_window = popup_->get_window()) gdk_window->raise();
}

}  // namespace tolvan::ui
