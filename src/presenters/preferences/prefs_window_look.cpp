#include "presenters/preferences/prefs_window_look.h"

#include "core/strings.h"
#include "library/model.h"
#include "presenters/library_window/editor_tables.h"

namespace tolvan {
namespace {

// The editor's tooltip without its first paragraph, which speaks of one abbreviation.
std::string after_first_paragraph(const std::string& text) {
  const size_t end = text.find("\n\n");
  return end == std::string::npos ? text : text.substr(end + 2);
}

std::string default_trigger_tooltip() {
  std::string text = "The default replacement mode for all newly created abbreviations:\n\n" +
                     after_first_paragraph(trigger_mode_tooltip());
  text = substitute_str(text, "(set in <b>Preferences</b>)", "(set below)");
  return substitute_str(text,
                        "This key will then be \"discarded\" and will not be displayed, if "
                        "pressed immediately after the abbreviation is typed.",
                        "This key will then be \"discarded\" and will not be displayed (only if "
                        "typed immediately after the abbreviation is typed).");
}

constexpr const char* kDefaultCaseIntro = "The default matching mode for all newly created abbreviations.\n\n";

}  // namespace

PrefsModeLook prefs_mode_look(bool te_mode) {
  const std::string case_tooltip =
      kDefaultCaseIntro + after_first_paragraph(case_mode_tooltip(false, te_mode));
  if (te_mode) {
    return {
        "Default _abbreviation mode:",
        "Expand all abb_reviations:",
        "_Delimiters:",
        "Show t_ooltip when an abbreviation is typed that requires a delimiter key press to be "
        "expanded",
        case_tooltip,
        "The replacement mode for all abbreviations:\n\n<b>Immediately when typed</b>: Your "
        "abbreviations will be replaced immediately after they are typed.\n\n<b>At delimiter "
        "(keep delimiter)</b>: One of the delimiter characters (set below) must be typed "
        "immediately after an abbreviation is typed in order for the abbreviation to be "
        "replaced. This delimiter character will be displayed on the screen.\n\n<b>At delimiter "
        "(abandon delimiter)</b>: Same as <b>At delimiter (keep delimiter)</b> with one major "
        "difference: the delimiter character will be abandoned and will not be displayed on "
        "screen if typed immediately after an abbreviation is typed.",
        "If <b>Expand abbreviations</b> setting is set to <b>at delimiter (keep delimiter)</b> "
        "or <b>at delimiter (abandon delimiter)</b>, one of these characters must be typed "
        "immediately after the abbreviation is typed in order for a replacement to occur.",
        "Reset delimiter characters to default list.",
        "If checked, when you type an abbreviation that requires a delimiter character be typed "
        "in order for the abbreviation to be replaced, a tooltip will pop-up as you type "
        "showing the replacement text for the abbreviation for a short period of time.",
        case_mode_table(false, true),
        trigger_mode_table(true),
        true,
        false,
    };
  }
  return {
      "Default c_ase mode for new abbreviations:",
      "Default is to _replace typed abbreviations:",
      "_Word-ending characters:",
      "Show t_ooltip when an abbreviation with one of the replacement modes below is typed",
      case_tooltip,
      default_trigger_tooltip(),
      "If the abbreviation has its replacement mode set to <b>word-ending characters</b>, one "
      "of these characters must be typed immediately after the abbreviation is typed in order "
      "for a replacement to occur.\n\nUnlike the trigger key, this character will <b>not</b> "
      "be discarded and will be displayed as is normal.",
      "Reset word-ending characters to default list.",
      "If checked, when you type an abbreviation that requires the trigger key or a "
      "word-ending character (depending on what you select below) to be typed in order for "
      "the abbreviation to be replaced, a tooltip will pop-up as you type showing the "
      "replacement text for the abbreviation for a short period of time.",
      case_mode_table(false, false),
      trigger_mode_table(false),
      false,
      true,
  };
}

PrefsSensitivity prefs_sensitivity(const PrefsForm& form, bool te_mode) {
  PrefsSensitivity sensitivity;
  sensitivity.clipboard_restore = form.output_clipboard || form.use_clipboard_more_than;
  // Nothing waits for a delimiter when every abbreviation expands at once.
  sensitivity.show_tooltips = !(te_mode && form.default_trigger_mode == TRIGGER_IMMEDIATELY);
  for (size_t i = 0; i < form.hotkeys.size(); ++i) sensitivity.hotkey_rows[i] = form.hotkeys[i].enabled;
  sensitivity.proxy_fields = form.proxy_use;
  return sensitivity;
}

}  // namespace tolvan
