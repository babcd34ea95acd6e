// The library's records: folders that own their subfolders and abbreviations, the four
// abbreviation types with their type-specific data, the case and trigger modes and the
// rules that repair values that are out of range.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "core/abbrtime.h"
#include "core/boxed.h"
#include "textexpander/kvlist.h"

namespace tolvan {

enum AbbrType : uint8_t {
  ABBR_TYPE_TEXT = 0,
  ABBR_TYPE_PROGRAM = 1,
  ABBR_TYPE_WEBSITE = 2,
  ABBR_TYPE_UNSUPPORTED = 3,
};

enum CaseMode : int {
  CASE_SENSITIVE = 0,
  CASE_INSENSITIVE = 1,
  CASE_ADAPT = 2,
};

enum TriggerMode : int {
  TRIGGER_IMMEDIATELY = 3,
  TRIGGER_KEY = 4,
  TRIGGER_WORD_ENDING = 5,
};

// A program, file or folder launcher.
struct ProgInfo {
  std::string location;    // p
  std::string parameters;  // m
  std::string run_in;      // i
  uint8_t show_mode = 0;   // s: 0 normal, 1 minimized, 2 maximized
  uint8_t run_as_admin = 0;  // n
  // The target's icon, made by the editor; shared by copies, never saved.
  std::shared_ptr<const void> icon;
};

// A website launcher.
struct WebsiteInfo {
  std::string address;  // u
  std::string browser;  // b; empty means the default browser
};

// A TextExpander snippet of a kind Tolvan cannot expand: it carries no data of its own.
struct UnsupportedSnippet {};

class Folder;

class Abbreviation {
 public:
  // The type-specific data; its alternative is the abbreviation's type (the expansion text
  // for ABBR_TYPE_TEXT, and so on in the order of AbbrType). The launchers' records are
  // boxed: libraries are mostly text, and each of the two lists holds every record.
  using TypeData =
      std::variant<std::string, Boxed<ProgInfo>, Boxed<WebsiteInfo>, UnsupportedSnippet>;

  std::vector<std::string> abbreviations;  // the typed forms; alternatives
  TypeData data;
  std::string description;
  int case_mode = CASE_ADAPT;
  int trigger_mode = TRIGGER_IMMEDIATELY;
  Folder* folder = nullptr;  // the containing folder
  uint8_t anywhere = 0;      // Anywhere Mode
  AbbrTime created;
  AbbrTime modified;
  // TextExpander data, kept for TextExpander files (contents are TextExpander mode's).
  std::optional<KvList> te_general;          // textexpander: the snippet dictionary
  std::optional<KvList> te_abbrev_specific;  // textexpanderTS: tolvanSpecificAbbrev

  AbbrType type() const { return static_cast<AbbrType>(data.index()); }
  // Gives the abbreviation the empty data of `type` (keeps its data when the type is the
  // same).
  void set_type(AbbrType type);

  // The type-specific data; only valid for the matching type.
  std::string& expansion() { return std::get<std::string>(data); }
  const std::string& expansion() const { return std::get<std::string>(data); }
  ProgInfo& program() { return *std::get<Boxed<ProgInfo>>(data); }
  const ProgInfo& program() const { return *std::get<Boxed<ProgInfo>>(data); }
  WebsiteInfo& website() { return *std::get<Boxed<WebsiteInfo>>(data); }
  const WebsiteInfo& website() const { return *std::get<Boxed<WebsiteInfo>>(data); }
};

class Folder {
 public:
  std::string name;
  Folder* parent = nullptr;  // nullptr at the top of a list
  std::vector<std::unique_ptr<Folder>> subfolders;  // in order
  // Their order carries no meaning; new ones go to the front.
  std::deque<std::unique_ptr<Abbreviation>> abbreviations;
  uint32_t uid = 0;
  uint8_t te_group = 0;  // t: the folder is a TextExpander group
  uint8_t disabled = 0;  // d
  uint8_t menu_hotkey_enabled = 0;  // e
  std::optional<std::string> menu_hotkey;  // h: decimal virtual-key codes
  int32_t menu_hotkey_id = 0;  // under which the hotkey is registered; runtime only
  // TextExpander data, kept for TextExpander files (contents are TextExpander mode's).
  std::optional<KvList> te_general;         // textexpander
  std::optional<KvList> te_group_settings;  // textexpanderSG
  std::optional<KvList> te_folder_specific;  // textexpanderFTS
};

// A library list: its top-level folders, the first of which is the absolute parent.
using FolderList = std::vector<std::unique_ptr<Folder>>;

inline constexpr const char* kAbsoluteParentName = "All Abbreviations / Folders";

bool abbr_is_launcher(const Abbreviation& abbrev);

// A TextExpander data slot counts as present when it holds a non-empty dictionary (an
// empty dictionary and no dictionary are the same thing to TextExpander mode).
inline bool te_data_present(const std::optional<KvList>& slot) {
  return slot.has_value() && !slot->empty();
}

// The values that stand in for a case or trigger mode that is out of range: the
// preferences' defaults (prefs_get_default_case_mode, prefs_get_default_trigger_mode).
struct ModeDefaults {
  int case_mode = CASE_ADAPT;
  int trigger_mode = TRIGGER_IMMEDIATELY;
};

// Puts the case and trigger modes and the launcher's show mode back in range: a case mode
// outside 0-2 and a trigger mode outside 3-5 take the defaults, a launcher never keeps
// CASE_ADAPT (it becomes CASE_INSENSITIVE), a show mode above 2 becomes 0.
void abbr_repair_modes(Abbreviation& abbrev, const ModeDefaults& defaults);

}  // namespace tolvan
