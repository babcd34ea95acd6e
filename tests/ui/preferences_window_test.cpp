// The Preferences window on a real display: filled from the preferences, a change stored by
// OK and not by Cancel, the TextExpander look following its box, the word-ending entry
// refusing the boxes' characters and the hotkey rows' conflict warnings.
#include <gtkmm/label.h>

#include <algorithm>

#include "gtk_test_support.h"
#include "presenters/file_dialogs.h"
#include "settings/prefs.h"
#include "support/recording_preferences_steps.h"
#include "support/recording_prompts.h"
#include "ui/preferences_window.h"

namespace tolvan::ui {
namespace {

using testing::settle;
using testing::turn_until;

class NoDialogs final : public FileDialogs {
 public:
  std::optional<std::string> browse_for_file(const OpenFileRequest&) override { return std::nullopt; }
  std::optional<std::string> browse_for_save_file_name(const SaveFileRequest&) override {
    return std::nullopt;
  }
  std::optional<std::string> browse_for_folder(const std::string&, const std::string&) override {
    return std::nullopt;
  }
};

class PreferencesWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TOLVAN_NEED_DISPLAY();
    gvar.set("current_appdata_dir", "/tmp/tolvan-prefs-test");
    prefs_set_defaults(prefs, gvar);
    prefs.set("play_sound", "0");
    prefs.set("proxy_host", "proxy.example");
    main_window = std::make_unique<Gtk::Window>();
    window = std::make_unique<PreferencesWindow>(PreferencesWindowDeps{
        prefs, gvar, library, prompts, dialogs, steps, [] { return std::optional<std::string>("/home/ann/Dropbox"); }});
  }

  void show() {
    window->show_over(main_window.get());
    ASSERT_TRUE(turn_until([&] { return window->get_mapped(); }));
    settle();
  }

  Settings prefs;
  RunTimeVariables gvar;
  Library library;
  tolvan::testing::RecordingPrompts prompts;
  NoDialogs dialogs;
  tolvan::testing::RecordingPreferencesSteps steps{prefs};

  long calls(const std::string& name) const { return std::count(steps.calls.begin(), steps.calls.end(), name); }
  std::unique_ptr<Gtk::Window> main_window;  // made once GTK runs
  std::unique_ptr<PreferencesWindow> window;
};

TEST_F(PreferencesWindowTest, ShowsTheStoredPreferencesOnSevenPages) {
  show();
  EXPECT_EQ(window->get_title(), "Preferences");
  EXPECT_FALSE(window->get_resizable());
  EXPECT_TRUE(window->get_modal());
  EXPECT_EQ(window->get_transient_for(), main_window.get());
  ASSERT_EQ(window->notebook().get_n_pages(), 7);
  std::vector<std::string> titles;
  for (int i = 0; i < 7; ++i) titles.push_back(window->notebook().get_tab_label_text(*window->notebook().get_nth_page(i)));
  EXPECT_EQ(titles, (std::vector<std::string>{"General", "Cool Stuff", "Interface", "Hotkeys",
                                               "Dropbox Sync", "Backups", "Proxy"}));

  const PrefsForm shown = window->form();
  EXPECT_EQ(shown.proxy_host, "proxy.example");
  EXPECT_EQ(shown.delim_entry, ",.?!()<>[]{}:;\"/\\-'");
  EXPECT_TRUE(shown.delim_space);
  EXPECT_FALSE(shown.play_sound);
  EXPECT_EQ(shown.hotkeys[0].row, (HotkeyRow{true, false, false, false, 0x20}));
  EXPECT_EQ(shown.sync_folder, "/home/ann/Dropbox");  // detected, as the stored one is empty
  EXPECT_EQ(window->delim_entry().get_accessible()->get_name(), "Word-ending characters");
}

TEST_F(PreferencesWindowTest, OkStoresAChangeAndCancelDoesNot) {
  show();
  window->play_sound_box().set_active(true);
  window->cancel_button().clicked();
  settle();
  EXPECT_FALSE(window->get_visible());
  EXPECT_EQ(prefs.get("play_sound"), "0");
  EXPECT_EQ(calls("save prefs"), 0);

  show();
  EXPECT_FALSE(window->play_sound_box().get_active());  // filled afresh
  window->play_sound_box().set_active(true);
  window->ok_button().clicked();
  settle();
  EXPECT_FALSE(window->get_visible());
  EXPECT_EQ(prefs.get("play_sound"), "1");
  EXPECT_EQ(calls("save prefs"), 1);
  EXPECT_EQ(calls("hotkeys"), 1);
}

TEST_F(PreferencesWindowTest, TextExpanderBoxRelabelsTheWindowUntilItHides) {
  show();
  EXPECT_EQ(window->delim_label().get_label(), "_Word-ending characters:");
  EXPECT_FALSE(window->escape_box().get_visible());
  window->te_mode_box().set_active(true);
  ASSERT_TRUE(turn_until([&] { return window->shows_te_look(); }));
  EXPECT_EQ(window->delim_label().get_label(), "_Delimiters:");
  EXPECT_EQ(window->delim_entry().get_accessible()->get_name(), "Delimiters");
  EXPECT_TRUE(window->escape_box().get_visible());

  window->cancel_button().clicked();
  settle();
  EXPECT_FALSE(window->shows_te_look());
  EXPECT_EQ(window->delim_label().get_label(), "_Word-ending characters:");
  EXPECT_EQ(prefs.get("textexpander_mode"), "");
}

TEST_F(PreferencesWindowTest, EscapeIsCancel) {
  show();
  window->play_sound_box().set_active(true);
  GdkEventKey escape{};
  escape.type = GDK_KEY_PRESS;
  escape.window = window->get_window()->gobj();
  escape.keyval = GDK_KEY_Escape;
  gtk_widget_event(GTK_WIDGET(window->gobj()), reinterpret_cast<GdkEvent*>(&escape));
  settle();
  EXPECT_FALSE(window->get_visible());
  EXPECT_EQ(prefs.get("play_sound"), "0");
}

TEST_F(PreferencesWindowTest, SyncModeThatNeedsTextExpanderModeTicksItsBox) {
  show();
  PrefsForm form = window->form();
  form.use_sync = true;
  form.sync_te = true;
  window->fill(form);
  prompts.answers = {Answer::Yes};  // TextExpander mode switched on
  window->ok_button().clicked();
  settle();
  EXPECT_TRUE(window->te_mode_box().get_active());
  EXPECT_EQ(prefs.get("textexpander_mode"), "1");
  EXPECT_EQ(prefs.get("sync_te"), "1");
  EXPECT_FALSE(window->get_visible());
}

TEST_F(PreferencesWindowTest, WordEndingEntryRefusesTheBoxesCharacters) {
  show();
  window->delim_entry().set_text("");
  int position = 0;
  window->delim_entry().insert_text("a b\tc", 5, position);
  EXPECT_EQ(window->delim_entry().get_text(), "abc");
}

TEST_F(PreferencesWindowTest, SameCombinationOnTwoEnabledRowsShowsTheWarning) {
  show();
  EXPECT_FALSE(window->hotkey_warning(0).get_visible());
  window->hotkey_enable(2).set_active(true);
  window->hotkey_row(2).set_hotkey({true, false, false, false, 0x20});  // the launch pad's
  settle();
  EXPECT_TRUE(window->hotkey_warning(0).get_visible());
  EXPECT_TRUE(window->hotkey_warning(2).get_visible());
  EXPECT_NE(window->hotkey_warning(2).get_tooltip_text().find("LaunchPad hotkey"), std::string::npos);

  window->hotkey_enable(2).set_active(false);
  settle();
  EXPECT_FALSE(window->hotkey_warning(0).get_visible());
  EXPECT_FALSE(window->hotkey_warning(2).get_visible());
}

}  // namespace
}  // namespace tolvan::ui
