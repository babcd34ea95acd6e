// Making, copying, moving and deleting folders and abbreviations.
#include "library/folder_tree.h"

#include <algorithm>

namespace tolvan {
namespace {

bool is_descendant_or_self(const Folder* candidate, const Folder& folder) {
  for (; candidate != nullptr; candidate = candidate->parent) {
    if (candidate == &folder) return true;
  }
  return false;
}

// Unlinks the folder from its parent and hands back its ownership.
std::unique_ptr<Folder> unlink_from_parent(Folder& folder) {
  auto& siblings = folder.parent->subfolders;
  auto it = std::find_if(siblings.begin(), siblings.end(),
                         [&](const auto& f) { return f.get() == &folder; });
  if (it == siblings.end()) return nullptr;
  std::unique_ptr<Folder> owned = std::move(*it);
  siblings.erase(it);
  owned->parent = nullptr;
  return owned;
}

std::unique_ptr<Abbreviation> unlink_from_folder(Abbreviation& abbrev) {
  if (abbrev.folder == nullptr) return nullptr;
  auto& list = abbrev.folder->abbreviations;
  auto it = std::find_if(list.begin(), list.end(),
                         [&](const auto& a) { return a.get() == &abbrev; });
  if (it == list.end()) return nullptr;
  std::unique_ptr<Abbreviation> owned = std::move(*it);
  list.erase(it);
  return owned;
}

}  // namespace

std::unique_ptr<Folder> abbr_create_absolute_parent_folder(UidCounter& uids) {
  auto folder = std::make_unique<Folder>();
  folder->name = kAbsoluteParentName;
  folder->uid = uids.take();
  return folder;
}

std::unique_ptr<Folder> abbr_new_subfolder_of(UidCounter& uids, const Folder* parent,
                                              std::string_view name) {
  auto folder = std::make_unique<Folder>();
  folder->name = name.empty() ? std::string("New Folder") : std::string(name);
  folder->uid = uids.take();
  if (parent != nullptr) folder->disabled = parent->disabled;
  return folder;
}

Folder& abbr_add_subfolder_to_folder(Folder& parent, std::unique_ptr<Folder> folder) {
  folder->parent = &parent;
  parent.subfolders.push_back(std::move(folder));
  return *parent.subfolders.back();
}

Folder& abbr_insert_folder_in_list(FolderList& list, std::unique_ptr<Folder> folder,
                                   int index) {
  folder->parent = nullptr;
  if (index < 0 || static_cast<size_t>(index) >= list.size()) {
    list.push_back(std::move(folder));
    return *list.back();
  }
  return **list.insert(list.begin() + index, std::move(folder));
}

std::unique_ptr<Abbreviation> abbr_create_new_abbrev(AbbrType type, Folder* folder,
                                                     const ModeDefaults& modes) {
  auto abbrev = std::make_unique<Abbreviation>();
  abbrev->set_type(type);
  abbrev->description = type == ABBR_TYPE_PROGRAM   ? "New Launcher"
                        : type == ABBR_TYPE_WEBSITE ? "New Website Launcher"
                                                    : "New Abbreviation";
  abbrev->case_mode = modes.case_mode;
  abbrev->trigger_mode = modes.trigger_mode;
  abbrev->folder = folder;
  abbrev->created = abbrev->modified = abbr_time_now();
  abbr_repair_modes(*abbrev, modes);
  return abbrev;
}

Abbreviation& abbr_add_abbrev_to_folder(Folder& folder, std::unique_ptr<Abbreviation> abbrev) {
  abbrev->folder = &folder;
  folder.abbreviations.push_front(std::move(abbrev));
  return *folder.abbreviations.front();
}

std::unique_ptr<Abbreviation> abbr_duplicate_abbrev(const Abbreviation& abbrev,
                                                    Folder* new_folder) {
  auto copy = std::make_unique<Abbreviation>(abbrev);
  copy->folder = new_folder;
  return copy;
}

std::unique_ptr<Folder> abbr_duplicate_folder(const Folder& folder, Folder* new_parent) {
  auto copy = std::make_unique<Folder>();
  copy->name = folder.name;
  copy->parent = new_parent;
  copy->uid = folder.uid;
  copy->te_group = folder.te_group;
  copy->disabled = folder.disabled;
  copy->menu_hotkey_enabled = folder.menu_hotkey_enabled;
  copy->menu_hotkey = folder.menu_hotkey;
  copy->menu_hotkey_id = folder.menu_hotkey_id;
  copy->te_general = folder.te_general;
  copy->te_group_settings = folder.te_group_settings;
  copy->te_folder_specific = folder.te_folder_specific;
  copy->subfolders.reserve(folder.subfolders.size());
  for (const auto& sub : folder.subfolders) {
    copy->subfolders.push_back(abbr_duplicate_folder(*sub, copy.get()));
  }
  // Copies go to the front, as everywhere: the copy holds them in the reverse order.
  for (const auto& abbrev : folder.abbreviations) {
    copy->abbreviations.push_front(abbr_duplicate_abbrev(*abbrev, copy.get()));
  }
  return copy;
}

FolderList abbr_folder_list_duplicate(const FolderList& list) {
  FolderList copy;
  copy.reserve(list.size());
  for (const auto& folder : list) copy.push_back(abbr_duplicate_folder(*folder, nullptr));
  return copy;
}

void abbr_reparent_folder(Folder& folder, Folder* new_parent) {
  if (new_parent == nullptr || is_descendant_or_self(new_parent, folder)) return;
  if (folder.parent == nullptr) return;  // a top-level folder is owned by its list
  std::unique_ptr<Folder> owned = unlink_from_parent(folder);
  if (owned) abbr_add_subfolder_to_folder(*new_parent, std::move(owned));
}

void abbr_reparent_abbrev(Abbreviation& abbrev, Folder& new_folder, ModelHooks* hooks) {
  if (abbrev.folder == &new_folder) return;
  if (hooks != nullptr) hooks->abbrev_reparenting(abbrev, new_folder);
  std::unique_ptr<Abbreviation> owned = unlink_from_folder(abbrev);
  if (owned) abbr_add_abbrev_to_folder(new_folder, std::move(owned));
}

bool abbr_delete_subfolder_from_parent(FolderList& list, Folder& folder) {
  if (folder.parent != nullptr) return unlink_from_parent(folder) != nullptr;
  auto it = std::find_if(list.begin(), list.end(),
                         [&](const auto& f) { return f.get() == &folder; });
  if (it == list.end()) return false;
  list.erase(it);
  return true;
}

bool abbr_delete_abbrev_from_folder(Abbreviation& abbrev) {
  return unlink_from_folder(abbrev) != nullptr;
}

void abbr_set_folder_enabled(Folder& folder, bool enabled, bool recursive) {
  folder.disabled = enabled ? 0 : 1;
  if (!recursive) return;
  for (auto& sub : folder.subfolders) abbr_set_folder_enabled(*sub, enabled, true);
}

}  // namespace tolvan
