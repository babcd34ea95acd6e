#include "ui/library_window/folder_editor_window.h"

#include <gtkmm/cellrendererpixbuf.h>

#include <vector>

#include "launch/hotkey_conflicts.h"
#include "ui/library_window/labelled_field.h"

namespace tolvan::ui {

FolderEditorWindow::FolderEditorWindow(FolderEditorHost& host, FolderList& sandbox, FolderEditorMode mode,
                                       Folder* selected, bool top_level, bool te_mode, Gtk::Window* parent)
    : presenter_(host, sandbox, mode, selected, top_level, te_mode),
      buttons_([this] { on_ok(); }, [this] { done_.emit(); }, nullptr) {
  const FolderEditorContents& c = presenter_.contents();
  set_title(c.title);
  set_default_size(300, 250);
  set_resizable(false);
  set_border_width(3);
  if (parent) {
    set_transient_for(*parent);
    set_modal(true);
    set_position(Gtk::WIN_POS_CENTER_ON_PARENT);
  }

  name_label_.set_text_with_mnemonic("Folder _name:");
  label_field(name_label_, name_);
  name_label_.set_halign(Gtk::ALIGN_START);
  name_.set_width_chars(48);
  // Enter in the name confirms, as the default OK would.
  name_.signal_activate().connect([this] { on_ok(); });
  name_.set_text(c.name);
  name_.signal_changed().connect(
      [this] { buttons_.ok()->set_sensitive(FolderEditorPresenter::ok_sensitive(name_.get_text())); });
  layout_.pack_start(name_label_, false, false);
  layout_.pack_start(name_, false, false);

  parent_label_.set_text_with_mnemonic(c.parent_label);
  label_field(parent_label_, parent_);
  fill_parents();
  parent_.set_sensitive(c.parent_sensitive);
  parent_row_.pack_start(parent_label_, false, false);
  parent_row_.pack_start(parent_, true, true);
  parent_row_.set_no_show_all(true);
  parent_row_.show_all_children();
  parent_row_.set_visible(c.parent_row_shown);
  layout_.pack_start(parent_row_, false, false);

  hotkey_enabled_.set_label("Pop up hotkey:");
  hotkey_enabled_.set_tooltip_text(kFolderHotkeyTooltip);
  hotkey_enabled_.signal_toggled().connect([this] {
    hotkey_row_.set_sensitive(hotkey_enabled_.get_active());
    show_hotkey_conflicts();
  });
  hotkey_enabled_.set_active(c.hotkey_enabled);
  hotkey_row_.set_sensitive(c.hotkey_enabled);
  hotkey_row_.set_hotkey(c.hotkey);
  hotkey_line_.pack_start(hotkey_enabled_, false, false);
  hotkey_line_.pack_start(hotkey_row_, false, false);
  hotkey_warning_.set_from_icon_name("dialog-warning", Gtk::ICON_SIZE_MENU);
  hotkey_warning_.set_no_show_all(true);
  hotkey_line_.pack_start(hotkey_warning_, false, false);
  hotkey_row_.signal_changed().connect([this] { show_hotkey_conflicts(); });
  hotkey_box_.pack_start(*Gtk::manage(new Gtk::Separator), false, false);
  hotkey_box_.pack_start(hotkey_line_, false, false);
  hotkey_box_.set_no_show_all(true);
  hotkey_box_.show_all_children();
  hotkey_box_.set_visible(c.hotkey_row_shown);
  layout_.pack_start(hotkey_box_, false, false);
  layout_.pack_start(*Gtk::manage(new Gtk::Separator), false, false);

  layout_.pack_end(buttons_, false, false);
  add(layout_);
  buttons_.ok()->set_can_default(true);
  buttons_.ok()->grab_default();
  show_all();
  name_.select_region(0, -1);
  name_.grab_focus();
}

void FolderEditorWindow::fill_parents() {
  parents_ = Gtk::TreeStore::create(columns_);
  const std::vector<FolderChoice>& choices = presenter_.contents().parents;
  std::vector<Gtk::TreeModel::iterator> at_depth;
  Gtk::TreeModel::iterator selected;
  for (size_t i = 0; i < choices.size(); ++i) {
    const size_t depth = static_cast<size_t>(choices[i].depth);
    at_depth.resize(depth);
    Gtk::TreeModel::iterator row = depth == 0 ? parents_->append() : parents_->append(at_depth.back()->children());
    (*row)[columns_.index] = static_cast<int>(i);
    (*row)[columns_.name] = choices[i].folder->name;
    at_depth.push_back(row);
    if (static_cast<int>(i) == presenter_.contents().parent_index) selected = row;
  }
  parent_.set_model(parents_);
  auto* icon = Gtk::manage(new Gtk::CellRendererPixbuf);
  icon->property_icon_name() = "folder";
  parent_.pack_start(*icon, false);
  parent_.pack_start(columns_.name);
  if (selected) parent_.set_active(selected);
}

int FolderEditorWindow::chosen_parent() const {
  Gtk::TreeModel::const_iterator row = parent_.get_active();
  return row ? (*row)[columns_.index] : 0;
}

void FolderEditorWindow::check_hotkey_conflicts(OtherHotkeys others) {
  other_hotkeys_ = std::move(others);
  show_hotkey_conflicts();
}

void FolderEditorWindow::show_hotkey_conflicts() {
  std::vector<std::string> names;
  if (other_hotkeys_ && hotkey_enabled_.get_active())
    names = other_hotkeys_(hotkey_row_string(hotkey_row_.hotkey()));
  hotkey_warning_.set_visible(!names.empty());
  hotkey_warning_.set_tooltip_text(names.empty() ? "" : hotkey_conflict_tooltip(names));
}

void FolderEditorWindow::on_ok() {
  if (presenter_.ok(name_.get_text(), chosen_parent(), hotkey_enabled_.get_active(), hotkey_row_.hotkey()))
    done_.emit();
}

}  // namespace tolvan::ui
