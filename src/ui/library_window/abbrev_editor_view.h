// AbbrevEditorView: the abbreviation editor's widgets, for the main window's editor frame.
// The common fields (abbreviation, case, trigger, Anywhere Mode, description) frame a
// tab-less notebook with one page per abbreviation type; AbbrevEditorPresenter decides
// everything they show and does all the writing.
#pragma once

#include <gtkmm/box.h>
#include <gtkmm/cellrendererpixbuf.h>
#include <gtkmm/cellrenderertext.h>
#include <gtkmm/button.h>
#include <gtkmm/checkbutton.h>
#include <gtkmm/combobox.h>
#include <gtkmm/entry.h>
#include <gtkmm/eventbox.h>
#include <gtkmm/image.h>
#include <gtkmm/label.h>
#include <gtkmm/liststore.h>
#include <gtkmm/menu.h>
#include <gtkmm/notebook.h>
#include <gtkmm/sizegroup.h>
#include <gtkmm/textview.h>

#include <memory>
#include <optional>

#include "presenters/file_dialogs.h"
#include "presenters/library_window/abbrev_editor_presenter.h"
#include "ui/table_combo.h"

namespace tolvan::ui {

class AbbrevEditorView final : public Gtk::Box, private AbbrevEditorDisplay {
 public:
  // `services.location_icon` is filled in by the view when the caller leaves it empty: a
  // launcher's cached icon (ProgInfo::icon) then holds a Glib::RefPtr<Gio::Icon>, the
  // location's GIO icon, for the list row to show.
  AbbrevEditorView(EditorHost& host, FolderList& sandbox, Settings& prefs, FileDialogs& dialogs,
                   BrowserList& browsers, EditorServices services = {});

  AbbrevEditorPresenter& presenter() { return *presenter_; }

  // The editor frame is to be shown (one record selected) or hidden (none or several, or
  // the "-" button).
  sigc::signal<void(bool)>& signal_visibility_wanted() { return visibility_wanted_; }

  // "Run As Administrator" is offered only where a launcher can run a program that way.
  void offer_run_as_administrator(bool offered);

  // For tests and the gallery.
  Gtk::Entry& abbreviation_entry() { return abbreviation_; }
  Gtk::Entry& description_entry() { return description_; }
  Gtk::TextView& replacement_view() { return replacement_; }
  Gtk::Entry& location_entry() { return location_; }
  Gtk::Entry& url_entry() { return url_; }
  TableCombo& case_combo() { return case_combo_; }
  TableCombo& trigger_combo() { return trigger_combo_; }
  Gtk::Notebook& pages() { return pages_; }
  Gtk::Widget& duplicate_warning() { return warning_box_; }
  Gtk::Widget& parameters_entry() { return parameters_; }
  Gtk::Button& insert_macro_button() { return insert_macro_; }
  Gtk::CheckButton& run_as_admin_check() { return run_as_admin_; }
  // Pops the insert-macro menu up under its button, as a click does; returns it.
  Gtk::Menu& pop_up_macro_menu();

 private:
  // AbbrevEditorDisplay
  void set_look(const EditorLook& look) override;
  void fill(const EditorContents& contents) override;
  void show_description(const std::string& text) override;
  void show_duplicate_warning(const std::optional<std::string>& tooltip) override;
  void set_launch_details_sensitive(bool sensitive) override;
  void set_editor_state(bool shown, bool sensitive) override;
  void focus_abbreviation() override;

  void build_text_page();
  void build_program_page();
  void build_website_page();
  void build_unsupported_page();
  void connect_fields();
  void pop_up_location_menu();
  void browse_run_in();
  void show_location_icon(const std::string& path);
  void set_entry(Gtk::Entry& entry, const std::string& text);

  std::unique_ptr<AbbrevEditorPresenter> presenter_;
  FileDialogs& dialogs_;
  std::vector<BrowserRow> browser_rows_;
  sigc::signal<void(bool)> visibility_wanted_;

  Gtk::Box header_{Gtk::ORIENTATION_HORIZONTAL};
  Gtk::Label abbreviation_label_;
  Gtk::Button hide_{"-"};
  Gtk::Box abbreviation_row_{Gtk::ORIENTATION_HORIZONTAL, 4};
  Gtk::EventBox warning_box_;
  Gtk::Image warning_;
  Gtk::Entry abbreviation_;
  TableCombo case_combo_;
  Gtk::Notebook pages_;

  // Page 0: text.
  Gtk::Box text_page_{Gtk::ORIENTATION_VERTICAL, 2};
  Gtk::Label replacement_label_;
  Gtk::TextView replacement_;
  Gtk::Button insert_macro_;
  std::unique_ptr<Gtk::Menu> macro_menu_;

  // Page 1: program, file or folder.
  Gtk::Box program_page_{Gtk::ORIENTATION_VERTICAL, 2};
  Glib::RefPtr<Gtk::SizeGroup> program_labels_ = Gtk::SizeGroup::create(Gtk::SIZE_GROUP_HORIZONTAL);
  Gtk::Label location_label_, parameters_label_, run_in_label_;
  Gtk::Entry location_, parameters_, run_in_;
  Gtk::Image location_icon_;
  Gtk::Button browse_location_, browse_run_in_;
  Gtk::CheckButton run_as_admin_;
  TableCombo show_mode_;
  Gtk::Box parameters_row_{Gtk::ORIENTATION_HORIZONTAL, 4};
  Gtk::Box run_in_row_{Gtk::ORIENTATION_HORIZONTAL, 4};
  std::unique_ptr<Gtk::Menu> location_menu_;

  // Page 2: website.
  Gtk::Box website_page_{Gtk::ORIENTATION_VERTICAL, 2};
  Glib::RefPtr<Gtk::SizeGroup> website_labels_ = Gtk::SizeGroup::create(Gtk::SIZE_GROUP_HORIZONTAL);
  Gtk::Label url_label_, browser_label_;
  Gtk::Entry url_;
  struct BrowserColumns : Gtk::TreeModelColumnRecord {
    BrowserColumns() {
      add(label);
      add(icon);
    }
    Gtk::TreeModelColumn<Glib::ustring> label;
    Gtk::TreeModelColumn<Glib::ustring> icon;
  };
  const BrowserColumns browser_columns_;
  Glib::RefPtr<Gtk::ListStore> browser_store_;
  Gtk::ComboBox browser_;
  Gtk::CellRendererPixbuf browser_icon_;
  Gtk::CellRendererText browser_text_;
  Gtk::Box browser_row_{Gtk::ORIENTATION_HORIZONTAL, 4};

  // Page 3: a TextExpander snippet Tolvan cannot expand.
  Gtk::Label notice_;

  // Common bottom part.
  Gtk::Box trigger_row_{Gtk::ORIENTATION_HORIZONTAL, 4};
  Gtk::Label trigger_label_;
  Glib::RefPtr<Gtk::SizeGroup> trigger_label_group_;
  TableCombo trigger_combo_;
  Gtk::CheckButton anywhere_{"Anywhere Mode"};
  Gtk::Label description_label_;
  Gtk::Entry description_;
};

}  // namespace tolvan::ui
