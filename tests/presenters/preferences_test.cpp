// The Preferences window without GTK: the form's round trip through the preferences, the
// word-ending row, the proxy password, the sensitivities, and OK's order of steps with
// refusals that leave the preferences as they were.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "presenters/preferences/prefs_apply.h"
#include "presenters/preferences/prefs_form.h"
#include "presenters/preferences/prefs_window_look.h"
#include "presenters/preferences/proxy_password.h"
#include "support/recording_preferences_steps.h"
#include "support/recording_prompts.h"
#include "settings/gvar.h"
#include "settings/prefs.h"

namespace tolvan {
namespace {

using ::tolvan::testing::RecordingPreferencesSteps;
using ::tolvan::testing::RecordingPrompts;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

Settings default_prefs() {
  Settings prefs;
  RunTimeVariables gvar;
  gvar.set("current_appdata_dir", "/home/ann/.local/share/tolvan");
  prefs_set_defaults(prefs, gvar);
  return prefs;
}

struct OkScene {
  Settings prefs = default_prefs();
  RecordingPreferencesSteps steps{prefs};
  RecordingPrompts prompts;
  PrefsForm form = prefs_form_from_prefs(prefs, false);

  bool ok() { return prefs_ok(form, prefs, steps, prompts); }
};

TEST(PrefsForm, EveryKeyRoundTripsThroughTheForm) {
  Settings prefs = default_prefs();
  PrefsForm form = prefs_form_from_prefs(prefs, true);
  form.default_case_mode = 0;
  form.default_trigger_mode = 5;
  form.trigger_hotkey = 0x7B;
  form.delim_entry = ",.;";
  form.delim_tab = true;
  form.uc_check_days = 30;
  form.output_clipboard = true;
  form.use_clipboard_more_than = true;
  form.clipboard_more_than_chars = 200;
  form.clipboard_restore = true;
  form.play_sound = true;
  form.terminal_classes = {"XTerm", "kitty"};
  form.primary_paste_classes = {"URxvt", "MyTerm"};
  form.lazy_input_classes = {"libreoffice-writer", "SlowApp"};
  form.adv_view = true;
  form.created_col = true;
  form.show_bottom_buttons = true;
  form.hotkeys[2] = {true, {true, true, false, false, 'T'}};
  form.acm_at_keyboard = true;
  form.backup_dir = "/media/usb/backups";
  form.backup_max_count = 3;
  form.proxy_use = true;
  form.proxy_host = "proxy.example";
  form.proxy_port = 3128;
  form.proxy_username = "ann";
  form.proxy_password = "s3cr3t pass";

  prefs_form_store_plain_keys(form, prefs);
  PrefsForm again = prefs_form_from_prefs(prefs, true);
  EXPECT_EQ(again, form);

  EXPECT_EQ(prefs.get("norm_view"), "0");
  EXPECT_EQ(prefs.get("adv_view"), "1");
  EXPECT_EQ(prefs.get("output_method"), "1");
  EXPECT_EQ(prefs.get("acm_placement"), "keyboard");
  EXPECT_EQ(prefs.get("ed_hotkey"), "17 18 84");
  EXPECT_EQ(prefs.get("terminal_classes"), "XTerm;kitty");
  EXPECT_EQ(prefs.get("primary_paste_classes"), "URxvt;MyTerm");
  EXPECT_EQ(prefs.get("lazy_input_classes"), "libreoffice-writer;SlowApp");
  EXPECT_NE(prefs.get("proxy_"), "s3cr3t pass");
  EXPECT_THAT(prefs.get("proxy_"), ::testing::Not(HasSubstr("s3cr3t")));
}

TEST(PrefsForm, DefaultsFillTheWindowAsAFirstStartExpects) {
  PrefsForm form = prefs_form_from_prefs(default_prefs(), false);
  EXPECT_EQ(form.trigger_hotkey, 17);
  EXPECT_TRUE(form.delim_space);
  EXPECT_TRUE(form.delim_tab);
  EXPECT_TRUE(form.delim_enter);
  EXPECT_FALSE(form.delim_escape);
  EXPECT_EQ(form.delim_entry, ",.?!()<>[]{}:;\"/\\-'");
  EXPECT_TRUE(form.hotkeys[0].enabled);  // launch pad, Ctrl+Space
  EXPECT_EQ(form.hotkeys[0].row, (HotkeyRow{true, false, false, false, 0x20}));
  EXPECT_FALSE(form.acm_at_keyboard);
  EXPECT_FALSE(form.adv_view);
  EXPECT_FALSE(form.terminal_classes.empty());
  EXPECT_EQ(form.proxy_port, 8080) << "no port stored: the usual one, not the spin's lowest";
}

TEST(PrefsForm, WordEndingBoxesFollowTheEntryInTheirOrder) {
  PrefsForm form;
  form.delim_entry = "abc";
  form.delim_space = form.delim_escape = true;
  EXPECT_EQ(delim_chars_from_form(form), std::string("abc \x1b"));

  PrefsForm filled;
  delim_chars_to_form(std::string("abc \x1b"), filled);
  EXPECT_EQ(filled.delim_entry, "abc");
  EXPECT_TRUE(filled.delim_space);
  EXPECT_TRUE(filled.delim_escape);
  EXPECT_FALSE(filled.delim_tab);
  EXPECT_FALSE(filled.delim_enter);

  // Whatever is typed or pasted, the entry keeps none of the boxes' characters.
  EXPECT_EQ(delim_entry_filter("a b\tc\nd\x1b" "e"), "abcde");
  form.delim_entry = "x y";
  form.delim_space = form.delim_escape = false;
  EXPECT_EQ(delim_chars_from_form(form), "xy");
}

TEST(PrefsForm, ResetWritesTheDefaultListAtOnce) {
  Settings prefs;
  prefs.set("delim_chars", "x");
  prefs_reset_delim_chars(prefs);
  EXPECT_EQ(prefs.get("delim_chars"), kDefaultDelimChars);
}

TEST(PrefsForm, HotkeyWithCtrlShiftAndAIsStoredInModifierOrder) {
  Settings prefs = default_prefs();
  PrefsForm form = prefs_form_from_prefs(prefs, false);
  form.hotkeys[0] = {true, {true, false, true, false, 'A'}};
  prefs_form_store_plain_keys(form, prefs);
  EXPECT_EQ(prefs.get("launchpad_hotkey"), "17 16 65");
}

TEST(PrefsForm, TriggerKeysAreTheFixedFiftyThree) {
  const auto keys = trigger_key_choices();
  ASSERT_EQ(keys.size(), 53u);
  EXPECT_EQ(keys.front().name, "Shift");
  EXPECT_EQ(keys.back().name, "F24");
  for (size_t i = 0; i < keys.size(); ++i)
    for (size_t j = i + 1; j < keys.size(); ++j) EXPECT_NE(keys[i].vk, keys[j].vk) << keys[i].name;
}

TEST(PrefsForm, TerminalClassesDropBlanksAndSeparatorsInsideItems) {
  EXPECT_THAT(terminal_classes_from_string(" XTerm ;; kitty;"), ElementsAre("XTerm", "kitty"));
  EXPECT_THAT(terminal_classes_from_string(""), IsEmpty());
  EXPECT_EQ(terminal_classes_to_string({"a;b", " ", "foot "}), "ab;foot");
}

TEST(ProxyPassword, ScramblingIsReversibleAndHidesTheText) {
  for (const std::string& password :
       std::vector<std::string>{"", "a", "aaaaaaaa", "pässwörd with spaces", std::string(200, 'z')}) {
    const std::string stored = proxy_password_scramble(password);
    EXPECT_EQ(proxy_password_unscramble(stored), password);
    if (password.size() > 2) {
      EXPECT_THAT(stored, ::testing::Not(HasSubstr(password.substr(0, 3))));
    }
  }
  // Repeated letters do not repeat in the stored text.
  const std::string stored = proxy_password_scramble("aaaa");
  EXPECT_NE(stored.substr(0, 2), stored.substr(2, 2));
}

TEST(ProxyPassword, TextNoScramblingProducedGivesNothing) {
  EXPECT_EQ(proxy_password_unscramble("abc"), "");       // odd length
  EXPECT_EQ(proxy_password_unscramble("zz"), "");        // not hex
  EXPECT_EQ(proxy_password_unscramble("AB"), "");        // upper case is never written
  EXPECT_EQ(proxy_password_unscramble(std::string("\0\0", 2)), "");
}

TEST(PrefsLook, TextExpanderModeRelabelsAndHidesTheNormalOnlyRows) {
  const PrefsModeLook normal = prefs_mode_look(false), te = prefs_mode_look(true);
  EXPECT_STREQ(normal.delim_label, "_Word-ending characters:");
  EXPECT_STREQ(te.delim_label, "_Delimiters:");
  EXPECT_STREQ(te.case_label, "Default _abbreviation mode:");
  EXPECT_STREQ(te.trigger_label, "Expand all abb_reviations:");
  EXPECT_FALSE(normal.escape_box_visible);
  EXPECT_TRUE(te.escape_box_visible);
  EXPECT_TRUE(normal.normal_only_visible);
  EXPECT_FALSE(te.normal_only_visible);
  EXPECT_NE(normal.trigger_table.data(), te.trigger_table.data());
  EXPECT_THAT(normal.trigger_tooltip, HasSubstr("(set below)"));
  EXPECT_THAT(normal.trigger_tooltip, ::testing::Not(HasSubstr("Preferences")));
  EXPECT_THAT(normal.trigger_tooltip, HasSubstr("(only if typed immediately after the abbreviation is typed)."));
  EXPECT_THAT(normal.case_tooltip, ::testing::StartsWith("The default matching mode for all newly created abbreviations.\n\n"));
}

TEST(PrefsLook, SensitivityFollowsTheBoxesThatGovernIt) {
  PrefsForm form;
  EXPECT_FALSE(prefs_sensitivity(form, false).clipboard_restore);
  form.use_clipboard_more_than = true;
  EXPECT_TRUE(prefs_sensitivity(form, false).clipboard_restore);
  form.use_clipboard_more_than = false;
  form.output_clipboard = true;
  EXPECT_TRUE(prefs_sensitivity(form, false).clipboard_restore);

  EXPECT_FALSE(prefs_sensitivity(form, false).proxy_fields);
  form.proxy_use = true;
  EXPECT_TRUE(prefs_sensitivity(form, false).proxy_fields);

  form.hotkeys[1].enabled = true;
  EXPECT_THAT(prefs_sensitivity(form, false).hotkey_rows, ElementsAre(false, true, false, false));

  form.default_trigger_mode = TRIGGER_IMMEDIATELY;
  EXPECT_TRUE(prefs_sensitivity(form, false).show_tooltips);
  EXPECT_FALSE(prefs_sensitivity(form, true).show_tooltips);
}

TEST(PrefsOk, PlainChangeRunsEveryStepInOrder) {
  OkScene s;
  s.form.play_sound = true;
  ASSERT_TRUE(s.ok());
  EXPECT_THAT(s.steps.calls, ElementsAre("suspend sync", "file locations", "view", "login off",
                                         "hotkeys", "resume sync", "engine", "save prefs",
                                         "consolidate", "te prefs"));
  EXPECT_EQ(s.prefs.get("play_sound"), "1");
  EXPECT_THAT(s.prompts.shown, IsEmpty());
}

TEST(PrefsOk, ForcedTextExpanderModeRefusedStoresNothing) {
  OkScene s;
  const Settings before = s.prefs;
  s.form.use_sync = true;
  s.form.sync_te = true;
  s.form.sync_folder = "/home/ann/Dropbox";
  s.form.play_sound = true;
  s.prompts.answers = {Answer::No};
  EXPECT_FALSE(s.ok());
  EXPECT_EQ(s.prefs, before);
  EXPECT_THAT(s.steps.calls, ElementsAre("suspend sync", "resume sync"));
  ASSERT_EQ(s.prompts.shown.size(), 1u);
  EXPECT_EQ(s.prompts.shown[0].text, kPrefsTeModeForcedQuestion);
}

TEST(PrefsOk, ForcedTextExpanderModeAcceptedSwitchesItOnAndEnablesTheSync) {
  OkScene s;
  s.form.use_sync = true;
  s.form.sync_te = true;
  s.form.sync_folder = "/home/ann/Dropbox";
  s.prompts.answers = {Answer::Yes};
  ASSERT_TRUE(s.ok());
  EXPECT_TRUE(s.form.textexpander_mode);
  EXPECT_EQ(s.prefs.get("textexpander_mode"), "1");
  EXPECT_EQ(s.prefs.get("use_diff_abbrev_dir"), "1");
  EXPECT_EQ(s.prefs.get("sync_te"), "1");
  EXPECT_EQ(s.prefs.get("sync_norm"), "0");
  EXPECT_THAT(s.steps.calls,
              ElementsAre("suspend sync", "te mode on",
                          "te sync /home/ann/Dropbox/TextExpander/Settings.textexpander",
                          "file locations", "view", "login off", "hotkeys", "resume sync",
                          "engine", "save prefs", "consolidate"));  // the TextExpander layer was told by the sync
}

TEST(PrefsOk, BlankDropboxFolderIsRefused) {
  OkScene s;
  const Settings before = s.prefs;
  s.form.use_sync = true;
  EXPECT_FALSE(s.ok());
  EXPECT_EQ(s.prefs, before);
  ASSERT_EQ(s.prompts.shown.size(), 1u);
  EXPECT_EQ(s.prompts.shown[0].text, kPrefsBlankDropboxFolder);
}

TEST(PrefsOk, FailedTextExpanderSyncSwitchesTheModeBack) {
  for (SyncEnabling refusal : {SyncEnabling::Failed, SyncEnabling::Cancelled}) {
    OkScene s;
    const Settings before = s.prefs;
    s.form.textexpander_mode = true;
    s.form.use_sync = true;
    s.form.sync_te = true;
    s.form.sync_folder = "/d";
    s.steps.te_answer = refusal;
    EXPECT_FALSE(s.ok());
    EXPECT_EQ(s.prefs, before);
    EXPECT_THAT(s.steps.calls, ElementsAre("suspend sync", "te mode on",
                                           "te sync /d/TextExpander/Settings.textexpander",
                                           "te mode off", "resume sync"));
  }
}

TEST(PrefsOk, DenestingQuestionCancelledStopsBeforeTheModeSwitches) {
  OkScene s;
  s.steps.nested = true;
  s.form.textexpander_mode = true;
  s.prompts.answers = {Answer::No};
  s.prompts.check_box = true;
  EXPECT_FALSE(s.ok());
  EXPECT_EQ(s.prefs.get("textexpander_mode"), "");
  EXPECT_EQ(s.prefs.get("tenest"), "1");  // the question's own memory
  EXPECT_THAT(s.steps.calls, ElementsAre("suspend sync", "resume sync"));

  // Remembered: no question the next time.
  s.prompts.shown.clear();
  EXPECT_TRUE(s.ok());
  EXPECT_THAT(s.prompts.shown, IsEmpty());
  EXPECT_EQ(s.prefs.get("textexpander_mode"), "1");
}

TEST(PrefsOk, OwnSyncIntoAnEmptyFolderRetriesTheSaveAsTheUserAsks) {
  OkScene s;
  s.form.use_sync = true;
  s.form.sync_folder = "/d";
  s.steps.saves = {Status(Error{"disk full"}), Status(Error{"disk full"})};
  s.prompts.answers = {Answer::Yes, Answer::No};
  const Settings before = s.prefs;
  EXPECT_FALSE(s.ok());
  EXPECT_EQ(s.prefs, before);
  ASSERT_EQ(s.prompts.shown.size(), 2u);
  EXPECT_EQ(s.prompts.shown[0].text,
            "Unable to save currently loaded abbreviations to file '/d/Tolvan/abbreviations.tlv': "
            "disk full. Would you like me to try again?");

  OkScene t;
  t.form.use_sync = true;
  t.form.sync_folder = "/d";
  t.steps.saves = {Status(Error{"disk full"})};
  t.prompts.answers = {Answer::Yes};
  ASSERT_TRUE(t.ok());
  EXPECT_EQ(t.prefs.get("use_diff_abbrev_dir"), "1");
  EXPECT_EQ(t.prefs.get("diff_abbrev_dir"), "/d");
  EXPECT_EQ(t.prefs.get("sync_norm"), "1");
}

TEST(PrefsOk, OwnSyncWithAnExistingFileOffersToSaveChangesThenAsks) {
  OkScene s;
  s.form.use_sync = true;
  s.form.sync_folder = "/d/";
  s.steps.files["/d/Tolvan/abbreviations.tlv"] = true;
  s.steps.own_answer = SyncEnabling::Cancelled;
  const Settings before = s.prefs;
  EXPECT_FALSE(s.ok());
  EXPECT_EQ(s.prefs, before);
  EXPECT_THAT(s.steps.calls, ElementsAre("suspend sync", "save changes first",
                                         "own sync /d/Tolvan/abbreviations.tlv", "resume sync"));

  s.steps.calls.clear();
  s.steps.own_answer = SyncEnabling::SyncWithExisting;
  ASSERT_TRUE(s.ok());
  EXPECT_EQ(s.prefs.get("use_diff_abbrev_dir"), "1");
}

TEST(PrefsOk, SameOwnSyncFolderDoesNotTouchTheFiles) {
  OkScene s;
  s.prefs.set("use_diff_abbrev_dir", "1");
  s.prefs.set("sync_norm", "1");
  s.prefs.set("sync_te", "0");
  s.prefs.set("diff_abbrev_dir", "/d");
  s.form = prefs_form_from_prefs(s.prefs, false);
  ASSERT_TRUE(s.ok());
  for (const std::string& call : s.steps.calls) EXPECT_THAT(call, ::testing::Not(HasSubstr("sync /")));
}

TEST(PrefsOk, LeavingOwnSyncThatCannotSaveBackKeepsTheFolder) {
  OkScene s;
  s.prefs.set("use_diff_abbrev_dir", "1");
  s.prefs.set("sync_norm", "1");
  s.prefs.set("diff_abbrev_dir", "/d");
  s.form = prefs_form_from_prefs(s.prefs, false);
  s.form.use_sync = false;
  s.steps.restore_answer = false;
  const Settings before = s.prefs;
  EXPECT_FALSE(s.ok());
  EXPECT_EQ(s.prefs, before);

  s.steps.restore_answer = true;
  ASSERT_TRUE(s.ok());
  EXPECT_EQ(s.prefs.get("use_diff_abbrev_dir"), "0");
}

TEST(PrefsOk, LeavingTextExpanderSyncForgetsItsMarkers) {
  OkScene s;
  s.prefs.set("tesyncalready", "1");
  s.prefs.set("rdfail", "1");
  ASSERT_TRUE(s.ok());
  EXPECT_FALSE(s.prefs.does_exist("tesyncalready"));
  EXPECT_FALSE(s.prefs.does_exist("rdfail"));
}

TEST(PrefsOk, TurningBackupsOffAsksToDeleteOnlyWhenSomeWereRecorded) {
  OkScene s;
  s.form.auto_backup = false;
  ASSERT_TRUE(s.ok());
  EXPECT_THAT(s.prompts.shown, IsEmpty());

  OkScene t;
  t.prefs.set("backups", "/b/one.tlv|20260101");
  t.form.auto_backup = false;
  t.prompts.answers = {Answer::Yes};
  ASSERT_TRUE(t.ok());
  ASSERT_EQ(t.prompts.shown.size(), 1u);
  EXPECT_EQ(t.prompts.shown[0].text, kPrefsDeleteBackupsQuestion);
  EXPECT_THAT(t.steps.calls, ::testing::Contains("delete backups"));

  OkScene u;
  u.prefs.set("auto_backup", "0");
  u.form.auto_backup = true;
  ASSERT_TRUE(u.ok());
  EXPECT_THAT(u.steps.calls, ::testing::Contains("create backup"));
}

TEST(PrefsOk, BackupFolderMovesUnlessOnlyItsCaseOrSeparatorChanged) {
  OkScene s;
  s.prefs.set("backup_dir", "/home/ann/Backups");
  s.form.backup_dir = "/HOME/ann/backups/";
  ASSERT_TRUE(s.ok());
  for (const std::string& call : s.steps.calls) EXPECT_THAT(call, ::testing::Not(HasSubstr("move")));

  s.form.backup_dir = "/media/usb/b/";
  s.steps.calls.clear();
  ASSERT_TRUE(s.ok());
  EXPECT_THAT(s.steps.calls, ElementsAre("suspend sync", "file locations", "view", "login off",
                                         "hotkeys", "resume sync", "engine", "save prefs",
                                         "consolidate", "move backups /media/usb/b", "te prefs"));
}

TEST(PrefsOk, BottomButtonsChangeIsReportedToTheMainWindow) {
  OkScene s;
  s.form.show_bottom_buttons = !s.form.show_bottom_buttons;
  ASSERT_TRUE(s.ok());
  EXPECT_THAT(s.steps.calls, ::testing::Contains("view (bottom buttons)"));
}

TEST(PrefsOk, TypoSetNoticeWhenTextExpanderModeComesOn) {
  OkScene s;
  s.steps.typo_folder = true;
  s.form.textexpander_mode = true;
  s.prompts.check_box = true;
  ASSERT_TRUE(s.ok());
  ASSERT_EQ(s.prompts.shown.size(), 1u);
  EXPECT_EQ(s.prompts.shown[0].text, kPrefsTypoSetNotice);
  EXPECT_EQ(s.prefs.get("tasag"), "1");

  s.prompts.shown.clear();
  ASSERT_TRUE(s.ok());  // answered "don't show again"
  EXPECT_THAT(s.prompts.shown, IsEmpty());

  OkScene word_endings;
  word_endings.steps.typo_folder = true;
  word_endings.form.textexpander_mode = true;
  word_endings.form.default_trigger_mode = 5;
  ASSERT_TRUE(word_endings.ok());
  EXPECT_THAT(word_endings.prompts.shown, IsEmpty());
}

}  // namespace
}  // namespace tolvan
