#include "presenters/library_window/editor_tables.h"

#include <array>


namespace tolvan {
namespace {

constexpr std::array<ComboRow, 3> kTextCase = {{
    {CASE_INSENSITIVE, "Case insensitive (typing 'AB' matches 'ab', 'aB'...)"},
    {CASE_SENSITIVE, "Case sensitive (typing 'AB' does not match 'ab')"},
    {CASE_ADAPT, "Adapt replacement case to case of typed abbreviation"},
}};
constexpr std::array<ComboRow, 3> kTextCaseTe = {{
    {CASE_SENSITIVE, "Case Sensitive (aB, Ab, ab, AB differ)"},
    {CASE_INSENSITIVE, "Ignore Case (aB, Ab, ab, AB same)"},
    {CASE_ADAPT, "Adapt Snippet to Case of Abbreviation"},
}};
constexpr std::array<ComboRow, 3> kTrigger = {{
    {TRIGGER_IMMEDIATELY, "immediately"},
    {TRIGGER_KEY, "after the trigger key is pressed"},
    {TRIGGER_WORD_ENDING, "after a word-ending character is typed"},
}};
constexpr std::array<ComboRow, 3> kTriggerTe = {{
    {TRIGGER_IMMEDIATELY, "immediately when typed"},
    {TRIGGER_WORD_ENDING, "at delimiter (keep delimiter)"},
    {TRIGGER_KEY, "at delimiter (abandon delimiter)"},
}};
constexpr std::array<ComboRow, 3> kShowMode = {{
    {0, "Show normally"},
    {1, "Show minimized"},
    {2, "Show maximized"},
}};

constexpr const char* kCaseIntroText =
    "The matching mode for the typed abbreviation.\n\nAssuming abbreviation is <b>ab</b> and "
    "replacement is <b>a boy</b>:\n\n";
constexpr const char* kCaseIntroLauncher =
    "The matching mode for the typed abbreviation.\n\nAssuming abbreviation is <b>ab</b>:\n\n";
constexpr const char* kInsensitiveText =
    "<b>%s</b>: Typing any form of <b>ab</b> (<b>ab</b>, <b>Ab</b>, <b>aB</b>, <b>AB</b>) will "
    "cause a match";
constexpr const char* kSensitiveText =
    "<b>Case sensitive</b>: Must type <b>ab</b> in order for a match to occur. Typing "
    "<b>AB</b>, <b>aB</b>, or <b>aB</b> will not cause a match";
constexpr const char* kLaunchedTail = " and the program, file, folder, or website will%s be launched";
constexpr const char* kAdaptText =
    "\n\n<b>Adapt case</b>: Adapt the case of the replacement text to the case of the "
    "abbreviation you typed:\n\n\tType <b>Ab</b> to replace with <b>A boy</b>.\n\tType "
    "<b>AB</b> to replace with <b>A BOY</b>.\n\tType <b>ab</b> for case of replacement to "
    "remain the same.";

std::string printf_one(const char* format, const std::string& value) {
  std::string out;
  const std::string_view f(format);
  const size_t at = f.find("%s");
  out.append(f.substr(0, at));
  out += value;
  out.append(f.substr(at + 2));
  return out;
}

}  // namespace

EditorPage editor_page_for(AbbrType type) { return static_cast<EditorPage>(type); }

std::span<const ComboRow> case_mode_table(bool launcher, bool te_mode) {
  // The launcher tables are the text tables without their adapt row, which comes last.
  std::span<const ComboRow> table = te_mode ? std::span<const ComboRow>(kTextCaseTe)
                                            : std::span<const ComboRow>(kTextCase);
  return launcher ? table.first(2) : table;
}

std::span<const ComboRow> trigger_mode_table(bool te_mode) {
  return te_mode ? std::span<const ComboRow>(kTriggerTe) : std::span<const ComboRow>(kTrigger);
}

std::span<const ComboRow> show_mode_table() { return kShowMode; }

std::string case_mode_tooltip(bool launcher, bool te_mode) {
  std::string insensitive = printf_one(kInsensitiveText, te_mode ? "Ignore case" : "Case insensitive");
  std::string sensitive = kSensitiveText;
  if (launcher) {
    insensitive += printf_one(kLaunchedTail, "");
    sensitive += printf_one(kLaunchedTail, " not");
  }
  insensitive += ".";
  sensitive += ".";
  std::string text = launcher ? kCaseIntroLauncher : kCaseIntroText;
  text += te_mode ? sensitive + "\n\n" + insensitive : insensitive + "\n\n" + sensitive;
  if (!launcher) text += kAdaptText;
  return text;
}

std::string trigger_mode_tooltip() {
  return "The replacement mode for this abbreviation:\n\n<b>Immediately</b>: The abbreviation "
         "will be replaced immediately after it is typed.\n\n<b>After the trigger key is "
         "pressed</b>: The trigger key (set in <b>Preferences</b>) must be pressed immediately "
         "after the abbreviation is typed in order for the abbreviation to be replaced.\n\nThis "
         "key will then be \"discarded\" and will not be displayed, if pressed immediately after "
         "the abbreviation is typed.\n\n<b>After a word-ending character is typed</b>: One of "
         "the word-ending characters (set in <b>Preferences</b>) must be typed immediately after "
         "the abbreviation is typed in order for the abbreviation to be replaced.\n\nUnlike the "
         "trigger key, this character will <b>not</b> be discarded and will be displayed as is "
         "normal.";
}

const char* abbreviation_entry_tooltip(EditorPage page) {
  switch (page) {
    case EditorPage::Program:
      return "The abbreviation that, when typed, will be removed and will launch the program, "
             "file, or folder below.";
    case EditorPage::Website:
      return "The abbreviation that, when typed, will be removed and will launch the website "
             "below.";
    default:
      return "The abbreviation that, when typed, will be replaced with the replacement text "
             "below.";
  }
}

const char* trigger_label(EditorPage page, bool advanced_view) {
  switch (page) {
    case EditorPage::Program:
      return advanced_view ? "_Launch: " : "Remove _typed abbreviation and launch: ";
    case EditorPage::Website:
      return advanced_view ? "_Launch: " : "Remove _typed abbreviation and launch website: ";
    default:
      return "Replace _typed abbreviation: ";
  }
}

std::string unsupported_snippet_notice(const std::string& kind) {
  return "<b>" + kind +
         " snippets are not yet supported in Tolvan.</b>\n\n<b>Note:</b> While this snippet has "
         "been disabled in Tolvan and the replacement content\nfor this snippet has been hidden, "
         "this snippet and the data associated with it\nhas <i>not</i> been altered by Tolvan in "
         "any way.\n\nThis means that when you export or sync back to TextExpander, this snippet "
         "will be\nfully visible and functioning normally.";
}

}  // namespace tolvan
