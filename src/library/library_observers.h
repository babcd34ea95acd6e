// Who the library tells about changes. LibraryListener is for the modules that keep state
// pointing into the main list (the keyboard engine, the abbreviation menu); ModelHooks is
// for TextExpander mode, which keeps the TextExpander data of folders and abbreviations
// current as they change. Every method has an empty default, so a listener overrides only
// what it cares about.
#pragma once

#include <string_view>

namespace tolvan {

class Abbreviation;
class Folder;
class KvValue;

// The fields the abbreviation list shows, as its columns change them.
enum class AbbrevField { Description, Abbreviations, Expansion, CaseMode, TriggerMode };

class LibraryListener {
 public:
  virtual ~LibraryListener() = default;
  // The main list is about to be freed: drop every pointer into it (the abbreviation menu).
  virtual void main_list_freeing() {}
  // The main list was replaced by a copy of the sandbox (the hook thread resizes its key
  // buffer). Called after the lock is released; the caller waits until this returns.
  virtual void main_list_changed() {}
  // The main list was loaded from the file (the key buffer must hold the longest
  // abbreviation).
  virtual void main_list_reloaded() {}
};

class ModelHooks {
 public:
  virtual ~ModelHooks() = default;
  // Before `abbrev` moves to `new_folder`: TextExpander mode moves its uuid from the old
  // group's snippet list to the new one's.
  virtual void abbrev_reparenting(Abbreviation& /*abbrev*/, Folder& /*new_folder*/) {}
  // A folder was renamed, enabled or disabled, or its hotkey changed: TextExpander mode
  // copies the name, the state and the hotkey into the group's dictionaries.
  virtual void folder_modified(Folder& /*folder*/) {}
  // A sandbox folder moved to the top level while nested folders were flattened: the main
  // window moves its row.
  virtual void sandbox_folder_moved(Folder& /*folder*/) {}
  // A new abbreviation joined its folder: inside a TextExpander group it becomes a snippet.
  virtual void abbrev_created(Abbreviation& /*abbrev*/) {}
  // A shown field of `abbrev` now holds its new value.
  virtual void abbrev_col_modified(Abbreviation& /*abbrev*/, AbbrevField /*field*/) {}
  // A launcher field the list does not show ("progParams", "webBrowser", ...) changed.
  virtual void abbrev_noncol_modified(Abbreviation& /*abbrev*/, std::string_view /*key*/,
                                      const KvValue& /*value*/) {}
  // Before `abbrev` leaves its folder for good.
  virtual void abbrev_deleting(Abbreviation& /*abbrev*/) {}
  // Before `folder` is removed.
  virtual void folder_deleting(Folder& /*folder*/) {}
};

}  // namespace tolvan
