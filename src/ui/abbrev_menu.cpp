#include "ui/abbrev_menu.h"

#include <glibmm/main.h>
#include <gtkmm/box.h>
#include <gtkmm/image.h>
#include <gtkmm/label.h>
#include <gtkmm/menuitem.h>

#include <chrono>

#include "library/folder_tree.h"

namespace tolvan::ui {
namespace {

// The application needs a moment to take the keyboard back once it is in front again.
constexpr std::chrono::milliseconds kFocusReturnDelay{100};
// While the hotkey's keys are held the desktop keeps the keyboard; the pop-up is tried
// again this often, for as long as a user plausibly holds them (three seconds). A failed
// try costs little next to the wait for the next one, which the user sees in full.
constexpr std::chrono::milliseconds kGrabRetryInterval{4};
constexpr int kGrabTries = 750;

const char* icon_name(AbbrevMenuPicture picture) {
  switch (picture) {
    case AbbrevMenuPicture::Folder:
    case AbbrevMenuPicture::DisabledFolder: return "folder";
    case AbbrevMenuPicture::Text: return "text-x-generic";
    case AbbrevMenuPicture::Program: return "application-x-executable";
    case AbbrevMenuPicture::Website: return "text-html";
    case AbbrevMenuPicture::Unsupported: break;
  }
  return "dialog-question";
}

Gtk::MenuItem& new_item(const AbbrevMenuEntry& entry) {
  auto* item = Gtk::manage(new Gtk::MenuItem);
  auto* row = Gtk::manage(new Gtk::Box(Gtk::ORIENTATION_HORIZONTAL, 6));
  auto* image = Gtk::manage(new Gtk::Image);
  image->set_from_icon_name(icon_name(entry.picture), Gtk::ICON_SIZE_MENU);
  // A disabled folder's picture is drawn the way the theme draws unavailable things.
  if (entry.picture == AbbrevMenuPicture::DisabledFolder) image->set_sensitive(false);
  auto* label = Gtk::manage(new Gtk::Label(entry.label, Gtk::ALIGN_START, Gtk::ALIGN_CENTER,
                                           entry.mnemonic));
  row->pack_start(*image, Gtk::PACK_SHRINK);
  row->pack_start(*label, Gtk::PACK_EXPAND_WIDGET);
  item->add(*row);
  return *item;
}

}  // namespace

AbbrevMenu::AbbrevMenu(Library& library, const Settings& prefs) : library_(library), prefs_(prefs) {
  library_.add_listener(this);
}

void AbbrevMenu::attach(Windows& windows, Output output) {
  windows_ = &windows;
  output_ = std::move(output);
}

AbbrevMenu::~AbbrevMenu() {
  library_.remove_listener(this);
  destroy();
  output_after_close_.disconnect();
}

void AbbrevMenu::show_all_folders() {
  auto lock = library_.lock_main_list();
  sort_ = abbrev_menu_sort(prefs_);
  open(abbrev_menu_of_all_folders(library_.main_list, sort_));
}

void AbbrevMenu::show_folder_menu(const Folder& folder) {
  auto lock = library_.lock_main_list();
  sort_ = abbrev_menu_sort(prefs_);
  open(abbrev_menu_of_folder(folder, sort_));
}

void AbbrevMenu::open(const std::vector<AbbrevMenuEntry>& entries) {
  destroy();
  if (!windows_) return;
  list_gone_ = false;
  foreground_ = windows_->foreground();
  caret_.reset();
  if (menu_wants_caret(prefs_)) {
    if (std::optional<Caret> caret = windows_->caret(); caret && caret->reported) {
      caret_ = ScreenPoint{caret->rect.left, caret->rect.bottom};
    }
  }
  menu_ = std::make_unique<Gtk::Menu>();
  // The moment it is on the screen, for the benchmark of the menu's speed.
  menu_->signal_map().connect(
      [] { g_info("abbreviation menu mapped at %" G_GINT64_FORMAT " us", g_get_real_time()); });
  // A closed menu is taken apart once the main loop is idle, not when the next one opens:
  // freeing hundreds of entries would delay that one.
  menu_->signal_hide().connect([this] {
    retire_.disconnect();
    retire_ = Glib::signal_idle().connect(
        [this] {
          destroy();
          return false;
        },
        Glib::PRIORITY_LOW);
  });
  fill(*menu_, entries);
  menu_->show_all();
  auto_close_ = std::make_unique<MenuAutoClose>();
  auto_close_->watch(*menu_);
  tries_left_ = kGrabTries;
  pop_up_until_grabbed();
}

void AbbrevMenu::fill(Gtk::Menu& menu, const std::vector<AbbrevMenuEntry>& entries) {
  if (std::vector<AbbrevMenuPart> parts = abbrev_menu_parts(entries); !parts.empty()) {
    for (const AbbrevMenuPart& part : parts) {
      auto slice = std::make_shared<std::vector<AbbrevMenuEntry>>(entries.begin() + part.begin,
                                                                  entries.begin() + part.end);
      menu.append(submenu_item({part.label, false, AbbrevMenuPicture::Folder, nullptr, nullptr},
                               [slice] { return *slice; }));
    }
    return;
  }
  for (const AbbrevMenuEntry& entry : entries) {
    if (entry.folder) {
      menu.append(folder_item(entry));
      continue;
    }
    Gtk::MenuItem& item = new_item(entry);
    item.signal_activate().connect([this, abbreviation = entry.abbreviation] { chosen(*abbreviation); });
    menu.append(item);
  }
}

Gtk::MenuItem& AbbrevMenu::folder_item(const AbbrevMenuEntry& entry) {
  return submenu_item(entry, [this, folder = entry.folder] { return abbrev_submenu(*folder, sort_); });
}

Gtk::MenuItem& AbbrevMenu::submenu_item(const AbbrevMenuEntry& entry,
                                        std::function<std::vector<AbbrevMenuEntry>()> entries) {
  Gtk::MenuItem& item = new_item(entry);
  auto* submenu = Gtk::manage(new Gtk::Menu);
  item.set_submenu(*submenu);
  // Filled when first reached, so that a huge library costs only what is opened.
  item.signal_select().connect([this, submenu, entries = std::move(entries)] {
    if (!submenu->get_children().empty() || !menu_) return;
    auto lock = library_.lock_main_list();
    if (list_gone_) return;
    fill(*submenu, entries());
    submenu->show_all();
    auto_close_->watch_submenu(*submenu, *menu_);
  });
  return item;
}

void AbbrevMenu::pop_up_until_grabbed() {
  retry_.disconnect();
  if (!menu_) return;
  G_GNUC_BEGIN_IGNORE_DEPRECATIONS
  gtk_menu_popup(
      menu_->gobj(), nullptr, nullptr,
      [](GtkMenu*, gint* x, gint* y, gboolean* push_in, gpointer self) {
        static_cast<AbbrevMenu*>(self)->place(*x, *y);
        *push_in = FALSE;
      },
      this, 1, GDK_CURRENT_TIME);
  G_GNUC_END_IGNORE_DEPRECATIONS
  // GTK shows no menu it could not give the keyboard and the pointer to.
  if (menu_->get_visible() || --tries_left_ <= 0) return;
  retry_ = Glib::signal_timeout().connect(
      [this] {
        pop_up_until_grabbed();
        return false;
      },
      static_cast<unsigned>(kGrabRetryInterval.count()));
}

void AbbrevMenu::place(int& x, int& y) {
  GdkDisplay* display = gdk_display_get_default();
  ScreenPoint pointer;
  gdk_device_get_position(gdk_seat_get_pointer(gdk_display_get_default_seat(display)), nullptr,
                          &pointer.x, &pointer.y);
  const ScreenPoint anchor = menu_anchor(caret_.has_value(), caret_, pointer);
  GtkRequisition size{};
  gtk_widget_get_preferred_size(GTK_WIDGET(menu_->gobj()), nullptr, &size);
  GdkRectangle area{};
  gdk_monitor_get_geometry(gdk_display_get_monitor_at_point(display, anchor.x, anchor.y), &area);
  const ScreenPoint at =
      menu_position(anchor, size.width, size.height, {area.x, area.y, area.width, area.height});
  x = at.x;
  y = at.y;
}

void AbbrevMenu::chosen(const Abbreviation& abbreviation) {
  std::unique_ptr<Abbreviation> copy;
  {
    auto lock = library_.lock_main_list();
    if (list_gone_) return;
    copy = abbr_duplicate_abbrev(abbreviation, nullptr);
  }
  windows_->bring_to_front(foreground_);
  output_after_close_.disconnect();
  // GTK let go of the keyboard when the menu closed, before this activation; the server
  // must have done so too before any key is sent, or the keys would reach no one.
  auto pending = std::make_shared<std::unique_ptr<Abbreviation>>(std::move(copy));
  output_after_close_ = Glib::signal_timeout().connect(
      [this, pending] {
        gdk_display_sync(gdk_display_get_default());
        output_(std::move(*pending));
        return false;
      },
      static_cast<unsigned>(kFocusReturnDelay.count()));
}

void AbbrevMenu::destroy() {
  retry_.disconnect();
  // The menu first: going away it lets go of its grab, which its auto-close still hears.
  menu_.reset();
  auto_close_.reset();
  // A menu taken down while shown hides on its way out; nothing is left to take apart.
  retire_.disconnect();
}

void AbbrevMenu::main_list_freeing() {
  list_gone_ = true;
  // Told under the main list's lock, maybe on another thread; the menu goes on the main
  // thread, and until then nothing of it reads the list.
  main_thread_.run_or_post([this, alive = std::weak_ptr<int>(alive_)] {
    if (alive.lock()) destroy();
  });
}

}  // namespace tolvan::ui
