// Every real TextExpander file of the corpus comes over whole: imported with as many
// abbreviations as python3's plistlib finds snippets, exported again as the same kind of
// file, which plistlib reads and which keeps every key of the original, and imported once
// more into the same abbreviations.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "import/te_export.h"
#include "import/te_import.h"
#include "import/te_import_library.h"
#include "library/abbrev_strings.h"
#include "support/shell.h"
#include "support/temp_dir.h"

namespace tolvan {
namespace {

namespace fs = std::filesystem;

const AbbrTime kNow{1, 2, 2003, 4, 5, 6};

std::vector<fs::path> corpus_files() {
  return testing::sorted_files(fs::path(TOLVAN_CORPORA_DIR) / "textexpander");
}

std::string check_script() {
  return "/usr/bin/python3 " +
         testing::shell_quoted(std::string(TOLVAN_SOURCE_DIR) + "/tests/import/te_corpus_check.py");
}

TeImportOptions options_now() {
  TeImportOptions options;
  options.now = kNow;
  return options;
}

std::string time_text(const AbbrTime& t) {
  std::ostringstream out;
  out << int(t.year) << "-" << int(t.month) << "-" << int(t.day) << " " << int(t.hour) << ":"
      << int(t.minute) << ":" << int(t.second);
  return out.str();
}

// What must survive of an abbreviation, in the order of its folder.
std::string describe(const Folder& folder) {
  std::ostringstream out;
  out << "[" << folder.name << "]\n";
  for (const auto& a : folder.abbreviations) {
    out << int{a->type()} << " " << abbr_abbrev_lst_to_string(a->abbreviations) << " | "
        << a->description << " | " << abbr_abbrev_exp_to_display_string(*a) << " | "
        << a->case_mode << a->trigger_mode << int{a->anywhere} << " | "
        << time_text(a->created) << " / " << time_text(a->modified) << "\n";
  }
  for (const auto& sub : folder.subfolders) out << describe(*sub);
  return out.str();
}

struct Imported {
  Library library;
  bool group_file = false;
  size_t abbreviations = 0;
};

void import_into(Imported& into, const std::string& path) {
  TeFileImport file = te_import_snippet_file(path, options_now());
  ASSERT_EQ(file.result, TeImportResult::Imported) << file.message;
  into.group_file = file.import->group_file;
  into.abbreviations = file.import->abbreviation_count();
  te_add_import_to_library(into.library, MAIN_LIST, std::move(*file.import), ImportMode::Replace);
}

std::string export_text(Imported& imported) {
  TeExportOptions options;
  options.now = kNow;
  Folder* root = abbr_get_absolute_parent_folder(imported.library.main_list);
  Settings prefs;
  if (root->te_general) te_take_over_preferences(prefs, *root->te_general);
  Result<std::string> text =
      imported.group_file ? te_group_file_text(root->subfolders.front().get(), options)
                          : te_settings_file_text(root, te_preferences_from(prefs), options);
  EXPECT_TRUE(text.ok()) << text.error();
  return text.ok() ? *text : std::string();
}

TEST(TeCorpus, EveryFileImportsExportsAndImportsAgainWhole) {
  const std::vector<fs::path> files = corpus_files();
  ASSERT_EQ(files.size(), 128u);
  std::string count_command = check_script() + " count";
  for (const fs::path& file : files) count_command += " " + testing::shell_quoted(file.string());
  auto [count_status, counts] = testing::run_command(count_command);
  ASSERT_EQ(count_status, 0) << counts;
  std::istringstream expected_counts(counts);

  testing::TempDir dir;
  std::string export_command = check_script() + " export";
  size_t total = 0;
  for (size_t i = 0; i < files.size(); ++i) {
    const std::string path = files[i].string();
    SCOPED_TRACE(files[i].filename().string());
    size_t expected = 0;
    ASSERT_TRUE(expected_counts >> expected);

    Imported first;
    import_into(first, path);
    if (HasFatalFailure()) return;
    EXPECT_EQ(first.abbreviations, expected);
    total += first.abbreviations;

    const std::string exported = dir.file(std::to_string(i) + (first.group_file ? "-group" : "-settings") +
                                          ".textexpander");
    testing::write_file(exported, export_text(first));
    export_command += " " + testing::shell_quoted(path) + " " + testing::shell_quoted(exported);

    Imported second;
    import_into(second, exported);
    if (HasFatalFailure()) return;
    EXPECT_EQ(second.group_file, first.group_file);
    EXPECT_EQ(describe(*abbr_get_absolute_parent_folder(second.library.main_list)),
              describe(*abbr_get_absolute_parent_folder(first.library.main_list)));
  }
  EXPECT_GT(total, 7000u);
  auto [status, problems] = testing::run_command(export_command);
  EXPECT_EQ(status, 0) << problems;
}

}  // namespace
}  // namespace tolvan
