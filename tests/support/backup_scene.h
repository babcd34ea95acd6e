// BackupScene: a temporary data folder for the backup windows' tests: the preferences and
// run-time variables pointing into it, automatic backups on, and a saved library whose
// abbreviations the test names.
#pragma once

#include <initializer_list>

#include "library/abbrev_writer.h"
#include "library/backups.h"
#include "library/folder_tree.h"
#include "support/temp_dir.h"

namespace tolvan::testing {

struct BackupScene {
  BackupScene() {
    gvar.set("prefs_file", dir.file("prefs.lt"));
    gvar.set("abbreviations_file", dir.file("abbreviations.tlv"));
    prefs.set("auto_backup", "1");
    prefs.set("limit_total_backup", "0");
    prefs.set("backup_dir", dir.file("backups"));
  }

  // The main list holds these abbreviations, saved to the library file; the working copy
  // is a copy of it.
  void save_library_with(std::initializer_list<const char*> names) {
    library.main_list.clear();
    Folder& top = abbr_ensure_absolute_parent(library.main_list, library.uids);
    for (const char* name : names) {
      auto a = abbr_create_new_abbrev(ABBR_TYPE_TEXT, &top, {});
      a->abbreviations = {name};
      abbr_add_abbrev_to_folder(top, std::move(a));
    }
    write_file(gvar.get("abbreviations_file"), abbr_folder_list_to_xml(library.main_list));
    abbr_create_sandbox(library);
  }

  BackupContext context(Prompts& prompts) {
    return BackupContext{prefs, gvar, library, prompts, nullptr, nullptr};
  }

  TempDir dir;
  Settings prefs;
  RunTimeVariables gvar;
  Library library;
};

}  // namespace tolvan::testing
