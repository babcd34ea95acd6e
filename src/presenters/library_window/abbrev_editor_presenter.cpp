#include "presenters/library_window/abbrev_editor_presenter.h"

#include <filesystem>

#include "library/abbrev_strings.h"
#include "library/search.h"
#include "textexpander/kvlist.h"
#include "presenters/library_window/auto_description.h"
#include "settings/prefs.h"

namespace tolvan {
namespace {

// Sets a flag for the length of a scope and puts the old value back.
class FlagScope {
 public:
  explicit FlagScope(bool& flag) : flag_(flag), old_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = old_; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
  bool old_;
};

// The list column an editor field is, as TextExpander mode's hooks know them; none for the
// type icon (no data of its own) and the Anywhere flag (kept as a detail).
std::optional<AbbrevField> shown_field(EditedField field) {
  switch (field) {
    case EditedField::Description: return AbbrevField::Description;
    case EditedField::Abbreviation: return AbbrevField::Abbreviations;
    case EditedField::Expansion: return AbbrevField::Expansion;
    case EditedField::CaseMode: return AbbrevField::CaseMode;
    case EditedField::TriggerMode: return AbbrevField::TriggerMode;
    case EditedField::TypeIcon:
    case EditedField::Anywhere: return std::nullopt;
  }
  return std::nullopt;
}

std::string format_one(std::string_view format, const std::string& value) {
  const size_t at = format.find("%s");
  return std::string(format.substr(0, at)) + value + std::string(format.substr(at + 2));
}

}  // namespace

AbbrevEditorPresenter::AbbrevEditorPresenter(AbbrevEditorDisplay& display, EditorHost& host,
                                             FolderList& sandbox, Settings& prefs,
                                             EditorServices services)
    : display_(display), host_(host), sandbox_(sandbox), prefs_(prefs), services_(std::move(services)) {
  look_ = make_look(EditorPage::Text);
}

bool AbbrevEditorPresenter::textexpander_mode() const {
  return prefs_.get_int("textexpander_mode") != 0;
}

EditorLook AbbrevEditorPresenter::make_look(EditorPage page) const {
  const bool te = textexpander_mode();
  const bool advanced = prefs_.get_int("adv_view") != 0;
  const bool launcher = page == EditorPage::Program || page == EditorPage::Website;
  EditorLook look;
  look.page = page;
  look.case_table = case_mode_table(launcher, te);
  look.trigger_table = trigger_mode_table(te);
  look.case_tooltip = case_mode_tooltip(launcher, te);
  look.abbreviation_tooltip = abbreviation_entry_tooltip(page);
  look.trigger_label = trigger_label(page, advanced);
  look.trigger_row_shown = !te;
  look.advanced_rows_shown = advanced;
  look.anywhere_shown = advanced && !te && page != EditorPage::Unsupported;
  return look;
}

EditorContents AbbrevEditorPresenter::contents() const {
  EditorContents c;
  if (!record_) {
    // The modes a new text abbreviation would get.
    c.case_mode = prefs_get_default_case_mode(prefs_, ABBR_TYPE_TEXT);
    c.trigger_mode = prefs_get_default_trigger_mode(prefs_);
    return c;
  }
  const Abbreviation& a = *record_;
  c.page = editor_page_for(a.type());
  c.abbreviation = abbr_abbrev_lst_to_string(a.abbreviations);
  c.description = a.description;
  c.case_mode = a.case_mode;
  c.trigger_mode = a.trigger_mode;
  c.anywhere = a.anywhere != 0;
  switch (a.type()) {
    case ABBR_TYPE_TEXT:
      c.replacement = a.expansion();
      break;
    case ABBR_TYPE_PROGRAM:
      c.location = a.program().location;
      c.parameters = a.program().parameters;
      c.run_in = a.program().run_in;
      c.show_mode = a.program().show_mode;
      c.run_as_admin = a.program().run_as_admin != 0;
      break;
    case ABBR_TYPE_WEBSITE:
      c.url = a.website().address;
      c.browser = a.website().browser;
      break;
    case ABBR_TYPE_UNSUPPORTED:
      c.notice = unsupported_snippet_notice(abbr_te_snippet_kind(a));
      break;
  }
  return c;
}

void AbbrevEditorPresenter::fill_frozen() {
  FlagScope frozen(frozen_);
  FlagScope filling(filling_);
  const EditorContents c = contents();
  look_ = make_look(c.page);
  display_.set_look(look_);
  display_.fill(c);
  if (record_ && record_->type() == ABBR_TYPE_PROGRAM) {
    display_.set_launch_details_sensitive(!is_folder(record_->program().location));
  } else {
    display_.set_launch_details_sensitive(true);
  }
}

void AbbrevEditorPresenter::show_selection(const std::vector<Abbreviation*>& selection) {
  auto_description_ = false;
  description_typed_ = false;
  record_ = selection.size() == 1 ? selection.front() : nullptr;
  display_.set_editor_state(record_ != nullptr, !selection.empty());
  fill_frozen();
  // Filling does not count as typing, but the warning must follow the record shown.
  detect_duplicates(record_ ? abbr_abbrev_lst_to_string(record_->abbreviations) : "");
}

void AbbrevEditorPresenter::begin_new_record() {
  if (!record_) return;
  auto_description_ = true;
  description_typed_ = false;
  display_.focus_abbreviation();
}

void AbbrevEditorPresenter::apply_look() { fill_frozen(); }

void AbbrevEditorPresenter::record_created(Abbreviation& record) {
  if (ModelHooks* h = hooks()) h->abbrev_created(record);
}

void AbbrevEditorPresenter::record_deleting(Abbreviation& record) {
  if (ModelHooks* h = hooks()) h->abbrev_deleting(record);
}

template <class Write>
bool AbbrevEditorPresenter::store(EditedField field, Write&& write_value) {
  if (frozen_ || !record_) return false;
  write_value(*record_);
  record_->modified = services_.now ? services_.now() : abbr_time_now();
  host_.record_edited(*record_, field);
  return true;
}

template <class Write>
bool AbbrevEditorPresenter::write(EditedField field, Write&& write_value) {
  if (!store(field, std::forward<Write>(write_value))) return false;
  ModelHooks* h = hooks();
  if (std::optional<AbbrevField> shown = shown_field(field); h && shown) {
    h->abbrev_col_modified(*record_, *shown);
  }
  return true;
}

template <class Write>
bool AbbrevEditorPresenter::write_detail(EditedField row, std::string_view key, Write&& write_value) {
  std::optional<KvValue> value;
  if (!store(row, [&](Abbreviation& a) { value = write_value(a); })) return false;
  if (ModelHooks* h = hooks()) h->abbrev_noncol_modified(*record_, key, *value);
  return true;
}

void AbbrevEditorPresenter::user_edit() {
  if (!filling_) host_.mark_unapplied();
}

void AbbrevEditorPresenter::set_description_as_program(const std::string& text) {
  write(EditedField::Description, [&](Abbreviation& a) { a.description = text; });
  FlagScope frozen(frozen_);
  display_.show_description(text);
}

void AbbrevEditorPresenter::abbreviation_changed(const std::string& text) {
  if (frozen_ || !record_) return;
  host_.clear_key_buffer();
  write(EditedField::Abbreviation,
        [&](Abbreviation& a) { a.abbreviations = abbr_get_lst_of_abbrevs_from_string(text); });
  user_edit();
  detect_duplicates(text);
}

void AbbrevEditorPresenter::description_changed(const std::string& text) {
  if (!write(EditedField::Description, [&](Abbreviation& a) { a.description = text; })) return;
  if (auto_description_) description_typed_ = true;
  user_edit();
}

void AbbrevEditorPresenter::replacement_changed(const std::string& text) {
  if (!record_ || record_->type() != ABBR_TYPE_TEXT) return;
  if (!write(EditedField::Expansion, [&](Abbreviation& a) { a.expansion() = text; })) return;
  user_edit();
  if (auto_description_ && !description_typed_) {
    std::string derived = desc_from_replacement_text(text);
    set_description_as_program(derived.empty() ? kNewAbbreviationDescription : derived);
  }
}

void AbbrevEditorPresenter::case_mode_chosen(int id) {
  if (id < 0) return;
  const bool written = write(EditedField::CaseMode, [&](Abbreviation& a) {
    a.case_mode = (abbr_is_launcher(a) && id == CASE_ADAPT) ? CASE_INSENSITIVE : id;
  });
  if (!written) return;
  user_edit();
  detect_duplicates(abbr_abbrev_lst_to_string(record_->abbreviations));
}

void AbbrevEditorPresenter::trigger_mode_chosen(int id) {
  if (id < 0) return;
  if (write(EditedField::TriggerMode, [&](Abbreviation& a) { a.trigger_mode = id; })) user_edit();
}

void AbbrevEditorPresenter::anywhere_toggled(bool on) {
  const bool written = write_detail(EditedField::Anywhere, "anywhereMode", [&](Abbreviation& a) {
    a.anywhere = on ? 1 : 0;
    return KvValue::of_integer(a.anywhere);
  });
  if (written) user_edit();
}

bool AbbrevEditorPresenter::is_folder(const std::string& path) const {
  if (path.empty()) return false;
  if (services_.is_folder) return services_.is_folder(path);
  std::error_code error;
  return std::filesystem::is_directory(path, error);
}

std::optional<std::string> AbbrevEditorPresenter::location_changed(const std::string& text) {
  if (frozen_ || !record_ || record_->type() != ABBR_TYPE_PROGRAM) return std::nullopt;
  if (services_.stored_path) {
    std::string stored = services_.stored_path(text);
    if (stored != text) return stored;
  }
  write(EditedField::Expansion, [&](Abbreviation& a) { a.program().location = text; });
  store(EditedField::TypeIcon, [&](Abbreviation& a) {
    a.program().icon = services_.location_icon && !text.empty() ? services_.location_icon(text) : nullptr;
  });
  display_.set_launch_details_sensitive(!is_folder(text));
  user_edit();
  return std::nullopt;
}

void AbbrevEditorPresenter::parameters_changed(const std::string& text) {
  if (!record_ || record_->type() != ABBR_TYPE_PROGRAM) return;
  const bool written = write_detail(EditedField::Expansion, "progParams", [&](Abbreviation& a) {
    a.program().parameters = text;
    return KvValue::of_string(text);
  });
  if (written) user_edit();
}

std::optional<std::string> AbbrevEditorPresenter::run_in_changed(const std::string& text) {
  if (frozen_ || !record_ || record_->type() != ABBR_TYPE_PROGRAM) return std::nullopt;
  if (services_.stored_path) {
    std::string stored = services_.stored_path(text);
    if (stored != text) return stored;
  }
  const bool written = write_detail(EditedField::Expansion, "progRunIn", [&](Abbreviation& a) {
    a.program().run_in = text;
    return KvValue::of_string(text);
  });
  if (written) user_edit();
  return std::nullopt;
}

void AbbrevEditorPresenter::show_mode_chosen(int id) {
  if (id < 0 || !record_ || record_->type() != ABBR_TYPE_PROGRAM) return;
  const bool written = write_detail(EditedField::Expansion, "progShowMode", [&](Abbreviation& a) {
    a.program().show_mode = static_cast<uint8_t>(id);
    return KvValue::of_integer(a.program().show_mode);
  });
  if (written) user_edit();
}

void AbbrevEditorPresenter::run_as_admin_toggled(bool on) {
  if (!record_ || record_->type() != ABBR_TYPE_PROGRAM) return;
  const bool written = write_detail(EditedField::Expansion, "progRunAsAdmin", [&](Abbreviation& a) {
    a.program().run_as_admin = on ? 1 : 0;
    return KvValue::of_integer(a.program().run_as_admin);
  });
  if (written) user_edit();
}

void AbbrevEditorPresenter::url_changed(const std::string& text) {
  if (!record_ || record_->type() != ABBR_TYPE_WEBSITE) return;
  if (!write(EditedField::Expansion, [&](Abbreviation& a) { a.website().address = text; })) return;
  user_edit();
  if (auto_description_ && !description_typed_) set_description_as_program(desc_from_website_address(text));
}

void AbbrevEditorPresenter::browser_chosen(const std::string& stored) {
  if (!record_ || record_->type() != ABBR_TYPE_WEBSITE) return;
  const bool written = write_detail(EditedField::Expansion, "webBrowser", [&](Abbreviation& a) {
    a.website().browser = stored;
    return KvValue::of_string(stored);
  });
  if (written) user_edit();
}

void AbbrevEditorPresenter::program_browsed() {
  if (record_ && auto_description_ && !description_typed_) set_description_as_program(kNewLauncherDescription);
}

void AbbrevEditorPresenter::detect_duplicates(const std::string& text) {
  conflicts_.clear();
  conflicting_text_.clear();
  if (record_) {
    // A case-sensitive abbreviation only collides with another in another case when that
    // one ignores case; any other abbreviation collides in every case.
    unsigned flags = SEARCH_ABBREVIATION;
    if (record_->case_mode == CASE_SENSITIVE) flags |= SEARCH_ABBREV_OWN_CASE;
    for (const std::string& alternative : abbr_get_lst_of_abbrevs_from_string(text)) {
      conflicts_ = abbr_find_abbrevs_containing_string(sandbox_, nullptr, alternative, record_, flags);
      if (!conflicts_.empty()) {
        conflicting_text_ = alternative;
        break;
      }
    }
  }
  display_.show_duplicate_warning(conflicts_.empty() ? std::nullopt
                                                     : std::optional(format_one(kDuplicateWarningFormat, conflicting_text_)));
}

void AbbrevEditorPresenter::duplicate_warning_activated() {
  if (conflicts_.empty()) return;
  host_.show_conflicts(conflicting_text_, conflicts_);
  conflicts_.clear();
  conflicting_text_.clear();
}

std::string AbbrevEditorPresenter::macro_to_insert(const MacroMenuItem& item) const {
  return tolvan::macro_to_insert(item.macro, textexpander_mode());
}

}  // namespace tolvan
