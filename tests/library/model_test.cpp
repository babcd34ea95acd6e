// The library model: uids, copies, moves, lookups, strings, sorting, search,
// flattening and the main list / sandbox pair.
#include <gtest/gtest.h>

#include <thread>

#include "library/abbrev_strings.h"
#include "library/flattening.h"
#include "library/folder_tree.h"
#include "library/library.h"
#include "library/lookups.h"
#include "library/search.h"
#include "library/sorting.h"

namespace tolvan {
namespace {

Abbreviation& add_text(Folder& folder, std::string abbrev, std::string expansion,
                       std::string description = "") {
  auto a = abbr_create_new_abbrev(ABBR_TYPE_TEXT, &folder, {});
  a->abbreviations = {std::move(abbrev)};
  a->expansion() = std::move(expansion);
  a->description = std::move(description);
  return abbr_add_abbrev_to_folder(folder, std::move(a));
}

Folder& add_folder(UidCounter& uids, Folder& parent, std::string name) {
  return abbr_add_subfolder_to_folder(parent, abbr_new_subfolder_of(uids, &parent, name));
}

TEST(LibraryModel, UidsStartAtTheAbsoluteParentAndCopiesKeepThem) {
  Library lib;
  Folder& top = abbr_ensure_absolute_parent(lib.main_list, lib.uids);
  EXPECT_EQ(top.uid, 0u);
  EXPECT_EQ(top.name, "All Abbreviations / Folders");
  Folder& work = add_folder(lib.uids, top, "Work");
  Folder& letters = add_folder(lib.uids, work, "Letters");
  EXPECT_EQ(work.uid, 1u);
  EXPECT_EQ(letters.uid, 2u);

  abbr_create_sandbox(lib);
  Folder* copy = abbr_folder_from_uid(lib.sandbox, 2);
  ASSERT_NE(copy, nullptr);
  EXPECT_NE(copy, &letters);
  EXPECT_EQ(copy->name, "Letters");
  EXPECT_EQ(copy->parent->name, "Work");
  long index = 0;
  EXPECT_EQ(abbr_folder_from_uid(lib.sandbox, 99, &index), nullptr);
  EXPECT_EQ(index, -1);
}

TEST(LibraryModel, NewSubfolderTakesDefaultsAndTheParentsDisabledFlag) {
  UidCounter uids;
  auto top = abbr_create_absolute_parent_folder(uids);
  top->disabled = 1;
  auto sub = abbr_new_subfolder_of(uids, top.get());
  EXPECT_EQ(sub->name, "New Folder");
  EXPECT_EQ(sub->disabled, 1);
  EXPECT_EQ(sub->parent, nullptr);  // not linked yet
}

TEST(LibraryModel, NewAbbreviationsGetTypeDefaultsAndLaunchersNeverAdaptCase) {
  Folder folder;
  auto text = abbr_create_new_abbrev(ABBR_TYPE_TEXT, &folder, {CASE_ADAPT, TRIGGER_KEY});
  EXPECT_EQ(text->description, "New Abbreviation");
  EXPECT_EQ(text->case_mode, CASE_ADAPT);
  EXPECT_EQ(text->trigger_mode, TRIGGER_KEY);
  EXPECT_EQ(text->created, text->modified);
  auto prog = abbr_create_new_abbrev(ABBR_TYPE_PROGRAM, &folder, {CASE_ADAPT, TRIGGER_KEY});
  EXPECT_EQ(prog->description, "New Launcher");
  EXPECT_EQ(prog->case_mode, CASE_INSENSITIVE);
  auto web = abbr_create_new_abbrev(ABBR_TYPE_WEBSITE, &folder, {});
  EXPECT_EQ(web->description, "New Website Launcher");
  EXPECT_EQ(web->case_mode, CASE_INSENSITIVE);
  EXPECT_TRUE(folder.abbreviations.empty());  // the caller links them
}

TEST(LibraryModel, RepairPutsModesBackInRange) {
  Abbreviation a;
  a.case_mode = 7;
  a.trigger_mode = 1;
  abbr_repair_modes(a, {CASE_SENSITIVE, TRIGGER_WORD_ENDING});
  EXPECT_EQ(a.case_mode, CASE_SENSITIVE);
  EXPECT_EQ(a.trigger_mode, TRIGGER_WORD_ENDING);

  Abbreviation p;
  p.set_type(ABBR_TYPE_PROGRAM);
  p.case_mode = CASE_ADAPT;
  p.program().show_mode = 9;
  abbr_repair_modes(p, {});
  EXPECT_EQ(p.case_mode, CASE_INSENSITIVE);
  EXPECT_EQ(p.program().show_mode, 0);
}

TEST(LibraryModel, DuplicatingAFolderCopiesTheSubtreeIndependently) {
  UidCounter uids;
  auto top = abbr_create_absolute_parent_folder(uids);
  Folder& work = add_folder(uids, *top, "Work");
  work.disabled = 1;
  work.menu_hotkey = "17 65";
  work.menu_hotkey_enabled = 1;
  add_text(work, "btw", "by the way");
  add_text(work, "omw", "on my way");
  Folder& deep = add_folder(uids, work, "Deep");
  add_text(deep, "x", "y");

  auto copy = abbr_duplicate_folder(*top, nullptr);
  ASSERT_EQ(copy->subfolders.size(), 1u);
  Folder& work_copy = *copy->subfolders[0];
  EXPECT_EQ(work_copy.uid, work.uid);
  EXPECT_EQ(work_copy.disabled, 1);
  EXPECT_EQ(work_copy.menu_hotkey, "17 65");
  EXPECT_EQ(work_copy.parent, copy.get());
  ASSERT_EQ(work_copy.abbreviations.size(), 2u);
  // Copies go to the front: the copy holds the abbreviations in reverse order.
  EXPECT_EQ(work_copy.abbreviations[0]->abbreviations[0], work.abbreviations[1]->abbreviations[0]);
  EXPECT_EQ(work_copy.abbreviations[0]->folder, &work_copy);
  EXPECT_EQ(work_copy.subfolders[0]->abbreviations[0]->folder, work_copy.subfolders[0].get());

  copy.reset();
  EXPECT_EQ(work.abbreviations.size(), 2u);
  EXPECT_EQ(deep.abbreviations[0]->expansion(), "y");
}

TEST(LibraryModel, ALaunchersCopyOwnsItsOwnRecord) {
  Library lib;
  Folder& top = abbr_ensure_absolute_parent(lib.main_list, lib.uids);
  auto prog = abbr_create_new_abbrev(ABBR_TYPE_PROGRAM, &top, {});
  prog->program() = {"/bin/editor", "-n", "/tmp", 1, 0, nullptr};
  abbr_add_abbrev_to_folder(top, std::move(prog));
  auto site = abbr_create_new_abbrev(ABBR_TYPE_WEBSITE, &top, {});
  site->website() = {"https://example.org", "firefox"};
  abbr_add_abbrev_to_folder(top, std::move(site));

  abbr_create_sandbox(lib);
  // The sandbox holds them in the reverse order of the main list.
  Abbreviation& prog_copy = *lib.sandbox[0]->abbreviations[0];
  Abbreviation& site_copy = *lib.sandbox[0]->abbreviations[1];
  ASSERT_EQ(prog_copy.type(), ABBR_TYPE_PROGRAM);
  EXPECT_EQ(prog_copy.program().run_in, "/tmp");
  EXPECT_EQ(prog_copy.program().show_mode, 1);
  prog_copy.program().location = "/bin/other";
  ASSERT_EQ(site_copy.type(), ABBR_TYPE_WEBSITE);
  site_copy.website().browser.clear();
  EXPECT_EQ(lib.main_list[0]->abbreviations[1]->program().location, "/bin/editor");
  EXPECT_EQ(lib.main_list[0]->abbreviations[0]->website().browser, "firefox");

  // A record assigned over another, and a type change, leave the source as it was.
  *lib.main_list[0]->abbreviations[0] = site_copy;
  site_copy.set_type(ABBR_TYPE_TEXT);
  EXPECT_EQ(lib.main_list[0]->abbreviations[0]->website().address, "https://example.org");
  EXPECT_EQ(lib.main_list[0]->abbreviations[0]->website().browser, "");
  EXPECT_EQ(site_copy.expansion(), "");
}

struct RecordingHooks : ModelHooks {
  int reparentings = 0;
  std::vector<std::string> modified;
  void abbrev_reparenting(Abbreviation&, Folder&) override { ++reparentings; }
  void folder_modified(Folder& f) override { modified.push_back(f.name); }
};

TEST(LibraryModel, ReparentingAnAbbreviationTellsTheHooksOnlyWhenItMoves) {
  UidCounter uids;
  auto top = abbr_create_absolute_parent_folder(uids);
  Folder& a = add_folder(uids, *top, "A");
  Folder& b = add_folder(uids, *top, "B");
  add_text(b, "old", "x");
  Abbreviation& moving = add_text(a, "m", "x");
  RecordingHooks hooks;

  abbr_reparent_abbrev(moving, a, &hooks);
  EXPECT_EQ(hooks.reparentings, 0);
  EXPECT_EQ(a.abbreviations.size(), 1u);

  abbr_reparent_abbrev(moving, b, &hooks);
  EXPECT_EQ(hooks.reparentings, 1);
  EXPECT_TRUE(a.abbreviations.empty());
  ASSERT_EQ(b.abbreviations.size(), 2u);
  EXPECT_EQ(b.abbreviations.front().get(), &moving);
  EXPECT_EQ(moving.folder, &b);
}

TEST(LibraryModel, ReparentingAFolderRefusesItselfAndItsDescendants) {
  UidCounter uids;
  auto top = abbr_create_absolute_parent_folder(uids);
  Folder& a = add_folder(uids, *top, "A");
  Folder& child = add_folder(uids, a, "Child");
  abbr_reparent_folder(a, &child);
  abbr_reparent_folder(a, &a);
  abbr_reparent_folder(a, nullptr);
  EXPECT_EQ(a.parent, top.get());
  EXPECT_EQ(child.parent, &a);

  Folder& b = add_folder(uids, *top, "B");
  abbr_reparent_folder(child, &b);
  EXPECT_EQ(child.parent, &b);
  EXPECT_TRUE(a.subfolders.empty());
  EXPECT_EQ(b.subfolders.back().get(), &child);
}

TEST(LibraryModel, DeletingAndEnablingFolders) {
  Library lib;
  Folder& top = abbr_ensure_absolute_parent(lib.sandbox, lib.uids);
  Folder& a = add_folder(lib.uids, top, "A");
  Folder& b = add_folder(lib.uids, a, "B");
  abbr_set_folder_enabled(a, false, true);
  EXPECT_EQ(b.disabled, 1);
  abbr_set_folder_enabled(a, true, false);
  EXPECT_EQ(a.disabled, 0);
  EXPECT_EQ(b.disabled, 1);
  EXPECT_TRUE(abbr_delete_subfolder_from_parent(lib.sandbox, a));
  EXPECT_TRUE(top.subfolders.empty());
  EXPECT_TRUE(abbr_delete_subfolder_from_parent(lib.sandbox, top));
  EXPECT_TRUE(lib.sandbox.empty());
}

TEST(LibraryModel, CountsAndCollectionsCoverTheWholeTree) {
  UidCounter uids;
  FolderList list;
  list.push_back(abbr_create_absolute_parent_folder(uids));
  Folder& top = *list[0];
  add_text(top, "loose", "x");
  Folder& a = add_folder(uids, top, "A");
  add_text(a, "a1", "x");
  Folder& b = add_folder(uids, a, "B");
  add_text(b, "b1", "x");
  add_text(b, "b2", "x");
  b.menu_hotkey_id = 42;

  EXPECT_EQ(abbr_get_n_abbrevs_in_folder(top), 4u);
  auto all = abbr_get_all_folders_and_abbrevs_from_folder(a);
  EXPECT_EQ(all.folders, std::vector<Folder*>{&b});
  EXPECT_EQ(all.abbreviations.size(), 3u);
  auto whole = abbr_get_all_folders_and_abbrevs_from_folder_list(list);
  EXPECT_EQ(whole.folders.size(), 3u);
  EXPECT_EQ(whole.abbreviations.size(), 4u);
  EXPECT_EQ(abbr_get_folder_with_acm_hotkey_id(list, 42), &b);
  EXPECT_TRUE(abbr_nested_folders_exist_in_list(list));
}

TEST(LibraryStrings, JoinedAbbreviationsDoubleThePipe) {
  EXPECT_EQ(abbr_abbrev_lst_to_string({"a|b", "c"}), "a||b|c");
  EXPECT_EQ(abbr_abbrev_lst_to_string({}), "");
  EXPECT_EQ(abbr_get_lst_of_abbrevs_from_string("a||b|c"),
            (std::vector<std::string>{"a|b", "c"}));
  EXPECT_EQ(abbr_get_lst_of_abbrevs_from_string("a|||b"),
            (std::vector<std::string>{"a|", "b"}));
  EXPECT_EQ(abbr_get_lst_of_abbrevs_from_string("|x||"), (std::vector<std::string>{"x|"}));
  EXPECT_TRUE(abbr_get_lst_of_abbrevs_from_string("|").empty());
  // Every list without pipes at the edges of an alternative comes back as it was.
  std::vector<std::string> tricky = {"a||b", "é|ü", "plain", "x|y|z"};
  EXPECT_EQ(abbr_get_lst_of_abbrevs_from_string(abbr_abbrev_lst_to_string(tricky)), tricky);
}

TEST(LibraryStrings, FullFolderPathsStopAtTheTopAndTheStopFolder) {
  UidCounter uids;
  auto top = abbr_create_absolute_parent_folder(uids);
  Folder& work = add_folder(uids, *top, "Work");
  Folder& letters = add_folder(uids, work, "Letters");
  Folder& replies = add_folder(uids, letters, "Replies");
  EXPECT_EQ(abbr_get_full_folder_path_string(replies, nullptr, false), "Work\\Letters\\Replies");
  EXPECT_EQ(abbr_get_full_folder_path_string(replies, nullptr, true),
            "Work \\ Letters \\ Replies");
  EXPECT_EQ(abbr_get_full_folder_path_string(replies, &work, false), "Letters\\Replies");
  EXPECT_EQ(abbr_get_full_folder_path_string(*top, nullptr, true), "All Abbreviations / Folders");
  letters.name.clear();
  EXPECT_EQ(abbr_get_full_folder_path_string(replies, nullptr, false), "Replies");

  Abbreviation& a = add_text(replies, "x", "y");
  letters.name = "Letters";
  EXPECT_EQ(abbr_get_containing_folder_string(a, false, false), "Replies");
  EXPECT_EQ(abbr_get_containing_folder_string(a, true, true),
            "<span foreground=\"blue\">Work\\Letters\\Replies</span>");
}

TEST(LibraryStrings, DisplayAndPreviewByType) {
  Abbreviation text;
  text.expansion() = "first\r\nsecond";
  EXPECT_EQ(abbr_abbrev_exp_to_display_string(text), "first\r\nsecond");
  EXPECT_EQ(abbr_replacement_preview(text), "first...");
  Abbreviation prog;
  prog.set_type(ABBR_TYPE_PROGRAM);
  EXPECT_EQ(abbr_replacement_preview(prog), "");
  prog.program().location = "/usr/bin/xterm";
  EXPECT_EQ(abbr_abbrev_exp_to_display_string(prog), "/usr/bin/xterm");
  EXPECT_EQ(abbr_replacement_preview(prog), "Launch /usr/bin/xterm");
  Abbreviation web;
  web.set_type(ABBR_TYPE_WEBSITE);
  web.website().address = "https://example.org";
  EXPECT_EQ(abbr_abbrev_exp_to_display_string(web), "https://example.org");

  Abbreviation snippet;
  snippet.set_type(ABBR_TYPE_UNSUPPORTED);
  EXPECT_EQ(abbr_replacement_preview(snippet),
            "(This snippet type is not yet supported in Tolvan.)");
  snippet.te_general.emplace();
  kvlist_append(*snippet.te_general, "snippetType", KvValue::of_integer(3));
  EXPECT_EQ(abbr_abbrev_exp_to_display_string(snippet), "Shell script");
  EXPECT_EQ(abbr_replacement_preview(snippet),
            "(Shell script snippets are not yet supported in Tolvan.)");
  kvlist_append(*snippet.te_general, "richText", KvValue::of_data("e30="));
  EXPECT_EQ(abbr_abbrev_exp_to_display_string(snippet), "Formatted text / pictures");
}

TEST(LibrarySorting, StableByColumnWithMissingKeysLast) {
  Folder f;
  Abbreviation& b = add_text(f, "b", "2", "beta");
  Abbreviation& none1 = add_text(f, "n1", "3", "");
  Abbreviation& a = add_text(f, "a", "1", "Alpha");
  Abbreviation& none2 = add_text(f, "n2", "4", "");
  Abbreviation& a2 = add_text(f, "a2", "5", "alpha");
  std::vector<Abbreviation*> list = {&b, &none1, &a, &none2, &a2};

  abbr_sort_abbrev_lst(list, SORT_BY_DESCRIPTION, SORT_DESCENDING);
  EXPECT_EQ(list, (std::vector<Abbreviation*>{&b, &a, &a2, &none1, &none2}));
  abbr_sort_abbrev_lst(list, SORT_BY_DESCRIPTION, SORT_ASCENDING);
  EXPECT_EQ(list, (std::vector<Abbreviation*>{&a, &a2, &b, &none1, &none2}));

  a.created = {1, 1, 2020, 0, 0, 0};
  b.created = {12, 31, 2019, 0, 0, 0};
  std::vector<Abbreviation*> two = {&a, &b};
  abbr_sort_abbrev_lst(two, SORT_BY_CREATED, SORT_ASCENDING);
  EXPECT_EQ(two, (std::vector<Abbreviation*>{&b, &a}));
  abbr_sort_abbrev_lst(two, 3, SORT_DESCENDING);  // by expansion
  EXPECT_EQ(two, (std::vector<Abbreviation*>{&b, &a}));

  Folder x, y;
  x.name = "zeta";
  y.name = "Eta";
  std::vector<Folder*> folders = {&x, &y};
  abbr_sort_folder_lst(folders, 0, SORT_ASCENDING);
  EXPECT_EQ(folders, (std::vector<Folder*>{&y, &x}));
}

TEST(LibrarySearch, FlagsSelectFieldsScopeAndCase) {
  Library lib;
  Folder& top = abbr_ensure_absolute_parent(lib.sandbox, lib.uids);
  Folder& work = add_folder(lib.uids, top, "Work");
  Folder& deep = add_folder(lib.uids, work, "Deep");
  Abbreviation& btw = add_text(work, "btw", "By the Way", "Phrase");
  Abbreviation& sig = add_text(deep, "Sig", "Kind regards", "Signature ÄÖ");
  sig.case_mode = CASE_SENSITIVE;
  Abbreviation& prog =
      abbr_add_abbrev_to_folder(top, abbr_create_new_abbrev(ABBR_TYPE_PROGRAM, &top, {}));
  prog.description = "way launcher";

  using V = std::vector<Abbreviation*>;
  EXPECT_EQ(abbr_find_abbrevs_containing_string(lib.sandbox, nullptr, "way", nullptr,
                                                SEARCH_EXPANSION),
            V{&btw});  // a launcher has no expansion text
  EXPECT_EQ(abbr_find_abbrevs_containing_string(lib.sandbox, nullptr, "WAY", nullptr,
                                                SEARCH_EXPANSION | SEARCH_CASE_SENSITIVE),
            V{});
  EXPECT_EQ(abbr_find_abbrevs_containing_string(lib.sandbox, &work, "regards", nullptr,
                                                SEARCH_EXPANSION),
            V{});
  EXPECT_EQ(abbr_find_abbrevs_containing_string(lib.sandbox, &work, "regards", nullptr,
                                                SEARCH_EXPANSION | SEARCH_SUBFOLDERS),
            V{&sig});
  EXPECT_EQ(abbr_find_abbrevs_containing_string(lib.sandbox, nullptr, "signature äö", nullptr,
                                                SEARCH_DESCRIPTION | SEARCH_WHOLE_FIELD),
            V{&sig});
  EXPECT_EQ(abbr_find_abbrevs_containing_string(lib.sandbox, nullptr, "sig", nullptr,
                                                SEARCH_ABBREVIATION | SEARCH_ABBREV_OWN_CASE),
            V{});
  EXPECT_EQ(abbr_find_abbrevs_containing_string(lib.sandbox, nullptr, "BTW", nullptr,
                                                SEARCH_ABBREVIATION | SEARCH_ABBREV_OWN_CASE),
            V{&btw});
  EXPECT_EQ(abbr_find_abbrevs_containing_string(lib.sandbox, nullptr, "btw", &btw,
                                                SEARCH_ABBREVIATION),
            V{});
  auto both = abbr_find_abbrevs_containing_string(lib.sandbox, nullptr, "a", nullptr,
                                                  SEARCH_DESCRIPTION | SEARCH_EXPANSION);
  EXPECT_EQ(both.size(), 3u);  // each listed once, although two fields match
  EXPECT_EQ(abbr_find_abbrevs_containing_string(lib.sandbox, nullptr, "a", nullptr,
                                                SEARCH_DESCRIPTION | SEARCH_FIRST_ONLY)
                .size(),
            1u);
}

// Case is folded with Unicode rules whether a field is plain ASCII or not, and whichever of
// the two the searched text is: a folded "ß" is "ss", the Kelvin sign is a "k".
TEST(LibrarySearch, CaseFoldingMatchesAcrossAsciiAndOtherText) {
  Library lib;
  Folder& top = abbr_ensure_absolute_parent(lib.sandbox, lib.uids);
  Abbreviation& street = add_text(top, "str", "", "Große Straße");
  Abbreviation& plain = add_text(top, "pl", "", "Grosse Strasse");
  Abbreviation& greek = add_text(top, "gr", "", "ΣΟΦΙΑ kelvin");
  Abbreviation& mixed = add_text(top, "mx", "", "CAFÉ au lait");
  using V = std::vector<Abbreviation*>;
  auto find = [&](std::string_view text, unsigned flags = 0) {
    return abbr_find_abbrevs_containing_string(lib.sandbox, nullptr, text, nullptr,
                                               SEARCH_DESCRIPTION | flags);
  };

  EXPECT_EQ(find("STRASSE"), (V{&street, &plain}));
  EXPECT_EQ(find("straße"), (V{&street, &plain}));
  EXPECT_EQ(find("ß", SEARCH_CASE_SENSITIVE), V{&street});
  EXPECT_EQ(find("σοφια"), V{&greek});
  EXPECT_EQ(find("\xE2\x84\xAA" "ELVIN"), V{&greek});  // the Kelvin sign folds to "k"
  EXPECT_EQ(find("café AU"), V{&mixed});
  EXPECT_EQ(find("Au Lait"), V{&mixed});
  EXPECT_EQ(find("au laitx"), V{});
  EXPECT_EQ(find("grosse strasse", SEARCH_WHOLE_FIELD), (V{&street, &plain}));
  EXPECT_EQ(find("grosse strass", SEARCH_WHOLE_FIELD), V{});
  EXPECT_EQ(find("GROSSE", SEARCH_CASE_SENSITIVE), V{});
  EXPECT_EQ(find(""), (V{&street, &plain, &greek, &mixed}));
}

TEST(LibraryFlattening, ThreeLevelsBecomeOneWithPathNames) {
  Library lib;
  Folder& top = abbr_ensure_absolute_parent(lib.main_list, lib.uids);
  Folder& work = add_folder(lib.uids, top, "Work");
  Folder& letters = add_folder(lib.uids, work, "Letters");
  Folder& replies = add_folder(lib.uids, letters, "Replies");
  add_folder(lib.uids, top, "Home");
  Abbreviation& deep = add_text(replies, "r", "reply");
  RecordingHooks hooks;
  lib.hooks = &hooks;

  abbr_denestify_folders_in_list(lib, MAIN_LIST);
  std::vector<std::string> names;
  for (const auto& f : top.subfolders) {
    names.push_back(f->name);
    EXPECT_TRUE(f->subfolders.empty());
  }
  EXPECT_EQ(names, (std::vector<std::string>{"Work", "Home", "Work \\ Letters",
                                             "Work \\ Letters \\ Replies"}));
  EXPECT_EQ(hooks.modified, (std::vector<std::string>{"Work \\ Letters",
                                                      "Work \\ Letters \\ Replies"}));
  EXPECT_EQ(deep.folder, &replies);
  EXPECT_EQ(replies.parent, &top);
  EXPECT_FALSE(abbr_nested_folders_exist_in_list(lib.main_list));
}

struct CountingListener : LibraryListener {
  int freeing = 0, changed = 0;
  bool lock_free_when_changed = false;
  std::recursive_mutex* lock = nullptr;
  void main_list_freeing() override { ++freeing; }
  void main_list_changed() override {
    ++changed;
    // Another thread must be able to take the lock by now.
    std::thread probe([&] {
      lock_free_when_changed = lock->try_lock();
      if (lock_free_when_changed) lock->unlock();
    });
    probe.join();
  }
};

TEST(LibraryLists, FlushReplacesTheMainListAndTellsListenersAfterTheLock) {
  Library lib;
  Folder& top = abbr_ensure_absolute_parent(lib.main_list, lib.uids);
  add_text(top, "a", "x");
  abbr_create_sandbox(lib);
  Folder& sandbox_top = *lib.sandbox[0];
  add_text(sandbox_top, "b", "y");

  CountingListener listener;
  listener.lock = &lib.main_list_lock;
  lib.add_listener(&listener);
  {
    auto held = lib.lock_main_list();
    auto again = lib.lock_main_list();  // the holding thread may take it again
    abbr_flush_sandbox_to_main(lib);
  }
  EXPECT_EQ(listener.changed, 1);
  EXPECT_EQ(listener.freeing, 1);
  EXPECT_EQ(lib.main_list[0]->abbreviations.size(), 2u);
  EXPECT_NE(lib.main_list[0].get(), &sandbox_top);

  abbr_flush_sandbox_to_main(lib);
  EXPECT_TRUE(listener.lock_free_when_changed);

  lib.remove_listener(&listener);
  abbr_free_all_folder_lists(lib);
  EXPECT_EQ(listener.freeing, 2);
  EXPECT_TRUE(lib.main_list.empty());
  EXPECT_TRUE(lib.sandbox.empty());
}

}  // namespace
}  // namespace tolvan
