#include "ui/launch_pad.h"

#include <gdk/gdkkeysyms.h>
#include <gdk/gdkx.h>
#include <gtkmm/box.h>
#include <gtkmm/image.h>
#include <gtkmm/label.h>

namespace tolvan::ui {
namespace {

LaunchPadKey key_of(const GdkEventKey& event) {
  switch (event.keyval) {
    case GDK_KEY_Tab:
    case GDK_KEY_ISO_Left_Tab:
    case GDK_KEY_KP_Tab: return LaunchPadKey::Tab;
    case GDK_KEY_Return:
    case GDK_KEY_KP_Enter:
    case GDK_KEY_ISO_Enter: return LaunchPadKey::Return;
    case GDK_KEY_Escape: return LaunchPadKey::Escape;
    default: return LaunchPadKey::Other;
  }
}

}  // namespace

LaunchPadDialog::LaunchPadDialog(LaunchPadPresenter& presenter) : presenter_(presenter) {
  set_title(kLaunchPadTitle);
  set_position(Gtk::WIN_POS_CENTER);
  set_resizable(false);
  set_type_hint(Gdk::WINDOW_TYPE_HINT_DIALOG);
  set_skip_taskbar_hint(false);
  set_border_width(7);

  auto* column = Gtk::manage(new Gtk::Box(Gtk::ORIENTATION_VERTICAL, 10));
  auto* top = Gtk::manage(new Gtk::Box(Gtk::ORIENTATION_HORIZONTAL, 6));
  auto* picture = Gtk::manage(new Gtk::Image);
  picture->set_from_icon_name("system-run", Gtk::ICON_SIZE_DIALOG);
  auto* text = Gtk::manage(new Gtk::Label(kLaunchPadText, Gtk::ALIGN_START));
  top->pack_start(*picture, Gtk::PACK_SHRINK);
  top->pack_start(*text, Gtk::PACK_EXPAND_WIDGET);
  auto* bottom = Gtk::manage(new Gtk::Box(Gtk::ORIENTATION_HORIZONTAL, 0));
  auto* label = Gtk::manage(new Gtk::Label(kLaunchPadEntryLabel, true));
  label->set_mnemonic_widget(entry_);
  entry_.set_width_chars(kLaunchPadEntryChars);
  bottom->pack_start(*label, Gtk::PACK_SHRINK);
  bottom->pack_start(entry_, Gtk::PACK_EXPAND_WIDGET);
  column->pack_start(*top, Gtk::PACK_SHRINK);
  column->pack_start(*bottom, Gtk::PACK_SHRINK);
  add(*column);

  // Before the window hands the key to the entry or moves the focus with it.
  signal_key_press_event().connect(
      [this](GdkEventKey* event) { return key_pressed(event); }, false);
  signal_delete_event().connect([this](GdkEventAny*) {
    presenter_.hide();
    return true;
  });
}

bool LaunchPadDialog::key_pressed(GdkEventKey* event) {
  switch (presenter_.key_pressed(key_of(*event))) {
    case LaunchPadKeyAnswer::Pass: return false;
    case LaunchPadKeyAnswer::Hide: return true;
    case LaunchPadKeyAnswer::AsSpace:
      event->keyval = GDK_KEY_space;
      return false;
  }
  return false;
}

LaunchPad::LaunchPad()
    : presenter_([this](LaunchPadPresenter& presenter) {
        auto dialog = std::make_unique<LaunchPadDialog>(presenter);
        dialog_ = dialog.get();
        dialog->signal_realize().connect([this] {
          window_ = gdk_x11_window_get_xid(dialog_->get_window()->gobj());
        });
        dialog->signal_unrealize().connect([this] { window_ = 0; });
        return std::unique_ptr<LaunchPadView>(std::move(dialog));
      }) {}

LaunchPad::~LaunchPad() { destroy(); }

void LaunchPad::show(bool create_hidden) {
  presenter_.show(create_hidden);
  // Known before the first showing, so that the output thread can recognise it.
  if (dialog_ && !dialog_->get_realized()) gtk_widget_realize(GTK_WIDGET(dialog_->gobj()));
}

void LaunchPad::destroy() {
  window_ = 0;
  dialog_ = nullptr;
  presenter_.destroy();
}

void LaunchPad::hide_launch_pad_soon() {
  main_thread_.run_or_post([this, alive = std::weak_ptr<int>(alive_)] {
    if (alive.lock()) hide();
  });
}

}  // namespace tolvan::ui
