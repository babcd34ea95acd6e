#include "presenters/library_window/context_menus.h"

#include <strings.h>

namespace tolvan {
namespace {

ContextMenuItem item(std::string label, std::string action, std::string icon = {}) {
  return {std::move(label), std::move(action), {}, true, std::move(icon)};
}
ContextMenuItem separator() { return {}; }

bool starts_with_ignoring_case(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && strncasecmp(text.data(), prefix.data(), prefix.size()) == 0;
}

bool equals_ignoring_case(std::string_view a, std::string_view b) {
  return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

struct ModeName {
  std::string_view name;
  int mode;
};

// The mode an action names: `prefix` and then one of the names (both without case).
template <size_t N>
std::optional<int> mode_of_action(std::string_view action, std::string_view prefix, const ModeName (&modes)[N]) {
  if (!starts_with_ignoring_case(action, prefix)) return std::nullopt;
  for (const ModeName& m : modes) {
    if (equals_ignoring_case(action.substr(prefix.size()), m.name)) return m.mode;
  }
  return std::nullopt;
}

}  // namespace

std::vector<ContextMenuItem> folder_context_menu_items(const std::vector<const Folder*>& selected) {
  std::vector<ContextMenuItem> menu{item("_New folder", "NewFolder"), item("New _subfolder", "NewSubfolder"),
                                    separator()};
  bool enable = false, disable = false;
  if (selected.size() > 1) {
    enable = disable = true;
  } else if (selected.size() == 1 && selected.front()->parent) {
    (selected.front()->disabled ? enable : disable) = true;
  }
  if (enable) menu.push_back(item("En_able", "Enable"));
  if (disable) menu.push_back(item("Disa_ble", "Disable"));
  if (enable || disable) menu.push_back(separator());
  menu.push_back(item("_Export", "Export"));
  menu.push_back(item("Export as TextExpander Group", "ExportTEGroup"));
  menu.push_back(item("Export to HTML (for printing)", "ExportToHTML"));
  menu.push_back(separator());
  menu.push_back(item("_Edit", "Rename"));
  menu.push_back(separator());
  menu.push_back(item("_Delete", "Delete"));
  return menu;
}

std::vector<ContextMenuItem> abbrev_context_menu_items(const std::vector<const Abbreviation*>& selected,
                                                       bool offer_containing_folder, bool te_mode) {
  std::vector<ContextMenuItem> menu;
  if (offer_containing_folder) {
    menu.push_back(item("_Open containing folder", "OpenContFol"));
    menu.push_back(separator());
  }
  menu.push_back(item("_New abbreviation", "NewAbbreviation"));
  menu.push_back(separator());
  menu.push_back(item("New _program, file, or folder launcher", "NewAppLauncher"));
  menu.push_back(item("New _website launcher", "NewWebsiteLauncher"));
  menu.push_back(separator());

  ContextMenuItem case_menu = item("Change _case match-mode to", "");
  if (te_mode) {
    case_menu.submenu = {item("Case _sensitive", "CaseSensitive"), item("_Ignore case", "CaseInsensitive")};
  } else {
    case_menu.submenu = {item("Case _insensitive", "CaseInsensitive"), item("Case _sensitive", "CaseSensitive")};
  }
  const bool one_launcher = selected.size() == 1 && abbr_is_launcher(*selected.front());
  if (!one_launcher) case_menu.submenu.push_back(item("_Adapt case", "CaseAdapt"));
  menu.push_back(std::move(case_menu));

  if (!te_mode) {
    ContextMenuItem trigger_menu = item("Change _trigger mode to", "");
    trigger_menu.submenu = {item("_Immediate", "TriggerImmediately"), item("_Trigger key", "TriggerKey"),
                            item("_Word-ending character", "TriggerWordEnding")};
    menu.push_back(std::move(trigger_menu));
  }
  menu.push_back(separator());
  menu.push_back(item("_Delete", "Delete"));
  return menu;
}

std::optional<int> context_action_case_mode(std::string_view action) {
  static constexpr ModeName kCaseModes[] = {
      {"Sensitive", CASE_SENSITIVE}, {"Insensitive", CASE_INSENSITIVE}, {"Adapt", CASE_ADAPT}};
  return mode_of_action(action, "Case", kCaseModes);
}

std::optional<int> context_action_trigger_mode(std::string_view action) {
  static constexpr ModeName kTriggerModes[] = {
      {"Immediately", TRIGGER_IMMEDIATELY}, {"Key", TRIGGER_KEY}, {"WordEnding", TRIGGER_WORD_ENDING}};
  return mode_of_action(action, "Trigger", kTriggerModes);
}

bool set_case_mode_of(const std::vector<Abbreviation*>& records, int case_mode) {
  bool changed = false;
  for (Abbreviation* a : records) {
    const int mode = abbr_is_launcher(*a) && case_mode == CASE_ADAPT ? CASE_INSENSITIVE : case_mode;
    changed |= a->case_mode != mode;
    a->case_mode = mode;
  }
  return changed;
}

bool set_trigger_mode_of(const std::vector<Abbreviation*>& records, int trigger_mode) {
  bool changed = false;
  for (Abbreviation* a : records) {
    changed |= a->trigger_mode != trigger_mode;
    a->trigger_mode = trigger_mode;
  }
  return changed;
}

}  // namespace tolvan
