// The abbreviation editor without widgets: a display that behaves like real widgets (setting
// a field raises its change, as GTK does) and a host that records what it was told.
#include "presenters/library_window/abbrev_editor_presenter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "import/te_change_hooks.h"
#include "import/te_dictionaries.h"
#include "library/folder_tree.h"
#include "presenters/library_window/auto_description.h"
#include "support/recording_editor_host.h"
#include "support/temp_dir.h"

namespace tolvan {
namespace {

constexpr AbbrTime kEditTime{12, 24, 2026, 18, 30, 5};
constexpr AbbrTime kOldTime{1, 2, 2001, 3, 4, 5};

using RecordingHost = testing::RecordingEditorHost;

// Like the widgets: filling and programmatic changes come back as change signals.
class EchoingDisplay final : public AbbrevEditorDisplay {
 public:
  AbbrevEditorPresenter* presenter = nullptr;
  EditorLook look;
  EditorContents shown;
  std::optional<std::string> warning;
  bool details_sensitive = true;
  bool editor_shown = false;
  bool editor_sensitive = false;
  int focused = 0;

  void set_look(const EditorLook& l) override { look = l; }
  void fill(const EditorContents& c) override {
    shown = c;
    presenter->abbreviation_changed(c.abbreviation);
    presenter->description_changed(c.description);
    presenter->replacement_changed(c.replacement);
    presenter->location_changed(c.location);
    presenter->url_changed(c.url);
    presenter->case_mode_chosen(c.case_mode);
    presenter->trigger_mode_chosen(c.trigger_mode);
    presenter->anywhere_toggled(c.anywhere);
  }
  void show_description(const std::string& text) override {
    shown.description = text;
    presenter->description_changed(text);
  }
  void show_duplicate_warning(const std::optional<std::string>& tooltip) override { warning = tooltip; }
  void set_launch_details_sensitive(bool s) override { details_sensitive = s; }
  void set_editor_state(bool s, bool sens) override {
    editor_shown = s;
    editor_sensitive = sens;
  }
  void focus_abbreviation() override { ++focused; }
};

class AbbrevEditor : public ::testing::Test {
 protected:
  AbbrevEditor() {
    sandbox.push_back(abbr_create_absolute_parent_folder(uids));
    Folder& work = abbr_add_subfolder_to_folder(*sandbox[0], abbr_new_subfolder_of(uids, sandbox[0].get(), "Work"));
    folder = &work;
    prefs.set("default_case_mode", "2");
    prefs.set("default_trigger_mode", "3");
    prefs.set("norm_view", "1");
    make_presenter();
  }

  void make_presenter(EditorServices services = {}) {
    if (!services.now) services.now = [] { return kEditTime; };
    presenter.emplace(display, host, sandbox, prefs, services);
    display.presenter = &*presenter;
  }

  Abbreviation& add(AbbrType type, std::string abbreviation, int case_mode = CASE_INSENSITIVE) {
    Abbreviation& a = abbr_add_abbrev_to_folder(*folder, abbr_create_new_abbrev(type, folder, {case_mode, TRIGGER_IMMEDIATELY}));
    if (!abbreviation.empty()) a.abbreviations = {std::move(abbreviation)};
    a.modified = kOldTime;
    return a;
  }

  // The main window's new-record path: create, select, then tell the editor.
  Abbreviation& create(AbbrType type) {
    Abbreviation& a = add(type, "");
    presenter->show_selection({&a});
    presenter->begin_new_record();
    host = RecordingHost{};
    return a;
  }

  UidCounter uids;
  FolderList sandbox;
  Folder* folder = nullptr;
  Settings prefs;
  RecordingHost host;
  EchoingDisplay display;
  std::optional<AbbrevEditorPresenter> presenter;
};

TEST_F(AbbrevEditor, FillingFromTheSelectionChangesNothing) {
  Abbreviation& a = add(ABBR_TYPE_TEXT, "btw");
  a.expansion() = "by the way";
  a.description = "by the way";
  a.anywhere = 1;
  presenter->show_selection({&a});

  EXPECT_TRUE(display.editor_shown);
  EXPECT_EQ(display.shown.abbreviation, "btw");
  EXPECT_EQ(display.shown.replacement, "by the way");
  EXPECT_TRUE(display.shown.anywhere);
  EXPECT_EQ(a.modified, kOldTime);
  EXPECT_TRUE(host.edited.empty());
  EXPECT_EQ(host.unapplied, 0);
  EXPECT_EQ(host.key_buffer_cleared, 0);
}

TEST_F(AbbrevEditor, NoneOrSeveralSelectedShowDefaultsAndWriteNothing) {
  Abbreviation& a = add(ABBR_TYPE_TEXT, "a1");
  Abbreviation& b = add(ABBR_TYPE_PROGRAM, "b1");
  prefs.set("default_trigger_mode", "5");
  presenter->show_selection({&a, &b});
  EXPECT_FALSE(display.editor_shown);
  EXPECT_TRUE(display.editor_sensitive);
  EXPECT_EQ(display.shown.page, EditorPage::Text);
  EXPECT_EQ(display.shown.abbreviation, "");
  EXPECT_EQ(display.shown.trigger_mode, TRIGGER_WORD_ENDING);

  presenter->abbreviation_changed("typed");
  presenter->description_changed("typed");
  EXPECT_EQ(a.abbreviations, std::vector<std::string>{"a1"});
  EXPECT_EQ(a.description, "New Abbreviation");
  EXPECT_EQ(host.unapplied, 0);

  presenter->show_selection({});
  EXPECT_FALSE(display.editor_sensitive);
}

TEST_F(AbbrevEditor, EachFieldIsWrittenAtOnceWithTheTimeStamped) {
  Abbreviation& a = add(ABBR_TYPE_TEXT, "old");
  presenter->show_selection({&a});
  presenter->abbreviation_changed("sig|sig2||x");
  EXPECT_EQ(a.abbreviations, (std::vector<std::string>{"sig", "sig2|x"}));
  EXPECT_EQ(a.modified, kEditTime);
  EXPECT_EQ(host.key_buffer_cleared, 1);

  presenter->trigger_mode_chosen(TRIGGER_KEY);
  presenter->case_mode_chosen(CASE_SENSITIVE);
  presenter->anywhere_toggled(true);
  EXPECT_EQ(a.trigger_mode, TRIGGER_KEY);
  EXPECT_EQ(a.case_mode, CASE_SENSITIVE);
  EXPECT_EQ(a.anywhere, 1);
  EXPECT_EQ(host.edited, (std::vector<EditedField>{EditedField::Abbreviation, EditedField::TriggerMode,
                                                  EditedField::CaseMode, EditedField::Anywhere}));
  EXPECT_EQ(host.unapplied, 4);
}

TEST_F(AbbrevEditor, ANewAbbreviationTakesItsDescriptionFromTheReplacementUntilOneIsTyped) {
  Abbreviation& a = create(ABBR_TYPE_TEXT);
  EXPECT_EQ(display.focused, 1);
  EXPECT_TRUE(presenter->description_click_selects_all());

  presenter->replacement_changed("0123456789012345678901234567890123456789");
  EXPECT_EQ(a.description, "01234567890123456789012345678901...");
  EXPECT_EQ(display.shown.description, a.description);
  presenter->replacement_changed("Dear Sir,\nthank you");
  EXPECT_EQ(a.description, "Dear Sir,");
  presenter->replacement_changed("");
  EXPECT_EQ(a.description, "New Abbreviation");
  EXPECT_TRUE(presenter->description_click_selects_all());

  presenter->description_changed("Letter opening");
  presenter->replacement_changed("Something else");
  EXPECT_EQ(a.description, "Letter opening");
  EXPECT_EQ(a.expansion(), "Something else");
  EXPECT_FALSE(presenter->description_click_selects_all());
}

TEST_F(AbbrevEditor, AnExistingRecordKeepsItsDescription) {
  Abbreviation& a = add(ABBR_TYPE_TEXT, "x");
  presenter->show_selection({&a});
  presenter->replacement_changed("new text");
  EXPECT_EQ(a.description, "New Abbreviation");
}

TEST_F(AbbrevEditor, DescriptionRuleCountsCharactersNotBytes) {
  EXPECT_EQ(desc_from_replacement_text(""), "");
  EXPECT_EQ(desc_from_replacement_text(std::string(32, 'x')), std::string(32, 'x'));
  const std::string umlauts = "äöüäöüäöüäöüäöüäöüäöüäöüäöüäöüäöüß";  // 34 characters
  EXPECT_EQ(desc_from_replacement_text(umlauts), umlauts.substr(0, 64) + "...");
  EXPECT_EQ(desc_from_replacement_text("line\r\nnext"), "line");
  EXPECT_EQ(desc_from_replacement_text("\nstarts with a break"), "");
}

TEST_F(AbbrevEditor, ANewWebsiteLauncherIsDescribedByItsAddress) {
  Abbreviation& a = create(ABBR_TYPE_WEBSITE);
  presenter->url_changed("https://WWW.example.com/page");
  EXPECT_EQ(a.website().address, "https://WWW.example.com/page");
  EXPECT_EQ(a.description, "example.com/page");
  presenter->url_changed("https://example.org");
  EXPECT_EQ(a.description, "example.org");
  presenter->url_changed("example");
  EXPECT_EQ(a.description, "example");
  presenter->url_changed("http://www.");
  EXPECT_EQ(a.description, "www.");
  presenter->url_changed("https://");
  EXPECT_EQ(a.description, "https://");
  presenter->url_changed("");
  EXPECT_EQ(a.description, "New Launcher");
}

TEST_F(AbbrevEditor, ALauncherNeverAdaptsCase) {
  EXPECT_EQ(ui_offset_combo_fill_from_id(case_mode_table(true, false), CASE_ADAPT), -1);
  EXPECT_EQ(ui_offset_combo_fill_from_id(case_mode_table(true, true), CASE_ADAPT), -1);
  EXPECT_EQ(ui_offset_combo_fill_from_id(case_mode_table(false, true), CASE_ADAPT), 2);

  Abbreviation& launcher = add(ABBR_TYPE_PROGRAM, "ff");
  presenter->show_selection({&launcher});
  EXPECT_EQ(display.look.case_table.size(), 2u);
  presenter->case_mode_chosen(CASE_ADAPT);
  EXPECT_EQ(launcher.case_mode, CASE_INSENSITIVE);
}

TEST_F(AbbrevEditor, DuplicatesAreWarnedAboutAndListedOnce) {
  Abbreviation& other = add(ABBR_TYPE_TEXT, "btw", CASE_INSENSITIVE);
  Abbreviation& mine = add(ABBR_TYPE_TEXT, "", CASE_INSENSITIVE);
  presenter->show_selection({&mine});
  EXPECT_FALSE(display.warning);

  presenter->abbreviation_changed("zz|BTW");
  ASSERT_TRUE(display.warning);
  EXPECT_EQ(*display.warning,
            "The abbreviation 'BTW' may cause a conflict with an existing abbreviation.\n\n"
            "Double-click this icon to see a list of all potential conflicts.");
  presenter->duplicate_warning_activated();
  EXPECT_EQ(host.conflict_text, "BTW");
  EXPECT_EQ(host.conflicts, std::vector<Abbreviation*>{&other});
  host.conflicts.clear();
  presenter->duplicate_warning_activated();
  EXPECT_TRUE(host.conflicts.empty());

  presenter->abbreviation_changed("qq");
  EXPECT_FALSE(display.warning);
}

TEST_F(AbbrevEditor, CaseSensitiveAbbreviationsInOtherCasesDoNotConflict) {
  Abbreviation& other = add(ABBR_TYPE_TEXT, "btw", CASE_SENSITIVE);
  Abbreviation& mine = add(ABBR_TYPE_TEXT, "BTW", CASE_SENSITIVE);
  presenter->show_selection({&mine});
  EXPECT_FALSE(display.warning);
  other.case_mode = CASE_INSENSITIVE;
  presenter->show_selection({&mine});  // filling checks the record shown, too
  EXPECT_TRUE(display.warning);
}

TEST_F(AbbrevEditor, TheLookFollowsModeAndView) {
  Abbreviation& program = add(ABBR_TYPE_PROGRAM, "p");
  presenter->show_selection({&program});
  EXPECT_EQ(display.look.page, EditorPage::Program);
  EXPECT_STREQ(display.look.trigger_label, "Remove _typed abbreviation and launch: ");
  EXPECT_TRUE(display.look.trigger_row_shown);
  EXPECT_FALSE(display.look.advanced_rows_shown);
  EXPECT_FALSE(display.look.anywhere_shown);

  prefs.set("adv_view", "1");
  presenter->apply_look();
  EXPECT_STREQ(display.look.trigger_label, "_Launch: ");
  EXPECT_TRUE(display.look.advanced_rows_shown);
  EXPECT_TRUE(display.look.anywhere_shown);

  prefs.set("textexpander_mode", "1");
  presenter->apply_look();
  EXPECT_FALSE(display.look.trigger_row_shown);
  EXPECT_FALSE(display.look.anywhere_shown);
  EXPECT_EQ(display.look.trigger_table[1].text, "at delimiter (keep delimiter)");
  EXPECT_EQ(display.look.case_table[0].text, "Case Sensitive (aB, Ab, ab, AB differ)");
  EXPECT_LT(display.look.case_tooltip.find("<b>Case sensitive</b>"), display.look.case_tooltip.find("<b>Ignore case</b>"));
  EXPECT_EQ(program.modified, kOldTime) << "a new look is no edit";
}

TEST_F(AbbrevEditor, ALocationThatIsAFolderTakesNoLaunchDetails) {
  testing::TempDir dir;
  const std::string file = dir.file("notes.txt");
  testing::write_file(file, "x");
  int icons_asked = 0;
  EditorServices services;
  services.location_icon = [&](const std::string&) {
    ++icons_asked;
    return std::make_shared<int>(1);
  };
  make_presenter(services);
  Abbreviation& launcher = add(ABBR_TYPE_PROGRAM, "l");
  presenter->show_selection({&launcher});
  EXPECT_EQ(icons_asked, 0) << "filling writes nothing";

  presenter->location_changed(dir.path());
  EXPECT_FALSE(display.details_sensitive);
  EXPECT_EQ(launcher.program().location, dir.path());
  EXPECT_TRUE(launcher.program().icon);
  presenter->location_changed(file);
  EXPECT_TRUE(display.details_sensitive);
  presenter->location_changed("");
  EXPECT_FALSE(launcher.program().icon);
  EXPECT_EQ(icons_asked, 2);

  launcher.program().location = dir.path();
  presenter->show_selection({&launcher});
  EXPECT_FALSE(display.details_sensitive) << "filling applies the rule too";
}

TEST_F(AbbrevEditor, APathStoredDifferentlyIsHandedBackFirst) {
  EditorServices services;
  services.stored_path = [](const std::string& p) { return p.starts_with("/media/") ? p.substr(6) : p; };
  make_presenter(services);
  Abbreviation& launcher = add(ABBR_TYPE_PROGRAM, "l");
  presenter->show_selection({&launcher});
  EXPECT_EQ(presenter->location_changed("/media/bin/tool"), "/bin/tool");
  EXPECT_EQ(launcher.program().location, "");
  EXPECT_EQ(presenter->location_changed("/bin/tool"), std::nullopt);
  EXPECT_EQ(launcher.program().location, "/bin/tool");
  EXPECT_EQ(presenter->run_in_changed("/media/work"), "/work");
  presenter->run_in_changed("/work");
  presenter->parameters_changed("--fast");
  presenter->show_mode_chosen(2);
  presenter->run_as_admin_toggled(true);
  EXPECT_EQ(launcher.program().run_in, "/work");
  EXPECT_EQ(launcher.program().parameters, "--fast");
  EXPECT_EQ(launcher.program().show_mode, 2);
  EXPECT_EQ(launcher.program().run_as_admin, 1);
}

TEST_F(AbbrevEditor, FieldsOfAnotherTypeAreNotWritten) {
  Abbreviation& text = add(ABBR_TYPE_TEXT, "t");
  text.expansion() = "kept";
  presenter->show_selection({&text});
  presenter->url_changed("https://x");
  presenter->location_changed("/bin");
  presenter->browser_chosen("firefox");
  EXPECT_EQ(text.type(), ABBR_TYPE_TEXT);
  EXPECT_EQ(text.expansion(), "kept");
  EXPECT_EQ(host.unapplied, 0);
}

TEST_F(AbbrevEditor, AnUnsupportedSnippetShowsItsNotice) {
  Abbreviation& snippet = add(ABBR_TYPE_UNSUPPORTED, "as");
  presenter->show_selection({&snippet});
  EXPECT_EQ(display.look.page, EditorPage::Unsupported);
  EXPECT_EQ(display.shown.notice.rfind("<b>Unknown snippets are not yet supported in Tolvan.</b>", 0), 0u);
  EXPECT_FALSE(display.look.anywhere_shown);
}

// ---------------------------------------------------------------- TextExpander mode

// The editor with TextExpander mode's own hooks, in a folder that is a TextExpander group.
class AbbrevEditorInTextExpanderMode : public AbbrevEditor {
 protected:
  AbbrevEditorInTextExpanderMode() {
    EditorServices services;
    services.model_hooks = [this] { return live; };
    make_presenter(services);
    te_build_kvlists(*folder, false, options);
  }

  // The main window's new-record path with the editor told of the creation.
  Abbreviation& snippet(AbbrType type) {
    Abbreviation& a = add(type, "");
    presenter->record_created(a);
    presenter->show_selection({&a});
    return a;
  }

  static std::string general(const Abbreviation& a, std::string_view key) {
    const std::string* text = a.te_general ? te_string_of(*a.te_general, key) : nullptr;
    return text ? *text : "(none)";
  }
  static std::optional<int32_t> general_number(const Abbreviation& a, std::string_view key) {
    return a.te_general ? te_integer_of(*a.te_general, key) : std::nullopt;
  }
  static std::optional<int32_t> specific_number(const Abbreviation& a, std::string_view key) {
    return a.te_abbrev_specific ? te_integer_of(*a.te_abbrev_specific, key) : std::nullopt;
  }
  static std::optional<AbbrTime> modification_date(const Abbreviation& a) {
    const KvValue* date = a.te_general ? kvlist_lookup_value(*a.te_general, "modificationDate") : nullptr;
    return date && date->date() ? std::optional(*date->date()) : std::nullopt;
  }
  bool listed_by_group(const Abbreviation& a) const {
    const KvValue* uuids = kvlist_lookup_value_type(*folder->te_general, "snippetUUIDs", KV_VALUE_ARRAY);
    const std::string uuid = general(a, "uuidString");
    return uuids && kvlist_lookup_by_string_value(*uuids->list(), uuid) != nullptr;
  }

  TeExportOptions options{ModeDefaults{CASE_ADAPT, TRIGGER_IMMEDIATELY}, kOldTime, nullptr};
  TeChangeHooks hooks{options};
  ModelHooks* live = &hooks;  // null: the mode is off
};

TEST_F(AbbrevEditorInTextExpanderMode, ANewRecordBecomesASnippetAndLeavesTheGroupWhenDeleted) {
  Abbreviation& a = snippet(ABBR_TYPE_TEXT);
  ASSERT_TRUE(a.te_general && a.te_abbrev_specific);
  EXPECT_EQ(general(a, "label"), "New Abbreviation");
  EXPECT_TRUE(listed_by_group(a));
  presenter->record_deleting(a);
  EXPECT_FALSE(listed_by_group(a));
}

TEST_F(AbbrevEditorInTextExpanderMode, EveryShownFieldReachesTheSnippetWithTheEditsTime) {
  Abbreviation& a = snippet(ABBR_TYPE_TEXT);
  EXPECT_EQ(modification_date(a), kOldTime);  // filling the editor is no edit

  presenter->abbreviation_changed("sig|regards");
  EXPECT_EQ(general(a, "abbreviation"), "sig|regards");
  EXPECT_EQ(modification_date(a), kEditTime);
  presenter->replacement_changed("Kind regards");
  EXPECT_EQ(general(a, "plainText"), "Kind regards");
  presenter->description_changed("Closing");
  EXPECT_EQ(general(a, "label"), "Closing");
  presenter->case_mode_chosen(CASE_SENSITIVE);
  EXPECT_EQ(general_number(a, "abbreviationMode"), 0);
  presenter->trigger_mode_chosen(TRIGGER_WORD_ENDING);
  EXPECT_EQ(specific_number(a, "triggerMode"), 1);
  presenter->anywhere_toggled(true);
  EXPECT_EQ(specific_number(a, "anywhereMode"), 1);
}

TEST_F(AbbrevEditorInTextExpanderMode, LauncherDetailsReachTheSnippetUnderTheirOwnKeys) {
  Abbreviation& program = snippet(ABBR_TYPE_PROGRAM);
  presenter->location_changed("/usr/bin/xterm");
  presenter->parameters_changed("-e top");
  presenter->run_in_changed("/tmp");
  presenter->show_mode_chosen(2);
  presenter->run_as_admin_toggled(true);
  EXPECT_EQ(general(program, "progExePath"), "/usr/bin/xterm");
  EXPECT_EQ(general(program, "progParams"), "-e top");
  EXPECT_EQ(general(program, "progRunIn"), "/tmp");
  EXPECT_EQ(general_number(program, "progShowMode"), 2);
  EXPECT_EQ(general_number(program, "progRunAsAdmin"), 1);

  Abbreviation& website = snippet(ABBR_TYPE_WEBSITE);
  presenter->url_changed("https://example.org/");
  presenter->browser_chosen("firefox");
  EXPECT_EQ(general(website, "webURL"), "https://example.org/");
  EXPECT_EQ(general(website, "webBrowser"), "firefox");
}

TEST_F(AbbrevEditorInTextExpanderMode, OutsideTheModeTheSnippetKeepsWhatItHad) {
  Abbreviation& a = snippet(ABBR_TYPE_TEXT);
  live = nullptr;
  presenter->abbreviation_changed("sig");
  presenter->anywhere_toggled(true);
  EXPECT_EQ(a.abbreviations, std::vector<std::string>{"sig"});
  EXPECT_EQ(general(a, "abbreviation"), "");
  EXPECT_EQ(modification_date(a), kOldTime);
  EXPECT_EQ(specific_number(a, "anywhereMode"), std::nullopt);
  presenter->record_deleting(a);
  EXPECT_TRUE(listed_by_group(a));
}

TEST(InsertMacroMenu, PresetsShowTodayAndTextExpanderModeConverts) {
  MacroEnvironment env;
  env.now = [] {
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 11;
    t.tm_mday = 7;
    t.tm_hour = 14;
    t.tm_min = 5;
    t.tm_sec = 9;
    t.tm_isdst = -1;
    return std::mktime(&t);
  };
  const std::vector<MacroMenuItem> menu = insert_macro_menu(env);
  ASSERT_EQ(menu.size(), 11u);
  EXPECT_TRUE(menu[2].is_separator());
  EXPECT_EQ(menu[4].submenu.size(), 3u);
  const MacroMenuItem& presets = menu[7];
  EXPECT_EQ(presets.label, "Date / Time _Presets");
  ASSERT_EQ(presets.submenu.size(), 10u);
  EXPECT_EQ(presets.submenu[0].label, "12/07/2026 2:05:09 PM");
  EXPECT_EQ(presets.submenu[2].macro, "%(Month)/%(Day)/%(Year)");
  EXPECT_EQ(presets.submenu[9].label, "14:05:09");
  EXPECT_EQ(menu[8].submenu.size(), 17u);
  EXPECT_EQ(menu[8].submenu[16].macro, "%(#WeekOfYear)");
  EXPECT_EQ(menu[10].submenu[12].macro, "%(SubtractSeconds 1)");

  EXPECT_EQ(macro_to_insert("%(clipboard)", false), "%(clipboard)");
  EXPECT_EQ(macro_to_insert("%(clipboard)", true), "%clipboard");
  EXPECT_EQ(macro_to_insert("%(cursor)", true), "%|");
}

class FixedBrowsers final : public BrowserList {
 public:
  std::string default_name;
  std::vector<BrowserChoice> installed;
  std::string default_browser_name() override { return default_name; }
  std::vector<BrowserChoice> installed_browsers() override { return installed; }
};

TEST(BrowserRows, DefaultFirstThenNamedBrowsersFoundWithoutCase) {
  FixedBrowsers none;
  std::vector<BrowserRow> rows = browser_rows(none);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].label, "Default Browser");
  EXPECT_EQ(browser_row_index(rows, "firefox"), 0u);

  FixedBrowsers some;
  some.default_name = "Firefox";
  some.installed = {{"Firefox", "/usr/bin/firefox", ""}, {"", "/usr/bin/nameless", ""},
                    {"Chromium", "/usr/bin/chromium", ""}, {"No program", "", ""}};
  rows = browser_rows(some);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0].label, "Default Browser (Firefox)");
  EXPECT_EQ(rows[0].value, "");
  EXPECT_EQ(rows[1].label, "");
  EXPECT_EQ(browser_row_index(rows, "/USR/BIN/CHROMIUM"), 3u);
  EXPECT_EQ(browser_row_index(rows, ""), 0u);
  EXPECT_EQ(browser_row_index(rows, "/usr/bin/gone"), 0u);
}

}  // namespace
}  // namespace tolvan
