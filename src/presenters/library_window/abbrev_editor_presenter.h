// AbbrevEditorPresenter: the abbreviation editor under the main window's list. It fills the
// editor from the selected record and writes every change of a field straight into that
// sandbox record (stamping its modified time), derives the description of a new record
// until the user types one, warns about abbreviations that may conflict, and decides which
// page, tables, labels and rows the editor shows in the current mode and view.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "engine/macros/macro_environment.h"
#include "library/library_observers.h"
#include "library/model.h"
#include "presenters/combo_table.h"
#include "presenters/library_window/browser_list.h"
#include "presenters/library_window/editor_host.h"
#include "presenters/library_window/editor_tables.h"
#include "presenters/library_window/insert_macro_menu.h"
#include "settings/settings.h"

namespace tolvan {

// Every value the editor's fields show for one record (or for no record).
struct EditorContents {
  EditorPage page = EditorPage::Text;
  std::string abbreviation;  // the alternatives joined
  std::string description;
  std::string replacement;
  std::string location, parameters, run_in;
  int show_mode = 0;
  bool run_as_admin = false;
  std::string url;
  std::string browser;  // "" for the default browser
  std::string notice;   // the unsupported page's markup
  int case_mode = CASE_ADAPT;
  int trigger_mode = TRIGGER_IMMEDIATELY;
  bool anywhere = false;
};

// What the mode (normal / TextExpander) and the view (normal / advanced) make the page look
// like.
struct EditorLook {
  EditorPage page = EditorPage::Text;
  std::span<const ComboRow> case_table;
  std::span<const ComboRow> trigger_table;
  std::string case_tooltip;
  const char* abbreviation_tooltip = "";
  const char* trigger_label = "";
  bool trigger_row_shown = true;   // normal mode only
  bool advanced_rows_shown = false;  // parameters, run-in, show mode, "Open _with: "
  bool anywhere_shown = false;     // advanced view in normal mode, not for unsupported
};

// The editor's widgets, as the presenter drives them. Setting a field from here must not
// reach the presenter as an edit, or must reach it while it ignores edits (see fill).
class AbbrevEditorDisplay {
 public:
  virtual ~AbbrevEditorDisplay() = default;
  virtual void set_look(const EditorLook& look) = 0;
  // Every field; any change signals this raises arrive while the presenter ignores them.
  virtual void fill(const EditorContents& contents) = 0;
  // The description, set by the program (a derived description).
  virtual void show_description(const std::string& text) = 0;
  // The warning beside the abbreviation with its tooltip, or none.
  virtual void show_duplicate_warning(const std::optional<std::string>& tooltip) = 0;
  // Parameters, run-in, show mode and run-as-administrator; a folder takes none of them.
  virtual void set_launch_details_sensitive(bool sensitive) = 0;
  // With no single record selected the editor is hidden; with none it is insensitive.
  virtual void set_editor_state(bool shown, bool sensitive) = 0;
  virtual void focus_abbreviation() = 0;
};

// What the presenter needs from the program around it; each has a working default.
struct EditorServices {
  std::function<AbbrTime()> now;  // the modified time stamp; the local time when empty
  MacroEnvironment macro_env;     // for the presets' labels
  std::function<bool(const std::string&)> is_folder;  // an existing folder; std::filesystem when empty
  // A typed path as it is stored (drive-less in portable mode); unchanged when empty.
  std::function<std::string(const std::string&)> stored_path;
  // The launcher's icon for a location (nullptr for none); none when empty.
  std::function<std::shared_ptr<const void>(const std::string&)> location_icon;
  // The library's change hooks as they are at the moment of an edit (TextExpander mode's
  // while it is on, else null): the TextExpander data of an edited record follows the edit.
  // None when empty.
  std::function<ModelHooks*()> model_hooks;
};

class AbbrevEditorPresenter {
 public:
  AbbrevEditorPresenter(AbbrevEditorDisplay& display, EditorHost& host, FolderList& sandbox,
                        Settings& prefs, EditorServices services = {});

  // The list's selection changed: fill the editor from it (one record), or empty it.
  void show_selection(const std::vector<Abbreviation*>& selection);
  // The main window created and selected `record`: the description follows what is typed
  // until the user types one, and the abbreviation gets the focus.
  void begin_new_record();
  // The mode or the view changed (prefs textexpander_mode, adv_view): apply them, keeping
  // the chosen ids.
  void apply_look();
  // The main window added `record` to its folder, or is about to remove it: in TextExpander
  // mode the record becomes a snippet of its folder's group, or leaves the group's list.
  void record_created(Abbreviation& record);
  void record_deleting(Abbreviation& record);

  // The fields' changes, from the user. A launcher's parameters, run-in folder, show mode,
  // administrator flag and browser have no list column: they are reported to the host as
  // EditedField::Expansion, whose row shows the launcher.
  void abbreviation_changed(const std::string& text);
  void description_changed(const std::string& text);
  void replacement_changed(const std::string& text);
  void case_mode_chosen(int id);
  void trigger_mode_chosen(int id);
  void anywhere_toggled(bool on);
  // Returns the text the entry must show instead when the path is stored differently (the
  // entry is then set to it and its change comes back), else nullopt.
  std::optional<std::string> location_changed(const std::string& text);
  void parameters_changed(const std::string& text);
  std::optional<std::string> run_in_changed(const std::string& text);
  void show_mode_chosen(int id);
  void run_as_admin_toggled(bool on);
  void url_changed(const std::string& text);
  void browser_chosen(const std::string& stored);
  // A program was chosen with the browse button: a derived description becomes "New
  // Launcher" (Linux programs carry no description of their own).
  void program_browsed();

  // The double click on the duplicate warning: list the conflicts, then forget them.
  void duplicate_warning_activated();
  // Whether a click into the description should select all of it (a derived description
  // that typing is to replace).
  bool description_click_selects_all() const { return auto_description_ && !description_typed_; }

  std::vector<MacroMenuItem> macro_menu() const { return insert_macro_menu(services_.macro_env); }
  std::string macro_to_insert(const MacroMenuItem& item) const;

  std::vector<BrowserRow> browsers(BrowserList& list) const { return browser_rows(list); }

  Abbreviation* record() const { return record_; }
  const EditorLook& look() const { return look_; }
  bool textexpander_mode() const;

 private:
  // Writes one field's value into the record: nothing while frozen; stamps the time and
  // tells the host (its row shows the change in `field`).
  template <class Write>
  bool store(EditedField field, Write&& write_value);
  // store, then tell the hooks which shown field changed.
  template <class Write>
  bool write(EditedField field, Write&& write_value);
  // store, for a field the list does not show: `write_value` answers the new value, which
  // the hooks get under TextExpander's `key`.
  template <class Write>
  bool write_detail(EditedField row, std::string_view key, Write&& write_value);
  ModelHooks* hooks() const { return services_.model_hooks ? services_.model_hooks() : nullptr; }
  void user_edit();
  void set_description_as_program(const std::string& text);
  void detect_duplicates(const std::string& text);
  EditorContents contents() const;
  EditorLook make_look(EditorPage page) const;
  void fill_frozen();
  bool is_folder(const std::string& path) const;

  AbbrevEditorDisplay& display_;
  EditorHost& host_;
  FolderList& sandbox_;
  Settings& prefs_;
  EditorServices services_;

  Abbreviation* record_ = nullptr;  // the one selected record, or none
  EditorLook look_;
  bool frozen_ = false;
  bool filling_ = false;
  bool auto_description_ = false;
  bool description_typed_ = false;
  std::vector<Abbreviation*> conflicts_;
  std::string conflicting_text_;
};

}  // namespace tolvan
