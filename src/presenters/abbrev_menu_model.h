// AbbrevMenuModel: what the abbreviation menu lists, without its toolkit. The menu of every
// folder lists the absolute parent's folders (empty ones left out), each with a submenu of
// its subfolders and then its abbreviations; a folder's own menu lists only that folder's
// abbreviations. Folders and abbreviations are sorted the way the main window sorts them, so
// the menu reads like the library the user sees there.
//
// Entries point into the main list: a menu built from them must be gone before that list is
// freed. A submenu's entries are asked for when it is first opened, so a huge library costs
// only what the user looks at.
#pragma once

#include <string>
#include <vector>

#include "library/model.h"
#include "library/sorting.h"
#include "settings/settings.h"

namespace tolvan {

// The main window's sort orders, as its preferences remember them.
struct AbbrevMenuSort {
  int folder_order = SORT_ASCENDING;
  int abbrev_column = SORT_BY_DESCRIPTION;  // description or abbreviation only
  int abbrev_order = SORT_ASCENDING;
};
AbbrevMenuSort abbrev_menu_sort(const Settings& prefs);

enum class AbbrevMenuPicture { Folder, DisabledFolder, Text, Program, Website, Unsupported };

struct AbbrevMenuEntry {
  std::string label;
  // The label's underscores mark an access key (top-level folders of the all-folders menu
  // only); elsewhere they are shown as they are.
  bool mnemonic = false;
  AbbrevMenuPicture picture = AbbrevMenuPicture::Text;
  const Folder* folder = nullptr;              // a folder entry: its submenu's source
  const Abbreviation* abbreviation = nullptr;  // an abbreviation entry: what choosing outputs
};

// The all-folders menu: one entry per non-empty top-level folder.
std::vector<AbbrevMenuEntry> abbrev_menu_of_all_folders(const FolderList& main_list,
                                                        const AbbrevMenuSort& sort);
// A folder entry's submenu: its non-empty subfolders, then its abbreviations.
std::vector<AbbrevMenuEntry> abbrev_submenu(const Folder& folder, const AbbrevMenuSort& sort);
// A folder hotkey's menu: the folder's own abbreviations (none for an empty folder).
std::vector<AbbrevMenuEntry> abbrev_menu_of_folder(const Folder& folder, const AbbrevMenuSort& sort);

// A menu of more than `most` entries opens slowly and cannot be read on one screen: it is
// shown as parts of at most `most` entries, each behind an entry labelled with its first
// and last entries. No parts when the entries fit.
struct AbbrevMenuPart {
  std::string label;
  size_t begin = 0;
  size_t end = 0;
};
inline constexpr size_t kAbbrevMenuMostEntries = 200;
std::vector<AbbrevMenuPart> abbrev_menu_parts(const std::vector<AbbrevMenuEntry>& entries,
                                              size_t most = kAbbrevMenuMostEntries);

// "description (abbreviations)", the abbreviations joined as everywhere else.
std::string abbrev_menu_label(const Abbreviation& abbreviation);

}  // namespace tolvan
