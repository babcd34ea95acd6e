#include "presenters/abbrev_menu_model.h"

#include <strings.h>

#include <algorithm>

#include "library/abbrev_strings.h"
#include "library/library.h"

namespace tolvan {
namespace {

int order_of(const std::string& stored) {
  return strcasecmp(stored.c_str(), "desc") == 0 ? SORT_DESCENDING : SORT_ASCENDING;
}

AbbrevMenuPicture picture_of(const Abbreviation& abbreviation) {
  switch (abbreviation.type()) {
    case ABBR_TYPE_TEXT: return AbbrevMenuPicture::Text;
    case ABBR_TYPE_PROGRAM: return AbbrevMenuPicture::Program;
    case ABBR_TYPE_WEBSITE: return AbbrevMenuPicture::Website;
    case ABBR_TYPE_UNSUPPORTED: break;
  }
  return AbbrevMenuPicture::Unsupported;
}

bool gives_entry(const Folder& folder) {
  return !folder.subfolders.empty() || !folder.abbreviations.empty();
}

AbbrevMenuEntry folder_entry(const Folder& folder, bool mnemonic) {
  return {folder.name, mnemonic,
          folder.disabled ? AbbrevMenuPicture::DisabledFolder : AbbrevMenuPicture::Folder, &folder,
          nullptr};
}

void append_folders(std::vector<AbbrevMenuEntry>& entries, const FolderList& folders,
                    const AbbrevMenuSort& sort, bool mnemonic) {
  std::vector<Folder*> sorted;
  sorted.reserve(folders.size());
  for (const auto& folder : folders) sorted.push_back(folder.get());
  abbr_sort_folder_lst(sorted, SORT_BY_DESCRIPTION, sort.folder_order);
  for (const Folder* folder : sorted) {
    if (gives_entry(*folder)) entries.push_back(folder_entry(*folder, mnemonic));
  }
}

void append_abbrevs(std::vector<AbbrevMenuEntry>& entries, const Folder& folder,
                    const AbbrevMenuSort& sort) {
  std::vector<Abbreviation*> sorted;
  sorted.reserve(folder.abbreviations.size());
  for (const auto& abbreviation : folder.abbreviations) sorted.push_back(abbreviation.get());
  abbr_sort_abbrev_lst(sorted, sort.abbrev_column, sort.abbrev_order);
  for (const Abbreviation* abbreviation : sorted) {
    entries.push_back({abbrev_menu_label(*abbreviation), false, picture_of(*abbreviation), nullptr,
                       abbreviation});
  }
}

}  // namespace

AbbrevMenuSort abbrev_menu_sort(const Settings& prefs) {
  AbbrevMenuSort sort;
  sort.folder_order = order_of(prefs.get("f_so"));
  // The list's other columns (preview, dates) are not shown in the menu: description then.
  if (strcasecmp(prefs.get("a_sc").c_str(), "a") == 0) sort.abbrev_column = SORT_BY_ABBREVIATION;
  sort.abbrev_order = order_of(prefs.get("a_so"));
  return sort;
}

std::string abbrev_menu_label(const Abbreviation& abbreviation) {
  return abbreviation.description + " (" + abbr_abbrev_lst_to_string(abbreviation.abbreviations) +
         ")";
}

std::vector<AbbrevMenuEntry> abbrev_menu_of_all_folders(const FolderList& main_list,
                                                        const AbbrevMenuSort& sort) {
  std::vector<AbbrevMenuEntry> entries;
  if (const Folder* top = abbr_get_absolute_parent_folder(main_list)) {
    append_folders(entries, top->subfolders, sort, true);
  }
  return entries;
}

std::vector<AbbrevMenuEntry> abbrev_submenu(const Folder& folder, const AbbrevMenuSort& sort) {
  std::vector<AbbrevMenuEntry> entries;
  append_folders(entries, folder.subfolders, sort, false);
  append_abbrevs(entries, folder, sort);
  return entries;
}

std::vector<AbbrevMenuEntry> abbrev_menu_of_folder(const Folder& folder, const AbbrevMenuSort& sort) {
  std::vector<AbbrevMenuEntry> entries;
  append_abbrevs(entries, folder, sort);
  return entries;
}

std::vector<AbbrevMenuPart> abbrev_menu_parts(const std::vector<AbbrevMenuEntry>& entries,
                                              size_t most) {
  std::vector<AbbrevMenuPart> parts;
  if (most == 0 || entries.size() <= most) return parts;
  for (size_t begin = 0; begin < entries.size(); begin += most) {
    const size_t end = std::min(entries.size(), begin + most);
    parts.push_back({entries[begin].label + " \u2026 " + entries[end - 1].label, begin, end});
  }
  return parts;
}

}  // namespace tolvan
