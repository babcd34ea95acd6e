// The abbreviation editor's fixed choices and texts: the combo tables of the case, trigger
// and show modes in normal and TextExpander mode, and the tooltips and labels that depend on
// the page or the mode.
#pragma once

#include <span>
#include <string>

#include "library/model.h"
#include "presenters/combo_table.h"

namespace tolvan {

// The editor's notebook pages, one per abbreviation type.
enum class EditorPage : int { Text = 0, Program = 1, Website = 2, Unsupported = 3 };
EditorPage editor_page_for(AbbrType type);

// Case modes offered for a text page or a launcher page (no adapt row), in `te_mode`.
std::span<const ComboRow> case_mode_table(bool launcher, bool te_mode);
std::span<const ComboRow> trigger_mode_table(bool te_mode);
std::span<const ComboRow> show_mode_table();

// Markup tooltips of the case combo (launcher pages have their own) and the trigger combo.
std::string case_mode_tooltip(bool launcher, bool te_mode);
std::string trigger_mode_tooltip();

// The abbreviation entry's tooltip and the trigger row's label of a page; in advanced view
// the launcher pages' trigger labels read "_Launch: ".
const char* abbreviation_entry_tooltip(EditorPage page);
const char* trigger_label(EditorPage page, bool advanced_view);

// The notice of the unsupported-snippet page for a snippet of `kind` ("AppleScript", ...).
std::string unsupported_snippet_notice(const std::string& kind);
inline constexpr const char* kUnsupportedInitialNotice =
    "This snippet type is not yet supported by Tolvan.";

inline constexpr const char* kDuplicateWarningFormat =
    "The abbreviation '%s' may cause a conflict with an existing abbreviation.\n\nDouble-click "
    "this icon to see a list of all potential conflicts.";

}  // namespace tolvan
