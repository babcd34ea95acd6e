// BackupManagerWindow: the Backup Manager, which lists the automatic backups (newest first)
// and restores the one the user selects into the working copy. Its owner builds it on first
// use and keeps it: closing only hides it, and showing it again refreshes the list.
#pragma once

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/label.h>
#include <gtkmm/liststore.h>
#include <gtkmm/scrolledwindow.h>
#include <gtkmm/treeview.h>
#include <gtkmm/window.h>

#include "presenters/backup_manager_presenter.h"
#include "ui/message_boxes.h"

namespace tolvan::ui {

inline constexpr const char* kBackupManagerGuide =
    "Tolvan automatically creates a backup of your abbreviations after you make changes to "
    "them and click OK or Apply (see Preferences). To restore one of these backups, select "
    "any one of them below and click the Restore button.\n\nNot sure which one to choose? "
    "Use this as a guide:\n\nThe <b>first</b> one in the list is the latest backup. If your "
    "abbreviations were lost or corrupted by your system, you'll probably want to restore "
    "this one.\n\nThe <b>second</b> one in the list is a backup of your abbreviations before "
    "you last modified them. If you want to undo any changes you recently applied (by "
    "clicking OK or Apply), you'll probably want to restore this one.\n";

class BackupManagerWindow final : public Gtk::Window, private BackupManagerView {
 public:
  // `ctx` is the program's; the manager asks its questions in boxes of its own, over itself.
  BackupManagerWindow(const BackupContext& ctx, PendingChanges& pending);

  // The list afresh, then the window in front, over `parent`.
  void show_over(Gtk::Window* parent);
  void update_list() { presenter_.refresh(); }

  Gtk::TreeView& list() { return list_; }
  Gtk::Button& restore_button() { return restore_; }
  Gtk::Button& close_button() { return close_; }

  struct Columns : Gtk::TreeModelColumnRecord {
    Columns() {
      add(time);
      add(path);
      add(count);
    }
    Gtk::TreeModelColumn<Glib::ustring> time;
    Gtk::TreeModelColumn<std::string> path;
    Gtk::TreeModelColumn<int> count;
  };
  const Columns columns;

 private:
  void show_rows(const std::vector<BackupRow>& rows) override;
  void set_restore_sensitive(bool sensitive) override;
  void hide_manager() override { hide(); }
  bool on_delete_event(GdkEventAny* event) override;
  void selection_changed();

  MessageBoxes boxes_;
  Glib::RefPtr<Gtk::ListStore> store_;
  Gtk::Box layout_{Gtk::ORIENTATION_VERTICAL, 6};
  Gtk::Label heading_;
  Gtk::Label guide_;
  Gtk::ScrolledWindow scroller_;
  Gtk::TreeView list_;
  Gtk::Box buttons_{Gtk::ORIENTATION_HORIZONTAL, 6};
  Gtk::Button restore_{"_Restore Selected Backup", true};
  Gtk::Button close_{"_Close", true};
  BackupManagerPresenter presenter_;
};

}  // namespace tolvan::ui
