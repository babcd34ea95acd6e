// TextExpander mode's change hooks: while the user edits, the TextExpander dictionaries a
// folder or abbreviation carries follow the edit, so the next sync write or export sends
// the edit to TextExpander. A hook never creates a snippet or group that is not there
// (only items that came from TextExpander, or were written once, carry dictionaries), and
// never fails.
#pragma once

#include <string_view>

#include "import/te_export.h"
#include "library/library.h"
#include "library/library_observers.h"

namespace tolvan {

class TeChangeHooks final : public ModelHooks {
 public:
  // `options` gives the default modes and the macro conversion for dictionaries built from
  // a new abbreviation.
  explicit TeChangeHooks(TeExportOptions options) : options_(options) {}

  // te_abbrev_created: inside a folder that is a TextExpander group, the abbreviation gets
  // its dictionaries and its uuid joins the group.
  void abbrev_created(Abbreviation& abbrev) override;
  // te_abbrev_col_modified; the snippet's "modificationDate" follows the abbreviation's.
  void abbrev_col_modified(Abbreviation& abbrev, AbbrevField field) override;
  // te_abbrev_noncol_modified: "triggerMode" and "anywhereMode" belong to the
  // abbreviation-specific dictionary, every other key to the snippet.
  void abbrev_noncol_modified(Abbreviation& abbrev, std::string_view key,
                              const KvValue& value) override;
  // te_abbrev_deleting: the uuid leaves its group's "snippetUUIDs".
  void abbrev_deleting(Abbreviation& abbrev) override;
  // te_abbrev_reparenting: as deleted, then listed by the new group when it lists any.
  void abbrev_reparenting(Abbreviation& abbrev, Folder& new_folder) override;
  // te_folder_modified.
  void folder_modified(Folder& folder) override;
  // te_folder_deleting: the group's dictionaries leave with the folder; nothing to do.
  void folder_deleting(Folder&) override {}

 private:
  TeExportOptions options_;
};

// te_prefs_modified: the preference keys of both absolute parents, the main list's under
// its lock. Answers whether the main list's values changed, which is when the sync file
// must be written again.
bool te_prefs_modified(Library& library, const TePreferences& prefs);

}  // namespace tolvan
