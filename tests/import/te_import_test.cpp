// TextExpander import and export on small files written here: the kinds of file, the
// verification messages, what each snippet becomes, uuids, the report, and what real
// files hold beyond the letter of the format (joined abbreviations, dates as strings,
// shared uuids, ungrouped snippets, later snippet kinds, unknown keys).
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <future>
#include <set>
#include <string>
#include <vector>

#include "import/te_export.h"
#include "import/te_import.h"
#include "import/te_import_library.h"
#include "library/abbrev_strings.h"
#include "library/folder_tree.h"
#include "textexpander/plist_reader.h"
#include "textexpander/plist_values.h"
#include "textexpander/te_uuid.h"

namespace tolvan {
namespace {

const AbbrTime kNow{1, 2, 2003, 4, 5, 6};
constexpr const char* kHeader =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST "
    "1.0//EN\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n<plist version=\"1.0\">\n";

std::string document(const std::string& body) { return kHeader + ("<dict>" + body + "</dict></plist>\n"); }

std::string snippet(const std::string& uuid, const std::string& abbreviation,
                    const std::string& text, const std::string& extra = "") {
  return "<dict><key>abbreviation</key><string>" + abbreviation +
         "</string><key>abbreviationMode</key><integer>1</integer>"
         "<key>creationDate</key><date>2011-02-17T16:31:36Z</date>"
         "<key>label</key><string></string>"
         "<key>modificationDate</key><date>2012-03-04T05:06:07Z</date>"
         "<key>plainText</key><string>" + text + "</string>"
         "<key>snippetType</key><integer>0</integer><key>uuidString</key><string>" + uuid +
         "</string>" + extra + "</dict>";
}

std::string group(const std::string& uuid, const std::string& name,
                  const std::vector<std::string>& members, const std::string& extra = "") {
  std::string list;
  for (const std::string& m : members) list += "<string>" + m + "</string>";
  return "<dict><key>expandAfterMode</key><integer>0</integer><key>name</key><string>" + name +
         "</string><key>snippetUUIDs</key><array>" + list + "</array><key>uuidString</key><string>" +
         uuid + "</string>" + extra + "</dict>";
}

std::string settings_file(const std::string& groups, const std::string& snippets,
                          const std::string& extra = "") {
  return document("<key>Snippets Imported</key><date>2010-01-01T00:00:00Z</date>" + extra +
                  "<key>groupsTE2</key><array>" + groups + "</array><key>snippetsTE2</key><array>" +
                  snippets + "</array>");
}

std::string group_file(const std::string& group_info, const std::string& snippets) {
  return document(group_info + "<key>snippetsTE2</key><array>" + snippets + "</array>");
}

const std::string kU1 = "11111111-1111-4111-8111-111111111111";
const std::string kU2 = "22222222-2222-4222-8222-222222222222";
const std::string kG1 = "AAAAAAAA-AAAA-4AAA-8AAA-AAAAAAAAAAAA";
const std::string kG2 = "BBBBBBBB-BBBB-4BBB-8BBB-BBBBBBBBBBBB";

TeImportOptions options(TeUuidsInUse existing = {}) {
  TeImportOptions o;
  o.now = kNow;
  o.file_name = "Work";
  o.existing = std::move(existing);
  return o;
}

Result<TeImport> import_text(const std::string& text, TeUuidsInUse existing = {}) {
  return te_import_snippet_file_data(text, options(std::move(existing)));
}

std::string uuid_of(const Abbreviation& a) {
  return *kvlist_lookup_value(*a.te_general, "uuidString")->string();
}

TEST(TeImport, ASettingsFileBecomesFoldersOfAbbreviations) {
  std::vector<TeImportStage> stages;
  TeImportOptions o = options();
  o.progress = [&](TeImportStage s) { stages.push_back(s); };
  auto imported = te_import_snippet_file_data(
      settings_file(group(kG1, "Mail", {kU2, kU1}, "<key>writable</key><integer>1</integer>"),
                    snippet(kU1, "sig", "Kind regards,\r\nAnn %d") + snippet(kU2, "addr", "Main St"),
                    "<key>Delimiters</key><string> .,</string><key>Expander Mode</key><integer>1</integer>"),
      o);
  ASSERT_TRUE(imported.ok()) << imported.error();
  EXPECT_EQ(stages, (std::vector<TeImportStage>{TeImportStage::Loading, TeImportStage::Verifying,
                                                TeImportStage::Importing, TeImportStage::Done}));
  EXPECT_FALSE(imported->group_file);
  ASSERT_EQ(imported->folders.size(), 1u);
  const Folder& mail = *imported->folders[0];
  EXPECT_EQ(mail.name, "Mail");
  EXPECT_EQ(mail.te_group, 1);
  ASSERT_EQ(mail.abbreviations.size(), 2u);
  // In the group's order; text kept with its codes, line ends made LF.
  const Abbreviation& addr = *mail.abbreviations[0];
  const Abbreviation& sig = *mail.abbreviations[1];
  EXPECT_EQ(addr.abbreviations, std::vector<std::string>{"addr"});
  EXPECT_EQ(sig.expansion(), "Kind regards,\nAnn %d");
  EXPECT_EQ(sig.description, "Kind regards,");
  EXPECT_EQ(sig.case_mode, CASE_INSENSITIVE);
  EXPECT_EQ(sig.trigger_mode, TRIGGER_IMMEDIATELY);
  EXPECT_EQ(sig.created, (AbbrTime{2, 17, 2011, 16, 31, 36}));
  EXPECT_EQ(sig.modified, (AbbrTime{3, 4, 2012, 5, 6, 7}));
  EXPECT_EQ(uuid_of(sig), kU1);
  EXPECT_EQ(*kvlist_lookup_value(*sig.te_abbrev_specific, "uuidString")->string(), kU1);
  // The settings dictionary keeps everything but the groups and snippets.
  ASSERT_TRUE(imported->settings);
  EXPECT_TRUE(kvlist_get_from_key(*imported->settings, "Delimiters"));
  EXPECT_FALSE(kvlist_get_from_key(*imported->settings, "groupsTE2"));
  EXPECT_FALSE(kvlist_get_from_key(*imported->settings, "snippetsTE2"));
}

TEST(TeImport, RunsOnWorkerThreadsAndHandsBackValues) {
  const std::string file = settings_file(group(kG1, "A", {kU1, kU2}),
                                         snippet(kU1, "a", "x") + snippet(kU2, "b", "y"));
  std::atomic<int> stages{0};
  auto work = [&] {
    TeImportOptions o = options();
    o.progress = [&](TeImportStage) { ++stages; };
    return te_import_snippet_file_data(file, o);
  };
  auto one = std::async(std::launch::async, work);
  auto two = std::async(std::launch::async, work);
  Result<TeImport> a = one.get(), b = two.get();
  ASSERT_TRUE(a.ok() && b.ok());
  EXPECT_EQ(stages, 8);
  EXPECT_STREQ(te_import_stage_text(TeImportStage::Loading), "Loading TextExpander Data...");
  EXPECT_STREQ(te_import_stage_text(TeImportStage::Verifying), "Verifying TextExpander Data...");
  EXPECT_STREQ(te_import_stage_text(TeImportStage::Done), "Importing TextExpander Snippets...");
  EXPECT_EQ(a->abbreviation_count(), 2u);
  EXPECT_EQ(b->abbreviation_count(), 2u);
  // The library is touched only when the result joins it, on the library's thread.
  Library library;
  te_add_import_to_library(library, SANDBOX, std::move(*a), ImportMode::Append);
  te_add_import_to_library(library, SANDBOX, std::move(*b), ImportMode::Append);
  EXPECT_EQ(library.sandbox.front()->subfolders.size(), 2u);
}

TEST(TeImport, TheReportCountsSnippetsAndGroups) {
  Library library;
  auto one = import_text(settings_file(group(kG1, "A", {kU1}), snippet(kU1, "a", "x")));
  ASSERT_TRUE(one.ok()) << one.error();
  EXPECT_EQ(te_import_report(te_add_import_to_library(library, SANDBOX, std::move(*one),
                                                      ImportMode::Replace)),
            "Successfully imported 1 snippet from 1 group.");
  auto none = import_text(settings_file(group(kG1, "A", {}) + group(kG2, "B", {}), ""));
  ASSERT_TRUE(none.ok()) << none.error();
  EXPECT_EQ(te_import_report(te_add_import_to_library(library, SANDBOX, std::move(*none),
                                                      ImportMode::Append)),
            "Imported 0 snippets from 2 groups.");
  EXPECT_EQ(te_import_report({}), kTeNoSnippetsMessage);
}

TEST(TeImport, GroupFilesTakeTheirNameFromGroupInfoOrTheFile) {
  auto named = import_text(group_file(
      "<key>groupInfo</key><dict><key>expandAfterMode</key><integer>2</integer>"
      "<key>groupName</key><string>Dates</string><key>notes</key><string>mine</string></dict>",
      snippet(kU1, "dd", "%d")));
  ASSERT_TRUE(named.ok()) << named.error();
  EXPECT_TRUE(named->group_file);
  EXPECT_EQ(named->folders[0]->name, "Dates");
  EXPECT_EQ(named->folders[0]->abbreviations[0]->anywhere, 1);
  EXPECT_EQ(named->folders[0]->abbreviations[0]->expansion(), "%d");

  auto unnamed = import_text(group_file("", snippet(kU1, "dd", "%d")));
  ASSERT_TRUE(unnamed.ok());
  EXPECT_EQ(unnamed->folders[0]->name, "Work");
  // Without "Snippets Imported" a settings file is read as a group file.
  auto no_marker = import_text(document("<key>groupsTE2</key><array/><key>snippetsTE2</key><array>" +
                                        snippet(kU1, "a", "b") + "</array>"));
  ASSERT_TRUE(no_marker.ok());
  EXPECT_TRUE(no_marker->group_file);

  auto no_name = import_text(group_file("<key>groupInfo</key><dict/>", ""));
  ASSERT_FALSE(no_name.ok());
  EXPECT_EQ(no_name.error(), "No snippet groups found.");
  auto no_snippets = import_text(document("<key>groupInfo</key><dict><key>groupName</key><string>x</string></dict>"));
  ASSERT_FALSE(no_snippets.ok());
  EXPECT_EQ(no_snippets.error(), "No snippets found.");
}

TEST(TeImport, WrongValueTypesFailWithTheVerificationMessages) {
  auto bad_member = import_text(settings_file(
      "<dict><key>snippetUUIDs</key><array><integer>3</integer></array></dict>", ""));
  ASSERT_FALSE(bad_member.ok());
  EXPECT_EQ(bad_member.error(), "Expected data type of 4 in list of snippetUUIDs in 1, instead got 7.");
  auto bad_mode = import_text(group_file("", "<dict><key>abbreviationMode</key><string>1</string></dict>"));
  ASSERT_FALSE(bad_mode.ok());
  EXPECT_EQ(bad_mode.error(),
            "Expected data type of 7 for key 'abbreviationMode' in block type 2, instead got 4.");
  auto bad_flag = import_text(settings_file("", "",
      "<key>Tolvan</key><dict><key>tolvanSpecificFolder</key><array><dict><key>disabled</key>"
      "<integer>1</integer></dict></array></dict>"));
  ASSERT_FALSE(bad_flag.ok());
  EXPECT_EQ(bad_flag.error(), "Expected data type of 11 for key 'disabled' in block type 8, instead got 7.");
  // A date that is no date, written as a string, is still a type error.
  auto bad_date = import_text(group_file("", "<dict><key>creationDate</key><string>soon</string></dict>"));
  ASSERT_FALSE(bad_date.ok());
  EXPECT_EQ(bad_date.error(),
            "Expected data type of 6 for key 'creationDate' in block type 2, instead got 4.");
}

TEST(TeImport, SnippetKindsBeyondPlainTextAreKeptUnsupportedWithTheirLabel) {
  auto imported = import_text(group_file("",
      snippet(kU1, "img", "pic\xEF\xBF\xBC", "<key>cachedPNGImage</key><data>AAAA</data>") +
      "<dict><key>abbreviation</key><string>js</string><key>snippetType</key><integer>4</integer>"
      "<key>plainText</key><string>TextExpander.foo()</string></dict>"
      "<dict><key>abbreviation</key><string>h</string><key>snippetType</key><integer>5</integer>"
      "<key>htmlText</key><string>&lt;b&gt;x&lt;/b&gt;</string><key>plainText</key><string>x</string></dict>"));
  ASSERT_TRUE(imported.ok()) << imported.error();
  const auto& abbrevs = imported->folders[0]->abbreviations;
  ASSERT_EQ(abbrevs.size(), 3u);
  for (const auto& a : abbrevs) EXPECT_EQ(a->type(), ABBR_TYPE_UNSUPPORTED);
  EXPECT_EQ(abbrevs[0]->description, "pic");
  EXPECT_EQ(abbr_te_snippet_kind(*abbrevs[0]), "Formatted text / pictures");
  EXPECT_EQ(abbr_te_snippet_kind(*abbrevs[1]), "JavaScript");
  EXPECT_EQ(abbr_te_snippet_kind(*abbrevs[2]), "Formatted text (HTML)");
  EXPECT_TRUE(kvlist_get_from_key(*abbrevs[2]->te_general, "htmlText"));
}

TEST(TeImport, RealFilesComeOverWhole) {
  auto imported = import_text(settings_file(
      group(kG1, "A", {kU1}),
      // "|" inside TextExpander's abbreviation; a date written as a string; two snippets
      // sharing one uuid; a snippet no group lists.
      "<dict><key>abbreviation</key><string>a|b</string><key>creationDate</key>"
      "<string>2014-05-01T21:06:33Z</string><key>plainText</key><string>one</string>"
      "<key>uuidString</key><string>" + kU1 + "</string></dict>" +
      snippet(kU1, "dup", "two") + snippet(kU2, "loose", "three")));
  ASSERT_TRUE(imported.ok()) << imported.error();
  const auto& in_group = imported->folders[0]->abbreviations;
  ASSERT_EQ(in_group.size(), 2u);
  EXPECT_EQ(in_group[0]->abbreviations, std::vector<std::string>{"a|b"});
  EXPECT_EQ(in_group[0]->created, (AbbrTime{5, 1, 2014, 21, 6, 33}));
  EXPECT_EQ(uuid_of(*in_group[0]), kU1);
  EXPECT_NE(uuid_of(*in_group[1]), kU1);
  EXPECT_TRUE(te_uuid_is_well_formed(uuid_of(*in_group[1])));
  ASSERT_EQ(imported->loose.size(), 1u);
  EXPECT_EQ(imported->loose[0]->expansion(), "three");
}

TEST(TeImport, ImportingTwiceGivesFreshUuidsTheSecondTime) {
  const std::string file = settings_file(group(kG1, "A", {kU1, kU2}),
                                         snippet(kU1, "a", "x") + snippet(kU2, "b", "y"));
  Library library;
  auto first = import_text(file);
  ASSERT_TRUE(first.ok());
  te_add_import_to_library(library, SANDBOX, std::move(*first), ImportMode::Append);
  auto second = import_text(file, te_get_all_existing_uuids(library.sandbox));
  ASSERT_TRUE(second.ok());
  te_add_import_to_library(library, SANDBOX, std::move(*second), ImportMode::Append);
  const Folder& root = *library.sandbox.front();
  ASSERT_EQ(root.subfolders.size(), 2u);
  EXPECT_EQ(root.subfolders[0]->name, root.subfolders[1]->name);
  TeUuidsInUse all = te_get_all_existing_uuids(library.sandbox);
  EXPECT_EQ(all.groups.size(), 2u);
  EXPECT_EQ(all.snippets.size(), 4u);
  EXPECT_NE(root.subfolders[0]->uid, root.subfolders[1]->uid);
}

// Export, then import again.
Result<TeImport> round_trip(const std::string& text, bool group_file_wanted) {
  auto imported = import_text(text);
  EXPECT_TRUE(imported.ok()) << imported.error();
  Library library;
  te_add_import_to_library(library, MAIN_LIST, std::move(*imported), ImportMode::Replace);
  TeExportOptions o;
  o.now = kNow;
  Folder* root = library.main_list.front().get();
  Result<std::string> out = group_file_wanted
                                ? te_group_file_text(root->subfolders.front().get(), o)
                                : te_settings_file_text(root, TePreferences{}, o);
  EXPECT_TRUE(out.ok());
  return import_text(*out);
}

TEST(TeExport, AGroupFileKeepsItsGroupInfoAndUnknownKeys) {
  auto again = round_trip(
      group_file("<key>groupInfo</key><dict><key>expandAfterMode</key><integer>2</integer>"
                 "<key>groupName</key><string>Dates</string><key>notes</key><string>mine</string>"
                 "</dict><key>version</key><integer>3</integer>",
                 snippet(kU1, "dd", "%d", "<key>lastUsed</key><date>2013-01-01T00:00:00Z</date>")),
      true);
  ASSERT_TRUE(again.ok()) << again.error();
  const KvList& settings = *again->folders[0]->te_group_settings;
  const KvList& info = *kvlist_lookup_value(settings, "groupInfo")->list();
  EXPECT_EQ(*kvlist_lookup_value(info, "notes")->string(), "mine");
  EXPECT_EQ(kvlist_lookup_value(info, "expandAfterMode")->integer(), 2);
  EXPECT_EQ(kvlist_lookup_value(settings, "version")->integer(), 3);
  EXPECT_TRUE(kvlist_get_from_key(*again->folders[0]->abbreviations[0]->te_general, "lastUsed"));
}

TEST(TeExport, ASettingsFileKeepsUngroupedSnippetsAndUnknownKeys) {
  auto again = round_trip(settings_file(group(kG1, "A", {kU1}, "<key>colour</key><string>red</string>"),
                                        snippet(kU1, "a|b", "x") + snippet(kU2, "loose", "y"),
                                        "<key>Statistics</key><dict><key>n</key><real>1.5</real></dict>"),
                          false);
  ASSERT_TRUE(again.ok()) << again.error();
  EXPECT_EQ(*kvlist_lookup_value(*again->folders[0]->te_general, "colour")->string(), "red");
  EXPECT_EQ(again->folders[0]->abbreviations[0]->abbreviations, std::vector<std::string>{"a|b"});
  ASSERT_EQ(again->loose.size(), 1u);
  EXPECT_EQ(again->loose[0]->expansion(), "y");
  EXPECT_TRUE(kvlist_get_from_key(*again->settings, "Statistics"));
}

TEST(TeExport, TolvansOwnAbbreviationsAndLaunchersComeBack) {
  Library library;
  Folder& root = abbr_ensure_absolute_parent(library.main_list, library.uids);
  Folder& work = abbr_add_subfolder_to_folder(root, abbr_new_subfolder_of(library.uids, &root, "Work"));
  work.disabled = 1;
  work.menu_hotkey = "17 65";
  work.menu_hotkey_enabled = 1;
  auto text = abbr_create_new_abbrev(ABBR_TYPE_TEXT, &work, {});
  text->abbreviations = {"sig", "s|x"};
  text->expansion() = "Regards %(Day)";
  text->trigger_mode = TRIGGER_KEY;
  abbr_add_abbrev_to_folder(work, std::move(text));
  auto program = abbr_create_new_abbrev(ABBR_TYPE_PROGRAM, &work, {});
  program->abbreviations = {"term"};
  program->program().location = "/usr/bin/xterm";
  program->program().show_mode = 2;
  abbr_add_abbrev_to_folder(work, std::move(program));
  auto site = abbr_create_new_abbrev(ABBR_TYPE_WEBSITE, &work, {});
  site->website().address = "https://example.org";
  abbr_add_abbrev_to_folder(work, std::move(site));
  auto in_root = abbr_create_new_abbrev(ABBR_TYPE_PROGRAM, &root, {});
  in_root->program().location = "/bin/true";
  abbr_add_abbrev_to_folder(root, std::move(in_root));

  TeExportOptions o;
  o.now = kNow;
  o.to_te_macros = [](std::string_view s) { return "TE:" + std::string(s); };
  Result<std::string> out = te_settings_file_text(&root, TePreferences{CASE_SENSITIVE, TRIGGER_WORD_ENDING, " .", true}, o);
  ASSERT_TRUE(out.ok());
  EXPECT_FALSE(work.te_general) << "the export works on a copy";
  EXPECT_EQ(out->find("/bin/true"), std::string::npos) << "a launcher in the root is not written";

  auto again = import_text(*out);
  ASSERT_TRUE(again.ok()) << again.error();
  ASSERT_EQ(again->folders.size(), 1u);
  const Folder& back = *again->folders[0];
  EXPECT_EQ(back.name, "Work");
  EXPECT_EQ(back.disabled, 1);
  EXPECT_EQ(back.menu_hotkey, "17 65");
  EXPECT_EQ(back.menu_hotkey_enabled, 1);
  ASSERT_EQ(back.abbreviations.size(), 3u);
  std::set<int> types;
  for (const auto& a : back.abbreviations) {
    types.insert(a->type());
    if (a->type() == ABBR_TYPE_TEXT) {
      EXPECT_EQ(a->abbreviations, (std::vector<std::string>{"sig", "s|x"}));
      EXPECT_EQ(a->expansion(), "TE:Regards %(Day)");
      EXPECT_EQ(a->trigger_mode, TRIGGER_KEY);
    }
    if (a->type() == ABBR_TYPE_PROGRAM) {
      EXPECT_EQ(a->program().location, "/usr/bin/xterm");
      EXPECT_EQ(a->program().show_mode, 2);
    }
    if (a->type() == ABBR_TYPE_WEBSITE) {
      EXPECT_EQ(a->website().address, "https://example.org");
    }
  }
  EXPECT_EQ(types, (std::set<int>{ABBR_TYPE_TEXT, ABBR_TYPE_PROGRAM, ABBR_TYPE_WEBSITE}));
  const KvList& prefs = *again->settings;
  EXPECT_EQ(kvlist_lookup_value(prefs, "Expander Mode")->integer(), 1);
  EXPECT_EQ(kvlist_lookup_value(prefs, "Default Abbreviation Mode")->integer(), 0);
  EXPECT_EQ(*kvlist_lookup_value(prefs, "Delimiters")->string(), " .");
  EXPECT_EQ(kvlist_lookup_value(prefs, "Auditory Feedback")->type(), KV_TRUE);
  ASSERT_TRUE(kvlist_lookup_value(prefs, "Snippets Imported")->date());
  EXPECT_EQ(*kvlist_lookup_value(prefs, "Snippets Imported")->date(), kNow);

  Settings taken;
  te_take_over_preferences(taken, prefs);
  EXPECT_EQ(taken.get_int("default_trigger_mode"), TRIGGER_WORD_ENDING);
  EXPECT_EQ(taken.get_int("default_case_mode"), CASE_SENSITIVE);
  EXPECT_EQ(taken.get("delim_chars"), " .");
  EXPECT_EQ(taken.get_int("play_sound"), 1);
}

// Every uuid in `text` replaced by "UUID-n", numbered in the order of first appearance, so
// that a document holding freshly made uuids can be compared as a whole.
std::string with_numbered_uuids(const std::string& text) {
  std::vector<std::string> seen;
  std::string out;
  for (size_t i = 0; i < text.size();) {
    if (i + 36 <= text.size() && te_uuid_is_well_formed(std::string_view(text).substr(i, 36))) {
      const std::string uuid = text.substr(i, 36);
      auto at = std::find(seen.begin(), seen.end(), uuid);
      if (at == seen.end()) at = seen.insert(seen.end(), uuid);
      out += "UUID-" + std::to_string(at - seen.begin() + 1);
      i += 36;
    } else {
      out += text[i++];
    }
  }
  return out;
}

// An imported group with escapes, line ends and keys Tolvan does not know, a loose snippet,
// and Tolvan's own folders, abbreviations and launchers that have no dictionaries yet.
void fill_pinned_library(Library& library) {
  auto imported = import_text(settings_file(
      group(kG1, "Mail &amp; &lt;Co&gt;", {kU2, kU1}, "<key>colour</key><string>red</string>"),
      snippet(kU1, "sig", "Kind regards,\r\nAnn &amp; \xC3\xA9 &lt;b&gt; \"q\" 'a' %d",
              "<key>blob</key><data>AAEC</data><key>ratio</key><real>1.5</real>") +
          snippet(kU2, "addr", "Main St") + snippet(kG2, "loose", "y"),
      "<key>Statistics</key><dict><key>n</key><integer>-3</integer><key>on</key><true/>"
      "<key>list</key><array><string>a</string><integer>2</integer></array>"
      "<key>none</key><array/></dict>"));
  ASSERT_TRUE(imported.ok()) << imported.error();
  te_add_import_to_library(library, MAIN_LIST, std::move(*imported), ImportMode::Replace);
  Folder& root = *library.main_list.front();
  Folder& mail = *root.subfolders.front();
  auto add = [](Folder& folder, AbbrType type, const std::string& abbreviation) -> Abbreviation& {
    auto a = abbr_create_new_abbrev(type, &folder, {});
    a->abbreviations = {abbreviation};
    a->description = "about " + abbreviation;
    a->created = AbbrTime{5, 6, 2007, 8, 9, 10};
    a->modified = AbbrTime{11, 12, 2013, 14, 15, 16};
    return abbr_add_abbrev_to_folder(folder, std::move(a));
  };
  Folder& sub = abbr_add_subfolder_to_folder(mail, abbr_new_subfolder_of(library.uids, &mail, "Sub"));
  add(sub, ABBR_TYPE_TEXT, "own").expansion() = "line\none & <two>";
  Abbreviation& program = add(sub, ABBR_TYPE_PROGRAM, "term");
  program.program().location = "/usr/bin/xterm";
  program.program().show_mode = 2;
  add(sub, ABBR_TYPE_WEBSITE, "web").website().address = "https://example.org/?a=1&b=2";
  Folder& work = abbr_add_subfolder_to_folder(root, abbr_new_subfolder_of(library.uids, &root, "Work"));
  work.disabled = 1;
  work.menu_hotkey = "17 65";
  work.menu_hotkey_enabled = 1;
  add(work, ABBR_TYPE_TEXT, "w1").case_mode = CASE_SENSITIVE;
  add(work, ABBR_TYPE_TEXT, "w2").trigger_mode = TRIGGER_KEY;
  add(root, ABBR_TYPE_PROGRAM, "rooted").program().location = "/bin/true";
}

// What the library below writes, uuids numbered; a change here changes what TextExpander and
// other computers read.
const std::string kPinnedSettingsFile =
    R"plist(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple Computer//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0">
<dict>
	<key>Snippets Imported</key>
	<date>2010-01-01T00:00:00Z</date>
	<key>Statistics</key>
	<dict>
		<key>n</key>
		<integer>-3</integer>
		<key>on</key>
		<true/>
		<key>list</key>
		<array>
			<string>a</string>
			<integer>2</integer>
		</array>
		<key>none</key>
		<array/>
	</dict>
	<key>Expander Mode</key>
	<integer>1</integer>
	<key>Delimiters</key>
	<string> .</string>
	<key>Default Abbreviation Mode</key>
	<integer>0</integer>
	<key>Auditory Feedback</key>
	<true/>
	<key>groupsTE2</key>
	<array>
		<dict>
			<key>expandAfterMode</key>
			<integer>0</integer>
			<key>name</key>
			<string>Mail &amp; &lt;Co&gt;</string>
			<key>snippetUUIDs</key>
			<array>
				<string>UUID-1</string>
				<string>UUID-2</string>
			</array>
			<key>uuidString</key>
			<string>UUID-3</string>
			<key>colour</key>
			<string>red</string>
			<key>writable</key>
			<integer>1</integer>
		</dict>
		<dict>
			<key>uuidString</key>
			<string>UUID-4</string>
			<key>name</key>
			<string>Work</string>
			<key>snippetUUIDs</key>
			<array>
				<string>UUID-5</string>
				<string>UUID-6</string>
			</array>
			<key>writable</key>
			<integer>1</integer>
		</dict>
		<dict>
			<key>uuidString</key>
			<string>UUID-7</string>
			<key>name</key>
			<string>Mail &amp; &lt;Co&gt; \ Sub</string>
			<key>snippetUUIDs</key>
			<array>
				<string>UUID-8</string>
				<string>UUID-9</string>
				<string>UUID-10</string>
			</array>
			<key>writable</key>
			<integer>1</integer>
		</dict>
	</array>
	<key>snippetsTE2</key>
	<array>
		<dict>
			<key>abbreviation</key>
			<string>loose</string>
			<key>abbreviationMode</key>
			<integer>1</integer>
			<key>creationDate</key>
			<date>2011-02-17T16:31:36Z</date>
			<key>label</key>
			<string></string>
			<key>modificationDate</key>
			<date>2012-03-04T05:06:07Z</date>
			<key>plainText</key>
			<string>y</string>
			<key>snippetType</key>
			<integer>0</integer>
			<key>uuidString</key>
			<string>UUID-11</string>
		</dict>
		<dict>
			<key>abbreviation</key>
			<string>addr</string>
			<key>abbreviationMode</key>
			<integer>1</integer>
			<key>creationDate</key>
			<date>2011-02-17T16:31:36Z</date>
			<key>label</key>
			<string></string>
			<key>modificationDate</key>
			<date>2012-03-04T05:06:07Z</date>
			<key>plainText</key>
			<string>Main St</string>
			<key>snippetType</key>
			<integer>0</integer>
			<key>uuidString</key>
			<string>UUID-1</string>
		</dict>
		<dict>
			<key>abbreviation</key>
			<string>sig</string>
			<key>abbreviationMode</key>
			<integer>1</integer>
			<key>creationDate</key>
			<date>2011-02-17T16:31:36Z</date>
			<key>label</key>
			<string></string>
			<key>modificationDate</key>
			<date>2012-03-04T05:06:07Z</date>
			<key>plainText</key>
			<string>Kind regards,)plist"
    "\r"
    R"plist(
Ann &amp; é &lt;b&gt; "q" 'a' %d</string>
			<key>snippetType</key>
			<integer>0</integer>
			<key>uuidString</key>
			<string>UUID-2</string>
			<key>blob</key>
			<data>AAEC</data>
			<key>ratio</key>
			<real>1.5</real>
		</dict>
		<dict>
			<key>label</key>
			<string>about w2</string>
			<key>abbreviation</key>
			<string>w2</string>
			<key>snippetType</key>
			<integer>0</integer>
			<key>plainText</key>
			<string></string>
			<key>abbreviationMode</key>
			<integer>2</integer>
			<key>modificationDate</key>
			<date>2013-11-12T14:15:16Z</date>
			<key>creationDate</key>
			<date>2007-05-06T08:09:10Z</date>
			<key>uuidString</key>
			<string>UUID-5</string>
		</dict>
		<dict>
			<key>label</key>
			<string>about w1</string>
			<key>abbreviation</key>
			<string>w1</string>
			<key>snippetType</key>
			<integer>0</integer>
			<key>plainText</key>
			<string></string>
			<key>abbreviationMode</key>
			<integer>0</integer>
			<key>modificationDate</key>
			<date>2013-11-12T14:15:16Z</date>
			<key>creationDate</key>
			<date>2007-05-06T08:09:10Z</date>
			<key>uuidString</key>
			<string>UUID-6</string>
		</dict>
		<dict>
			<key>label</key>
			<string>about own</string>
			<key>abbreviation</key>
			<string>own</string>
			<key>snippetType</key>
			<integer>0</integer>
			<key>plainText</key>
			<string>line
one &amp; &lt;two&gt;</string>
			<key>abbreviationMode</key>
			<integer>2</integer>
			<key>modificationDate</key>
			<date>2013-11-12T14:15:16Z</date>
			<key>creationDate</key>
			<date>2007-05-06T08:09:10Z</date>
			<key>uuidString</key>
			<string>UUID-10</string>
		</dict>
	</array>
	<key>Tolvan</key>
	<dict>
		<key>tolvanSpecificAbbrev</key>
		<array>
			<dict>
				<key>triggerMode</key>
				<integer>0</integer>
				<key>uuidString</key>
				<string>UUID-12</string>
				<key>abbreviationJoined</key>
				<true/>
			</dict>
			<dict>
				<key>triggerMode</key>
				<integer>0</integer>
				<key>uuidString</key>
				<string>UUID-11</string>
			</dict>
			<dict>
				<key>triggerMode</key>
				<integer>0</integer>
				<key>uuidString</key>
				<string>UUID-1</string>
			</dict>
			<dict>
				<key>triggerMode</key>
				<integer>0</integer>
				<key>uuidString</key>
				<string>UUID-2</string>
			</dict>
			<dict>
				<key>triggerMode</key>
				<integer>2</integer>
				<key>uuidString</key>
				<string>UUID-5</string>
				<key>abbreviationJoined</key>
				<true/>
			</dict>
			<dict>
				<key>triggerMode</key>
				<integer>0</integer>
				<key>uuidString</key>
				<string>UUID-6</string>
				<key>abbreviationJoined</key>
				<true/>
			</dict>
			<dict>
				<key>triggerMode</key>
				<integer>0</integer>
				<key>uuidString</key>
				<string>UUID-8</string>
				<key>abbreviationJoined</key>
				<true/>
			</dict>
			<dict>
				<key>triggerMode</key>
				<integer>0</integer>
				<key>uuidString</key>
				<string>UUID-9</string>
				<key>abbreviationJoined</key>
				<true/>
			</dict>
			<dict>
				<key>triggerMode</key>
				<integer>0</integer>
				<key>uuidString</key>
				<string>UUID-10</string>
				<key>abbreviationJoined</key>
				<true/>
			</dict>
		</array>
		<key>tolvanSpecificFolder</key>
		<array>
			<dict>
				<key>uuidString</key>
				<string>UUID-3</string>
				<key>disabled</key>
				<false/>
			</dict>
			<dict>
				<key>uuidString</key>
				<string>UUID-4</string>
				<key>disabled</key>
				<true/>
				<key>acmHotkey</key>
				<string>17 65</string>
				<key>acmHotkeyEnable</key>
				<true/>
			</dict>
			<dict>
				<key>uuidString</key>
				<string>UUID-7</string>
				<key>disabled</key>
				<false/>
			</dict>
		</array>
		<key>progLaunchers</key>
		<array>
			<dict>
				<key>label</key>
				<string>about term</string>
				<key>abbreviation</key>
				<string>term</string>
				<key>progExePath</key>
				<string>/usr/bin/xterm</string>
				<key>progParams</key>
				<string></string>
				<key>progRunIn</key>
				<string></string>
				<key>progShowMode</key>
				<integer>2</integer>
				<key>progRunAsAdmin</key>
				<integer>0</integer>
				<key>abbreviationMode</key>
				<integer>1</integer>
				<key>modificationDate</key>
				<date>2013-11-12T14:15:16Z</date>
				<key>creationDate</key>
				<date>2007-05-06T08:09:10Z</date>
				<key>uuidString</key>
				<string>UUID-9</string>
			</dict>
		</array>
		<key>webLaunchers</key>
		<array>
			<dict>
				<key>label</key>
				<string>about web</string>
				<key>abbreviation</key>
				<string>web</string>
				<key>webURL</key>
				<string>https://example.org/?a=1&amp;b=2</string>
				<key>webBrowser</key>
				<string></string>
				<key>abbreviationMode</key>
				<integer>1</integer>
				<key>modificationDate</key>
				<date>2013-11-12T14:15:16Z</date>
				<key>creationDate</key>
				<date>2007-05-06T08:09:10Z</date>
				<key>uuidString</key>
				<string>UUID-8</string>
			</dict>
		</array>
		<key>launcherGroups</key>
		<array>
			<dict>
				<key>uuidString</key>
				<string>UUID-7</string>
				<key>name</key>
				<string>Mail &amp; &lt;Co&gt; \ Sub</string>
				<key>writable</key>
				<integer>1</integer>
				<key>snippetUUIDs</key>
				<array>
					<string>UUID-8</string>
					<string>UUID-9</string>
				</array>
			</dict>
		</array>
	</dict>
</dict>
</plist>
)plist";

const std::string kPinnedGroupFile =
    R"plist(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple Computer//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0">
<dict>
	<key>groupInfo</key>
	<dict>
		<key>groupName</key>
		<string>Mail &amp; &lt;Co&gt;</string>
	</dict>
	<key>snippetsTE2</key>
	<array>
		<dict>
			<key>abbreviation</key>
			<string>addr</string>
			<key>abbreviationMode</key>
			<integer>1</integer>
			<key>creationDate</key>
			<date>2011-02-17T16:31:36Z</date>
			<key>label</key>
			<string></string>
			<key>modificationDate</key>
			<date>2012-03-04T05:06:07Z</date>
			<key>plainText</key>
			<string>Main St</string>
			<key>snippetType</key>
			<integer>0</integer>
			<key>uuidString</key>
			<string>UUID-1</string>
		</dict>
		<dict>
			<key>abbreviation</key>
			<string>sig</string>
			<key>abbreviationMode</key>
			<integer>1</integer>
			<key>creationDate</key>
			<date>2011-02-17T16:31:36Z</date>
			<key>label</key>
			<string></string>
			<key>modificationDate</key>
			<date>2012-03-04T05:06:07Z</date>
			<key>plainText</key>
			<string>Kind regards,)plist"
    "\r"
    R"plist(
Ann &amp; é &lt;b&gt; "q" 'a' %d</string>
			<key>snippetType</key>
			<integer>0</integer>
			<key>uuidString</key>
			<string>UUID-2</string>
			<key>blob</key>
			<data>AAEC</data>
			<key>ratio</key>
			<real>1.5</real>
		</dict>
		<dict>
			<key>label</key>
			<string>about own</string>
			<key>abbreviation</key>
			<string>own</string>
			<key>snippetType</key>
			<integer>0</integer>
			<key>plainText</key>
			<string>line
one &amp; &lt;two&gt;</string>
			<key>abbreviationMode</key>
			<integer>2</integer>
			<key>modificationDate</key>
			<date>2013-11-12T14:15:16Z</date>
			<key>creationDate</key>
			<date>2007-05-06T08:09:10Z</date>
			<key>uuidString</key>
			<string>UUID-3</string>
		</dict>
	</array>
</dict>
</plist>
)plist";

TEST(TeExport, TheWrittenDocumentsKeepTheirExactForm) {
  Library library;
  fill_pinned_library(library);
  ASSERT_FALSE(library.main_list.empty());
  Folder& root = *library.main_list.front();
  TeExportOptions o;
  o.now = kNow;
  Result<std::string> settings =
      te_settings_file_text(&root, TePreferences{CASE_SENSITIVE, TRIGGER_WORD_ENDING, " .", true}, o);
  ASSERT_TRUE(settings.ok());
  EXPECT_EQ(with_numbered_uuids(*settings), kPinnedSettingsFile);
  Result<std::string> group_file = te_group_file_text(root.subfolders.front().get(), o);
  ASSERT_TRUE(group_file.ok());
  EXPECT_EQ(with_numbered_uuids(*group_file), kPinnedGroupFile);
}

TEST(TeExport, NothingToExportIsAnError) {
  TeExportOptions o;
  EXPECT_EQ(te_group_file_text(nullptr, o).error(), "Folder is blank.");
  EXPECT_EQ(te_settings_file_text(nullptr, {}, o).error(), "Folder is blank.");
}

TEST(TeUuid, NewUuidsAreWellFormedUpperCaseAndDistinct) {
  std::set<std::string> seen;
  for (int i = 0; i < 1000; ++i) {
    std::string u = te_uuid_generate();
    EXPECT_TRUE(te_uuid_is_well_formed(u)) << u;
    EXPECT_EQ(u, te_uuid_key(u));
    seen.insert(u);
  }
  EXPECT_EQ(seen.size(), 1000u);
  EXPECT_FALSE(te_uuid_is_well_formed("11111111-1111-4111-8111-11111111111"));
  EXPECT_FALSE(te_uuid_is_well_formed("11111111_1111-4111-8111-111111111111"));
  EXPECT_FALSE(te_uuid_is_well_formed("G1111111-1111-4111-8111-111111111111"));
}

TEST(TeImport, HostileInputFailsCleanly) {
  const std::string good = settings_file(group(kG1, "A", {kU1}), snippet(kU1, "a", "x"));
  // Every prefix of a good file either imports or fails with a message; never more
  // abbreviations than the whole file has.
  for (size_t n = 0; n < good.size(); n += 7) {
    auto r = import_text(good.substr(0, n));
    if (r.ok()) EXPECT_LE(r->abbreviation_count(), 1u);
    else EXPECT_FALSE(r.error().empty());
  }
  for (const std::string& hostile : {std::string("not a plist"), std::string(kHeader),
                                     std::string(kHeader) + "<dict><key>a</key>",
                                     document("<key>groupsTE2</key><string>x</string>"
                                              "<key>Snippets Imported</key><date>x</date>"),
                                     document(std::string(20000, '<')),
                                     std::string("\0\0\0", 3)}) {
    auto r = import_text(hostile);
    EXPECT_FALSE(r.ok());
  }
  auto header_only = import_text("garbage");
  ASSERT_FALSE(header_only.ok());
  EXPECT_EQ(header_only.error(), "Header validation failed.");
}

}  // namespace
}  // namespace tolvan
