// AbbrevMenu: the abbreviation menu, a pop-up menu of folders and abbreviations at the text
// caret of the application in front (or at the pointer). Choosing an abbreviation outputs it
// into that application as if it had been typed, without erasing anything; a launcher
// launches. Escape, a click elsewhere or the pointer staying outside for a moment close it.
//
// A menu opened by a global hotkey cannot take the keyboard while the hotkey's own key is
// still down (the desktop holds a grab for it), so the pop-up is tried again until the
// keys are released. The output waits until the menu has let go of the keyboard and the
// application is in front again.
#pragma once

#include <gtkmm/menu.h>

#include <atomic>
#include <functional>
#include <optional>
#include <memory>

#include "launch/folder_hotkeys.h"
#include "library/library.h"
#include "platform/windows.h"
#include "presenters/abbrev_menu_model.h"
#include "presenters/main_thread_calls.h"
#include "presenters/menu_placement.h"
#include "settings/settings.h"
#include "ui/menu_auto_close.h"

namespace tolvan::ui {

class AbbrevMenu final : public FolderMenu, public LibraryListener {
 public:
  // Hands the chosen abbreviation (a copy) to the engine, once its application has the
  // keyboard again.
  using Output = std::function<void(std::unique_ptr<Abbreviation> abbreviation)>;
  // Made on the main thread. Everything given outlives the menu; it listens to the library
  // until destroyed.
  AbbrevMenu(Library& library, const Settings& prefs);
  // The desktop's windows and the engine, once the expander runs; until then the menu does
  // not open.
  void attach(Windows& windows, Output output);
  ~AbbrevMenu() override;
  AbbrevMenu(const AbbrevMenu&) = delete;
  AbbrevMenu& operator=(const AbbrevMenu&) = delete;

  // acm_show_abbrev_menu_at_cursor without a folder: every folder.
  void show_all_folders();
  // FolderMenu: the folder's own abbreviations.
  void show_folder_menu(const Folder& folder) override;
  // acm_destroy_popup_menu; main thread.
  void destroy();

  // The menu shown now, or null.
  Gtk::Menu* shown() { return menu_.get(); }
  bool pointer_in_menu() const { return auto_close_ && auto_close_->pointer_in_menu(); }

  // LibraryListener: no entry may outlive the list it points into.
  void main_list_freeing() override;

 private:
  void open(const std::vector<AbbrevMenuEntry>& entries);
  void fill(Gtk::Menu& menu, const std::vector<AbbrevMenuEntry>& entries);
  Gtk::MenuItem& folder_item(const AbbrevMenuEntry& entry);
  // An entry whose submenu is filled with `entries` when it is first reached.
  Gtk::MenuItem& submenu_item(const AbbrevMenuEntry& entry,
                              std::function<std::vector<AbbrevMenuEntry>()> entries);
  void pop_up_until_grabbed();
  void place(int& x, int& y);
  void chosen(const Abbreviation& abbreviation);

  Library& library_;
  const Settings& prefs_;
  Windows* windows_ = nullptr;
  Output output_;
  AbbrevMenuSort sort_;
  std::unique_ptr<Gtk::Menu> menu_;
  std::unique_ptr<MenuAutoClose> auto_close_;
  WindowId foreground_ = 0;
  std::optional<ScreenPoint> caret_;
  std::atomic<bool> list_gone_ = false;  // the entries point nowhere any more
  MainThreadCalls main_thread_;
  std::shared_ptr<int> alive_ = std::make_shared<int>();  // for work posted to the main loop
  sigc::connection retry_;
  sigc::connection retire_;  // takes the closed menu apart
  sigc::connection output_after_close_;
  int tries_left_ = 0;
};

}  // namespace tolvan::ui
