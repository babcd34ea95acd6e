#include "ui/backup_manager_window.h"

namespace tolvan::ui {
namespace {

// The program's context with the manager's own boxes; the presenter follows the list
// itself.
BackupContext asking_with(const BackupContext& ctx, Prompts& prompts) {
  return BackupContext{ctx.prefs, ctx.gvar, ctx.library, prompts, nullptr,
                       ctx.sandbox_restored};
}

}  // namespace

BackupManagerWindow::BackupManagerWindow(const BackupContext& ctx, PendingChanges& pending)
    : store_(Gtk::ListStore::create(columns)),
      presenter_(*this, asking_with(ctx, boxes_), pending) {
  boxes_.set_parent(this);
  set_title("Backup Manager");
  set_default_size(425, 375);
  set_border_width(5);

  heading_.set_markup("<b>Backup Manager</b>");
  heading_.set_xalign(0);
  guide_.set_markup(kBackupManagerGuide);
  guide_.set_line_wrap(true);
  guide_.set_xalign(0);
  guide_.set_margin_start(12);
  // A wrapped label asks for little width and follows the window's.
  guide_.set_width_chars(30);
  guide_.set_max_width_chars(30);

  list_.set_model(store_);
  auto* time_renderer = Gtk::manage(new Gtk::CellRendererText);
  time_renderer->property_ellipsize() = Pango::ELLIPSIZE_END;
  auto* time_column = Gtk::manage(new Gtk::TreeViewColumn(" Backup Creation Time"));
  time_column->pack_start(*time_renderer, true);
  time_column->add_attribute(time_renderer->property_text(), columns.time);
  time_column->set_expand(true);
  time_column->set_resizable(true);
  list_.append_column(*time_column);
  list_.append_column(" Abbreviations", columns.count);
  list_.get_selection()->set_mode(Gtk::SELECTION_SINGLE);
  list_.get_selection()->signal_changed().connect(
      sigc::mem_fun(*this, &BackupManagerWindow::selection_changed));
  scroller_.set_shadow_type(Gtk::SHADOW_IN);
  scroller_.set_policy(Gtk::POLICY_AUTOMATIC, Gtk::POLICY_AUTOMATIC);
  // The guide above takes much of the height; the list keeps room for a few rows.
  scroller_.set_min_content_height(120);
  scroller_.add(list_);

  restore_.set_tooltip_text("Restores the selected backup.");
  close_.set_tooltip_text("Closes the Backup Manager.");
  restore_.signal_clicked().connect([this] { presenter_.restore_selected(); });
  close_.signal_clicked().connect([this] { hide(); });
  buttons_.set_homogeneous(true);
  buttons_.pack_start(restore_);
  buttons_.pack_start(close_);

  layout_.pack_start(heading_, Gtk::PACK_SHRINK);
  layout_.pack_start(guide_, Gtk::PACK_SHRINK);
  layout_.pack_start(scroller_, Gtk::PACK_EXPAND_WIDGET);
  layout_.pack_start(buttons_, Gtk::PACK_SHRINK);
  add(layout_);
  layout_.show_all();
  presenter_.refresh();
}

void BackupManagerWindow::show_over(Gtk::Window* parent) {
  if (parent) {
    set_transient_for(*parent);
    set_position(Gtk::WIN_POS_CENTER_ON_PARENT);
  }
  set_modal(false);
  update_list();
  // The list would select its first row when it took the focus; a restore is the user's
  // choice, so the focus starts on Close.
  close_.grab_focus();
  present();
}

void BackupManagerWindow::show_rows(const std::vector<BackupRow>& rows) {
  store_->clear();
  for (const BackupRow& row : rows) {
    Gtk::TreeRow tree_row = *store_->append();
    tree_row[columns.time] = row.time;
    tree_row[columns.path] = row.path;
    tree_row[columns.count] = row.count;
  }
}

void BackupManagerWindow::set_restore_sensitive(bool sensitive) {
  restore_.set_sensitive(sensitive);
}

void BackupManagerWindow::selection_changed() {
  Gtk::TreeIter selected = list_.get_selection()->get_selected();
  if (!selected) {
    presenter_.select(std::nullopt);
    return;
  }
  presenter_.select(static_cast<size_t>(store_->get_path(selected)[0]));
}

bool BackupManagerWindow::on_delete_event(GdkEventAny*) {
  hide();
  return true;
}

}  // namespace tolvan::ui
