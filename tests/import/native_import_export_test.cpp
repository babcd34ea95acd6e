// Tolvan's own files in and out of the sandbox without windows: the import mode, names
// taken from the file, whole libraries against single folders, exports as files and HTML.
#include <gtest/gtest.h>

#include "import/native_import_export.h"
#include "library/abbrev_reader.h"
#include "library/folder_tree.h"
#include "support/temp_dir.h"

namespace tolvan {
namespace {

using testing::read_file;
using testing::TempDir;
using testing::write_file;

const char* kWholeLibrary =
    "<Tolvan n=\"All Abbreviations / Folders\" t=\"0\" d=\"0\" m=\"1\">"
    "<f n=\"Work\" t=\"0\" d=\"0\"><a a=\"btw\" d=\"\" e=\"by the way\" c=\"2\" t=\"3\" r=\"0\" "
    "x=\"030f07dc0e0509\" y=\"030f07dc0e0509\"/></f></Tolvan>";
const char* kOneFolder =
    "<Tolvan n=\"\" t=\"0\" d=\"0\"><a a=\"hi\" d=\"Hi\" e=\"Hello\" c=\"2\" t=\"3\" r=\"0\" "
    "x=\"030f07dc0e0509\" y=\"030f07dc0e0509\"/></Tolvan>";

struct Sandbox {
  Library library;
  Sandbox() {
    Folder& top = abbr_ensure_absolute_parent(library.sandbox, library.uids);
    abbr_add_subfolder_to_folder(top, abbr_new_subfolder_of(library.uids, &top, "Mine"));
  }
  Folder& top() { return *library.sandbox.front(); }
};

TEST(NativeImport, AWholeLibraryAsksTheModeAndReplaceMakesItsRootTheTop) {
  TempDir dir;
  write_file(dir.file("all.tlv"), kWholeLibrary);
  Sandbox s;
  int asked = 0;
  auto cancelled = import_abbrevs_from_file(s.library, dir.file("all.tlv"), [&] {
    ++asked;
    return ImportMode::Cancel;
  });
  ASSERT_TRUE(cancelled.ok());
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(cancelled->folder, nullptr);
  ASSERT_EQ(s.top().subfolders.size(), 1u);

  auto appended = import_abbrevs_from_file(s.library, dir.file("all.tlv"), [] { return ImportMode::Append; });
  ASSERT_TRUE(appended.ok());
  ASSERT_EQ(s.top().subfolders.size(), 2u);
  EXPECT_EQ(appended->folder, s.top().subfolders[1].get());

  auto replaced = import_abbrevs_from_file(s.library, dir.file("all.tlv"), [] { return ImportMode::Replace; });
  ASSERT_TRUE(replaced.ok());
  ASSERT_EQ(s.library.sandbox.size(), 1u);
  EXPECT_EQ(replaced->folder, &s.top());
  EXPECT_EQ(s.top().name, kAbsoluteParentName);
  ASSERT_EQ(s.top().subfolders.size(), 1u);
  EXPECT_EQ(s.top().subfolders[0]->name, "Work");
}

TEST(NativeImport, OneFolderIsAppendedWithoutAskingUnderTheFilesName) {
  TempDir dir;
  write_file(dir.file("Letters.TLV"), kOneFolder);
  Sandbox s;
  auto imported = import_abbrevs_from_file(s.library, dir.file("Letters.TLV"), []() -> ImportMode {
    ADD_FAILURE() << "asked";
    return ImportMode::Cancel;
  });
  ASSERT_TRUE(imported.ok());
  EXPECT_EQ(imported->mode, ImportMode::Append);
  EXPECT_EQ(imported->folder->name, "Letters");
  EXPECT_EQ(imported->folder->parent, &s.top());

  write_file(dir.file("bad.tlv"), "<Tolvan");
  auto bad = import_abbrevs_from_file(s.library, dir.file("bad.tlv"), [] { return ImportMode::Replace; });
  ASSERT_FALSE(bad.ok());
  EXPECT_EQ(bad.error(), "Error attempting to load the abbreviations from the selected file.");
  EXPECT_EQ(s.top().subfolders.size(), 2u);
}

TEST(NativeExport, TheRootIsAWholeLibraryAndAFolderIsNot) {
  TempDir dir;
  write_file(dir.file("all.tlv"), kWholeLibrary);
  UidCounter uids;
  auto loaded = abbr_load_abbreviations_from_file(dir.file("all.tlv"), uids, false);
  ASSERT_TRUE(loaded.ok());
  const Folder& root = *loaded->root;
  EXPECT_EQ(export_suggested_name(root), "My Abbreviations");
  EXPECT_EQ(export_suggested_name(*root.subfolders[0]), "Work");

  ASSERT_TRUE(export_abbrevs_to_file(root, dir.file("out.tlv"), false).ok());
  ASSERT_TRUE(export_abbrevs_to_file(*root.subfolders[0], dir.file("work.tlv"), false).ok());
  ASSERT_TRUE(export_abbrevs_to_file(root, dir.file("out.html"), true).ok());
  auto whole = abbr_load_abbreviations_from_file(dir.file("out.tlv"), uids, false);
  auto folder = abbr_load_abbreviations_from_file(dir.file("work.tlv"), uids, false);
  ASSERT_TRUE(whole.ok() && folder.ok());
  EXPECT_TRUE(whole->marker);
  EXPECT_FALSE(folder->marker);
  EXPECT_EQ(folder->root->name, "Work");
  EXPECT_NE(read_file(dir.file("out.html")).find("by the way"), std::string::npos);

  Status failed = export_abbrevs_to_file(root, dir.file("no/such/folder/x.tlv"), false);
  ASSERT_FALSE(failed.ok());
  EXPECT_EQ(failed.error().rfind("Error exporting abbreviations to temporary file '" +
                                     dir.file("no/such/folder/x.tlv") + "': ", 0),
            0u);
  EXPECT_EQ(export_success_message("/x.tlv"), "Successfully exported abbreviations to '/x.tlv'.");
}

}  // namespace
}  // namespace tolvan
