// The abbreviation editor's widgets on a real display: filled from records without counting
// as edits, typing into them writes the records and tells the main window, the pages and
// combos follow the record's type, the insert-macro menu inserts at the caret, and the
// fields carry the names their labels give them.
#include <gtkmm/menuitem.h>
#include <gtkmm/window.h>

#include "gtk_test_support.h"
#include "library/folder_tree.h"
#include "support/recording_editor_host.h"
#include "support/temp_dir.h"
#include "ui/library_window/abbrev_editor_view.h"

namespace tolvan::ui {
namespace {

using tolvan::testing::RecordingEditorHost;
using testing::settle;

class AnsweringDialogs final : public FileDialogs {
 public:
  std::optional<std::string> file, folder;
  std::vector<std::string> asked;
  std::optional<std::string> browse_for_file(const OpenFileRequest& r) override {
    asked.push_back("file " + r.title);
    return file;
  }
  std::optional<std::string> browse_for_save_file_name(const SaveFileRequest&) override { return std::nullopt; }
  std::optional<std::string> browse_for_folder(const std::string& title, const std::string& start) override {
    asked.push_back("folder " + title + " from " + start);
    return folder;
  }
};

class NoBrowsers final : public BrowserList {
 public:
  std::string default_browser_name() override { return "Web"; }
  std::vector<BrowserChoice> installed_browsers() override { return {{"Lynx", "/usr/bin/lynx", ""}}; }
};

class AbbrevEditorViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TOLVAN_NEED_DISPLAY();
    sandbox.push_back(abbr_create_absolute_parent_folder(uids));
    prefs.set("default_case_mode", "2");
    prefs.set("default_trigger_mode", "3");
    view = std::make_unique<AbbrevEditorView>(host, sandbox, prefs, dialogs, browsers);
    window = std::make_unique<Gtk::Window>();
    window->add(*view);
    window->show_all();
    settle();
  }

  Abbreviation& add(AbbrType type, const std::string& abbreviation) {
    Abbreviation& a = abbr_add_abbrev_to_folder(
        *sandbox[0], abbr_create_new_abbrev(type, sandbox[0].get(), {CASE_INSENSITIVE, TRIGGER_IMMEDIATELY}));
    if (!abbreviation.empty()) a.abbreviations = {abbreviation};
    a.modified = {};
    return a;
  }

  UidCounter uids;
  FolderList sandbox;
  Settings prefs;
  RecordingEditorHost host;
  AnsweringDialogs dialogs;
  NoBrowsers browsers;
  std::unique_ptr<Gtk::Window> window;
  std::unique_ptr<AbbrevEditorView> view;
};

TEST_F(AbbrevEditorViewTest, FillsFromARecordAndTypingWritesIt) {
  Abbreviation& a = add(ABBR_TYPE_TEXT, "btw");
  a.expansion() = "by the way";
  a.description = "phrase";
  a.case_mode = CASE_SENSITIVE;
  bool shown = false;
  view->signal_visibility_wanted().connect([&](bool s) { shown = s; });
  view->presenter().show_selection({&a});
  settle();

  EXPECT_TRUE(shown);
  EXPECT_EQ(view->abbreviation_entry().get_text(), "btw");
  EXPECT_EQ(view->description_entry().get_text(), "phrase");
  EXPECT_EQ(view->replacement_view().get_buffer()->get_text(), "by the way");
  EXPECT_EQ(view->case_combo().selected_id(), CASE_SENSITIVE);
  EXPECT_EQ(view->pages().get_current_page(), 0);
  EXPECT_TRUE(host.edited.empty());
  EXPECT_EQ(host.unapplied, 0);

  view->abbreviation_entry().set_text("btw|bw");
  view->replacement_view().get_buffer()->insert_at_cursor("!");
  view->case_combo().select_id(CASE_ADAPT);
  EXPECT_EQ(a.abbreviations, (std::vector<std::string>{"btw", "bw"}));
  EXPECT_EQ(a.expansion(), "by the way!");
  EXPECT_EQ(a.case_mode, CASE_ADAPT);
  EXPECT_EQ(a.description, "phrase");
  EXPECT_EQ(host.edited, (std::vector<EditedField>{EditedField::Abbreviation, EditedField::Expansion,
                                                  EditedField::CaseMode}));
  EXPECT_EQ(host.unapplied, 3);
  EXPECT_EQ(host.key_buffer_cleared, 1);
  EXPECT_NE(a.modified, AbbrTime{});

  view->presenter().show_selection({&a, &a});
  EXPECT_FALSE(shown);
}

// The name a screen reader gives the field: that of the label it is labelled by.
std::string labelled_by(Gtk::Widget& widget) {
  AtkObject* accessible = gtk_widget_get_accessible(widget.gobj());
  AtkRelationSet* relations = atk_object_ref_relation_set(accessible);
  AtkRelation* relation = atk_relation_set_get_relation_by_type(relations, ATK_RELATION_LABELLED_BY);
  std::string name;
  if (relation && atk_relation_get_target(relation)->len > 0) {
    auto* label = static_cast<AtkObject*>(g_ptr_array_index(atk_relation_get_target(relation), 0));
    name = atk_object_get_name(label);
  }
  g_object_unref(relations);
  return name;
}

TEST_F(AbbrevEditorViewTest, TheFieldsAreNamedByTheirLabels) {
  EXPECT_EQ(labelled_by(view->abbreviation_entry()), "Abbreviation");
  EXPECT_EQ(labelled_by(view->description_entry()), "Description");
  EXPECT_EQ(labelled_by(view->replacement_view()), "Replacement Text");
  EXPECT_EQ(labelled_by(view->location_entry()), "Location: ");
  EXPECT_EQ(labelled_by(view->url_entry()), "Website URL: ");
  EXPECT_EQ(labelled_by(view->trigger_combo()), "Replace typed abbreviation: ");
  EXPECT_EQ(view->abbreviation_entry().get_accessible()->get_name(), "Abbreviation");
  EXPECT_EQ(view->location_entry().get_accessible()->get_name(), "Location");

  Abbreviation& site = add(ABBR_TYPE_WEBSITE, "w");
  prefs.set("adv_view", "1");
  view->presenter().show_selection({&site});
  EXPECT_EQ(view->trigger_combo().get_accessible()->get_name(), "Launch") << "the name follows the label";
}

TEST_F(AbbrevEditorViewTest, ANewRecordTakesTheDescriptionFromItsTextAndADuplicateIsFlagged) {
  add(ABBR_TYPE_TEXT, "sig");
  Abbreviation& fresh = add(ABBR_TYPE_TEXT, "");
  view->presenter().show_selection({&fresh});
  view->presenter().begin_new_record();
  settle();
  EXPECT_TRUE(view->abbreviation_entry().has_focus());

  view->abbreviation_entry().set_text("SIG");
  EXPECT_TRUE(view->duplicate_warning().get_visible());
  EXPECT_EQ(view->duplicate_warning().get_tooltip_text().substr(0, 22), "The abbreviation 'SIG'");
  view->replacement_view().get_buffer()->set_text("Best regards,\nAnna");
  EXPECT_EQ(view->description_entry().get_text(), "Best regards,");
  EXPECT_EQ(fresh.description, "Best regards,");
  view->abbreviation_entry().set_text("sig2x");
  EXPECT_FALSE(view->duplicate_warning().get_visible());
}

TEST_F(AbbrevEditorViewTest, TheMacroMenuInsertsAtTheCaret) {
  Abbreviation& a = add(ABBR_TYPE_TEXT, "cb");
  a.expansion() = "Paste: ";
  view->presenter().show_selection({&a});
  auto buffer = view->replacement_view().get_buffer();
  buffer->place_cursor(buffer->end());
  Gtk::Menu& menu = view->pop_up_macro_menu();
  settle();
  EXPECT_TRUE(menu.get_mapped());
  std::vector<Gtk::Widget*> items = menu.get_children();
  ASSERT_EQ(items.size(), 11u);
  auto* clipboard = dynamic_cast<Gtk::MenuItem*>(items[0]);
  ASSERT_TRUE(clipboard);
  EXPECT_EQ(clipboard->get_label(), "Include _clipboard contents in output");
  clipboard->activate();
  settle();
  EXPECT_EQ(a.expansion(), "Paste: %(clipboard)");

  prefs.set("textexpander_mode", "1");
  view->presenter().apply_look();
  Gtk::Menu& te_menu = view->pop_up_macro_menu();
  dynamic_cast<Gtk::MenuItem*>(te_menu.get_children()[1])->activate();
  settle();
  EXPECT_EQ(a.expansion(), "Paste: %(clipboard)%|");
}

TEST_F(AbbrevEditorViewTest, LauncherPagesFollowTheRecordAndTheFolderRule) {
  tolvan::testing::TempDir dir;
  prefs.set("adv_view", "1");
  Abbreviation& program = add(ABBR_TYPE_PROGRAM, "ed");
  view->presenter().show_selection({&program});
  settle();
  EXPECT_EQ(view->pages().get_current_page(), 1);
  EXPECT_TRUE(view->parameters_entry().get_visible());
  view->case_combo().set_active(1);
  EXPECT_EQ(program.case_mode, CASE_SENSITIVE);

  view->location_entry().set_text(dir.path());
  EXPECT_EQ(program.program().location, dir.path());
  EXPECT_FALSE(view->parameters_entry().get_sensitive());
  EXPECT_TRUE(program.program().icon) << "a folder has an icon";
  view->location_entry().set_text(dir.path() + "/missing");
  EXPECT_TRUE(view->parameters_entry().get_sensitive());
  EXPECT_FALSE(program.program().icon);

  Abbreviation& site = add(ABBR_TYPE_WEBSITE, "gh");
  view->presenter().show_selection({&site});
  view->presenter().begin_new_record();
  settle();
  EXPECT_EQ(view->pages().get_current_page(), 2);
  view->url_entry().set_text("https://www.example.net");
  EXPECT_EQ(site.website().address, "https://www.example.net");
  EXPECT_EQ(site.description, "example.net");
  EXPECT_EQ(view->description_entry().get_text(), "example.net");
}

}  // namespace
}  // namespace tolvan::ui
