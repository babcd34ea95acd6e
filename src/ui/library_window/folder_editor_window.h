// FolderEditorWindow: "Add Folder" / "Edit Folder Details": the folder's name, the folder it
// goes into (the folder tree in a combo), and when editing its pop-up hotkey.
// FolderEditorPresenter decides what it shows and does the work; the window reports when
// it is done (OK or Cancel) so its owner can let it go.
#pragma once

#include <gtkmm/box.h>
#include <gtkmm/checkbutton.h>
#include <gtkmm/combobox.h>
#include <gtkmm/entry.h>
#include <gtkmm/label.h>
#include <gtkmm/separator.h>
#include <gtkmm/treestore.h>
#include <gtkmm/window.h>

#include <gtkmm/image.h>

#include <functional>

#include "presenters/library_window/folder_editor_presenter.h"
#include "ui/hotkey_row_widget.h"
#include "ui/ok_cancel_apply_row.h"

namespace tolvan::ui {

class FolderEditorWindow final : public Gtk::Window {
 public:
  FolderEditorWindow(FolderEditorHost& host, FolderList& sandbox, FolderEditorMode mode, Folder* selected,
                     bool top_level, bool te_mode, Gtk::Window* parent);

  sigc::signal<void()>& signal_done() { return done_; }

  // The names of the other hotkeys that use a hotkey string; the warning beside the
  // hotkey row lists them while the hotkey is switched on.
  using OtherHotkeys = std::function<std::vector<std::string>(const std::string& hotkey)>;
  void check_hotkey_conflicts(OtherHotkeys others);

  Gtk::Entry& name_entry() { return name_; }
  Gtk::ComboBox& parent_combo() { return parent_; }
  Gtk::Button& ok_button() { return *buttons_.ok(); }
  Gtk::CheckButton& hotkey_enabled() { return hotkey_enabled_; }
  HotkeyRowWidget& hotkey_row() { return hotkey_row_; }
  Gtk::Widget& parent_row() { return parent_row_; }
  Gtk::Widget& hotkey_box() { return hotkey_box_; }
  Gtk::Image& hotkey_warning() { return hotkey_warning_; }

 private:
  void fill_parents();
  int chosen_parent() const;
  void on_ok();
  void show_hotkey_conflicts();

  FolderEditorPresenter presenter_;
  sigc::signal<void()> done_;

  Gtk::Box layout_{Gtk::ORIENTATION_VERTICAL, 4};
  Gtk::Label name_label_;
  Gtk::Entry name_;
  Gtk::Box parent_row_{Gtk::ORIENTATION_HORIZONTAL, 4};
  Gtk::Label parent_label_;
  struct Columns : Gtk::TreeModelColumnRecord {
    Columns() {
      add(index);
      add(name);
    }
    Gtk::TreeModelColumn<int> index;
    Gtk::TreeModelColumn<Glib::ustring> name;
  };
  const Columns columns_;
  Glib::RefPtr<Gtk::TreeStore> parents_;
  Gtk::ComboBox parent_;
  Gtk::Box hotkey_box_{Gtk::ORIENTATION_VERTICAL, 4};
  Gtk::Box hotkey_line_{Gtk::ORIENTATION_HORIZONTAL, 4};
  Gtk::CheckButton hotkey_enabled_;
  HotkeyRowWidget hotkey_row_;
  Gtk::Image hotkey_warning_;
  OtherHotkeys other_hotkeys_;
  OkCancelApplyRow buttons_;
};

}  // namespace tolvan::ui
