// TextExpander mode's change hooks keep the dictionaries of TextExpander-backed folders and
// abbreviations current, and leave everything else alone.
#include <gtest/gtest.h>

#include "import/te_change_hooks.h"
#include "import/te_dictionaries.h"
#include "import/te_import.h"
#include "import/te_import_library.h"
#include "import/te_mode.h"
#include "library/folder_tree.h"

namespace tolvan {
namespace {

std::string upper(std::string_view s) { return "MACRO:" + std::string(s); }

std::vector<std::string> listed_uuids(const Folder& folder) {
  std::vector<std::string> out;
  const KvValue* list = kvlist_lookup_value_type(*folder.te_general, "snippetUUIDs", KV_VALUE_ARRAY);
  if (!list) return out;
  for (const KvElement& e : *list->list()) out.push_back(*e.value.string());
  return out;
}

struct HooksScene {
  HooksScene() : hooks(options()) {
    library.hooks = &hooks;
    Folder& top = abbr_ensure_absolute_parent(library.sandbox, library.uids);
    group = &abbr_add_subfolder_to_folder(top, abbr_new_subfolder_of(library.uids, &top, "Work"));
    other = &abbr_add_subfolder_to_folder(top, abbr_new_subfolder_of(library.uids, &top, "Home"));
    plain = &abbr_add_subfolder_to_folder(top, abbr_new_subfolder_of(library.uids, &top, "Plain"));
    // Work and Home are TextExpander groups, as a first sync write leaves them.
    for (Folder* f : {group, other}) te_build_kvlists(*f, false, options());
  }
  static TeExportOptions options() {
    TeExportOptions o;
    o.to_te_macros = upper;
    return o;
  }
  Abbreviation& create(Folder& folder, const char* typed) {
    auto a = abbr_create_new_abbrev(ABBR_TYPE_TEXT, &folder, {});
    a->abbreviations = {typed};
    a->expansion() = std::string("text of ") + typed;
    Abbreviation& added = abbr_add_abbrev_to_folder(folder, std::move(a));
    hooks.abbrev_created(added);
    return added;
  }
  static const std::string& uuid(const Abbreviation& a) {
    return *te_string_of(*a.te_general, "uuidString");
  }

  Library library;
  TeChangeHooks hooks;
  Folder* group = nullptr;
  Folder* other = nullptr;
  Folder* plain = nullptr;
};

TEST(TeChangeHooks, ANewAbbreviationInAGroupBecomesASnippetOnlyThere) {
  HooksScene s;
  Abbreviation& in_group = s.create(*s.group, "sig");
  ASSERT_TRUE(in_group.te_general);
  ASSERT_TRUE(in_group.te_abbrev_specific);
  EXPECT_EQ(*te_string_of(*in_group.te_general, "plainText"), "MACRO:text of sig");
  EXPECT_EQ(listed_uuids(*s.group), std::vector<std::string>{HooksScene::uuid(in_group)});
  EXPECT_EQ(*te_string_of(*in_group.te_abbrev_specific, "uuidString"), HooksScene::uuid(in_group));

  Abbreviation& elsewhere = s.create(*s.plain, "x");
  EXPECT_FALSE(elsewhere.te_general);
  EXPECT_FALSE(elsewhere.te_abbrev_specific);
}

TEST(TeChangeHooks, ShownFieldsGoToTheirKeysAndTheModificationDateFollows) {
  HooksScene s;
  Abbreviation& a = s.create(*s.group, "sig");
  a.modified = AbbrTime{3, 4, 2020, 5, 6, 7};

  a.description = "Signature";
  s.hooks.abbrev_col_modified(a, AbbrevField::Description);
  EXPECT_EQ(*te_string_of(*a.te_general, "label"), "Signature");
  ASSERT_TRUE(kvlist_lookup_value(*a.te_general, "modificationDate")->date());
  EXPECT_EQ(*kvlist_lookup_value(*a.te_general, "modificationDate")->date(), a.modified);

  a.abbreviations = {"sig", "s|g"};
  s.hooks.abbrev_col_modified(a, AbbrevField::Abbreviations);
  EXPECT_EQ(*te_string_of(*a.te_general, "abbreviation"), "sig|s||g");
  EXPECT_TRUE(te_alternatives_joined(*a.te_abbrev_specific));

  a.expansion() = "Best, Ann";
  s.hooks.abbrev_col_modified(a, AbbrevField::Expansion);
  EXPECT_EQ(*te_string_of(*a.te_general, "plainText"), "MACRO:Best, Ann");

  a.case_mode = CASE_SENSITIVE;
  s.hooks.abbrev_col_modified(a, AbbrevField::CaseMode);
  EXPECT_EQ(te_integer_of(*a.te_general, "abbreviationMode"), 0);

  a.trigger_mode = TRIGGER_KEY;
  s.hooks.abbrev_col_modified(a, AbbrevField::TriggerMode);
  EXPECT_EQ(te_integer_of(*a.te_abbrev_specific, "triggerMode"), 2);
  EXPECT_FALSE(kvlist_get_from_key(*a.te_general, "triggerMode"));
}

TEST(TeChangeHooks, ALauncherExpansionAndItsOtherFieldsGoToTheirDictionaries) {
  HooksScene s;
  auto made = abbr_create_new_abbrev(ABBR_TYPE_WEBSITE, s.group, {});
  made->abbreviations = {"web"};
  Abbreviation& web = abbr_add_abbrev_to_folder(*s.group, std::move(made));
  s.hooks.abbrev_created(web);
  web.website().address = "https://example.org";
  s.hooks.abbrev_col_modified(web, AbbrevField::Expansion);
  EXPECT_EQ(*te_string_of(*web.te_general, "webURL"), "https://example.org");
  EXPECT_FALSE(kvlist_get_from_key(*web.te_general, "plainText"));

  s.hooks.abbrev_noncol_modified(web, "webBrowser", KvValue::of_string("firefox"));
  s.hooks.abbrev_noncol_modified(web, "anywhereMode", KvValue::of_integer(1));
  EXPECT_EQ(*te_string_of(*web.te_general, "webBrowser"), "firefox");
  EXPECT_EQ(te_integer_of(*web.te_abbrev_specific, "anywhereMode"), 1);
  EXPECT_FALSE(kvlist_get_from_key(*web.te_general, "anywhereMode"));
}

TEST(TeChangeHooks, AbbreviationsWithoutDictionariesAreNotGivenAny) {
  HooksScene s;
  Abbreviation& a = s.create(*s.plain, "x");
  a.description = "d";
  for (AbbrevField f : {AbbrevField::Description, AbbrevField::Abbreviations,
                        AbbrevField::Expansion, AbbrevField::CaseMode, AbbrevField::TriggerMode}) {
    s.hooks.abbrev_col_modified(a, f);
  }
  s.hooks.abbrev_noncol_modified(a, "progParams", KvValue::of_string("-v"));
  s.hooks.abbrev_deleting(a);
  EXPECT_FALSE(a.te_general);
  EXPECT_FALSE(a.te_abbrev_specific);
}

TEST(TeChangeHooks, ASnippetFromTextExpanderGetsTheJoinedMarkWhenItsAlternativesChange) {
  // TextExpander's own files carry no abbreviation-specific dictionary.
  HooksScene s;
  Abbreviation& a = s.create(*s.group, "sig");
  a.te_abbrev_specific.reset();
  a.abbreviations = {"sig", "sg"};
  s.hooks.abbrev_col_modified(a, AbbrevField::Abbreviations);
  ASSERT_TRUE(a.te_abbrev_specific);
  EXPECT_TRUE(te_alternatives_joined(*a.te_abbrev_specific));
  EXPECT_EQ(*te_string_of(*a.te_abbrev_specific, "uuidString"), HooksScene::uuid(a));
}

TEST(TeChangeHooks, DeletingAndMovingKeepTheGroupsSnippetListsRight) {
  HooksScene s;
  Abbreviation& a = s.create(*s.group, "a");
  Abbreviation& b = s.create(*s.group, "b");
  const std::string uuid_a = HooksScene::uuid(a);
  const std::string uuid_b = HooksScene::uuid(b);

  abbr_reparent_abbrev(a, *s.other, s.library.hooks);
  EXPECT_EQ(listed_uuids(*s.group), std::vector<std::string>{uuid_b});
  EXPECT_EQ(listed_uuids(*s.other), std::vector<std::string>{uuid_a});

  // Into a folder that is no group: it leaves the old list and joins none.
  abbr_reparent_abbrev(a, *s.plain, s.library.hooks);
  EXPECT_TRUE(listed_uuids(*s.other).empty());
  EXPECT_FALSE(s.plain->te_general);

  s.hooks.abbrev_deleting(b);
  abbr_delete_abbrev_from_folder(b);
  EXPECT_TRUE(listed_uuids(*s.group).empty());
}

TEST(TeChangeHooks, AFolderChangeReachesItsGroupDictionaries) {
  HooksScene s;
  s.group->name = "Office";
  s.group->disabled = 1;
  s.group->menu_hotkey = "17 32";
  s.group->menu_hotkey_enabled = 1;
  s.hooks.folder_modified(*s.group);
  EXPECT_EQ(*te_string_of(*s.group->te_general, "name"), "Office");
  const KvValue* info = kvlist_lookup_value_type(*s.group->te_group_settings, "groupInfo", KV_DICT);
  ASSERT_TRUE(info);
  EXPECT_EQ(*te_string_of(*info->list(), "groupName"), "Office");
  EXPECT_EQ(kvlist_lookup_value(*s.group->te_folder_specific, "disabled")->type(), KV_TRUE);
  EXPECT_EQ(*te_string_of(*s.group->te_folder_specific, "acmHotkey"), "17 32");

  s.group->menu_hotkey.reset();
  s.group->disabled = 0;
  s.hooks.folder_modified(*s.group);
  EXPECT_FALSE(kvlist_get_from_key(*s.group->te_folder_specific, "acmHotkey"));
  EXPECT_FALSE(kvlist_get_from_key(*s.group->te_folder_specific, "acmHotkeyEnable"));
  EXPECT_EQ(kvlist_lookup_value(*s.group->te_folder_specific, "disabled")->type(), KV_FALSE);

  s.hooks.folder_modified(*s.plain);  // no dictionaries: none appear
  EXPECT_FALSE(s.plain->te_general || s.plain->te_group_settings || s.plain->te_folder_specific);
}

TEST(TeChangeHooks, FlatteningTellsTheHooksAboutEveryMovedFolder) {
  HooksScene s;
  Folder& inner = abbr_add_subfolder_to_folder(*s.group, abbr_new_subfolder_of(s.library.uids, s.group, "Letters"));
  te_build_kvlists(inner, false, HooksScene::options());
  Abbreviation& a = s.create(*s.group, "a");
  ASSERT_TRUE(te_reshape_list(s.library, SANDBOX));
  EXPECT_EQ(inner.parent, abbr_get_absolute_parent_folder(s.library.sandbox));
  EXPECT_EQ(*te_string_of(*inner.te_general, "name"), inner.name);
  EXPECT_EQ(listed_uuids(*s.group), std::vector<std::string>{HooksScene::uuid(a)});
}

TEST(TeChangeHooks, PreferencesChangeTheMainListOnlyWhenTheyDiffer) {
  Library library;
  Folder& main_top = abbr_ensure_absolute_parent(library.main_list, library.uids);
  Folder& sandbox_top = abbr_ensure_absolute_parent(library.sandbox, library.uids);
  TePreferences prefs;
  prefs.delimiters = " .,";
  // Without TextExpander's preferences there is nothing to keep current.
  EXPECT_FALSE(te_prefs_modified(library, prefs));
  EXPECT_FALSE(main_top.te_general);

  main_top.te_general.emplace();
  sandbox_top.te_general.emplace();
  EXPECT_TRUE(te_prefs_modified(library, prefs));
  EXPECT_EQ(*te_string_of(*sandbox_top.te_general, "Delimiters"), " .,");
  EXPECT_FALSE(te_prefs_modified(library, prefs));
  prefs.sound = true;
  EXPECT_TRUE(te_prefs_modified(library, prefs));
  EXPECT_EQ(kvlist_lookup_value(*main_top.te_general, "Auditory Feedback")->type(), KV_TRUE);
}

}  // namespace
}  // namespace tolvan
