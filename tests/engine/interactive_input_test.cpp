// Interactive input: the default text typed and selected, the user's typing over it, and
// how Tab, Escape, a caret key or another window end it.
#include "output_test_support.h"
#include "support/swallow_modes.h"

namespace tolvan::testing {
namespace {

// On a desktop that can swallow the user's Tab and on one that cannot, where the output
// thread grabs it for the time the input waits.
class KeysimInteractive : public ::testing::TestWithParam<bool> {
 protected:
  bool swallowing() const { return GetParam(); }
  sim::DesktopOptions desktop() const { return {.can_swallow = swallowing()}; }
  // What becomes of the user's Tab that ends the input.
  sim::EventFate continue_key_fate() const {
    return swallowing() ? sim::EventFate::Swallowed : sim::EventFate::Grabbed;
  }
};
RUN_IN_BOTH_SWALLOW_MODES(KeysimInteractive);

// Runs one replacement here while `act` plays the user once the output waits for him.
void expand_with_user(KeysimScene& s, const std::string& typed, const std::string& expansion,
                      std::function<void(sim::User&)> act) {
  auto record = s.typed(typed, expansion);
  std::thread user = s.user_when_asked(std::move(act));
  s.keysim.handle(*record);
  user.join();
  s.desktop.wait_input_idle();
}

TEST_P(KeysimInteractive, TheUserTypesOverTheSelectedDefaultAndTabGoesOn) {
  KeysimScene s(desktop());
  std::string seen_selection;
  expand_with_user(s, "dr", "Dear %(Input name),", [&](sim::User& user) {
    seen_selection = s.selection();
    ASSERT_TRUE(user.type("Bob").ok());
    user.tap(vk::Tab);
  });
  EXPECT_EQ(seen_selection, "Dear |name^");
  EXPECT_EQ(s.text(), "Dear Bob,|");
  EXPECT_FALSE(s.ii.mode_enabled());
  // The hook watched the keys during the input and stepped aside again afterwards.
  EXPECT_EQ(s.hook.before_replace_calls, 1);
  EXPECT_EQ(std::count(s.hook.posts.begin(), s.hook.posts.end(), MonMessage::EnableHook), 2);
  // The Tab never reached the application.
  int tabs = 0;
  for (const auto& e : s.desktop.log().events()) {
    if (e.key.injected || e.key.vk != vk::Tab || !e.key.down()) continue;
    ++tabs;
    EXPECT_EQ(e.fate, continue_key_fate());
  }
  EXPECT_EQ(tabs, 1);
}

TEST_P(KeysimInteractive, TheCaretMarkBeforeTheInputStaysWhereItWas) {
  for (std::string name : {"Al", "Bartholomew"}) {
    KeysimScene s(desktop());
    expand_with_user(s, "dr", "Dear %(cursor), %(Input name)", [&](sim::User& user) {
      ASSERT_TRUE(user.type(name).ok());
      user.tap(vk::Tab);
    });
    EXPECT_EQ(s.text(), "Dear |, " + name);
  }
}

TEST_P(KeysimInteractive, EscapeAbandonsTheRestOfTheExpansion) {
  KeysimScene s(desktop());
  expand_with_user(s, "dr", "Dear %(Input name), welcome%(cursor)!", [](sim::User& user) {
    user.tap(vk::Escape);
  });
  EXPECT_EQ(s.selection(), "Dear |name^");
  EXPECT_EQ(s.count_injected("inject down Left"), 4);  // the selection only: no caret move
  EXPECT_FALSE(s.ii.mode_enabled());
}

TEST_P(KeysimInteractive, ACaretKeyKeepsTheDefaultAndCountsIt) {
  KeysimScene s(desktop());
  // Caret mark first, so the count decides where the caret ends up.
  expand_with_user(s, "x", "A%(cursor)B%(Input xy)C", [](sim::User& user) {
    user.tap(vk::Right);
    user.tap(vk::Tab);
  });
  EXPECT_EQ(s.text(), "A|BxyC");
}

TEST_P(KeysimInteractive, AnotherWindowAbandonsTheInputUnlessToldToGoOn) {
  KeysimScene s(desktop());
  WindowId other = s.desktop.add_window("Edit");
  expand_with_user(s, "dr", "Dear %(Input name), welcome", [&](sim::User&) { s.desktop.focus(other); });
  EXPECT_EQ(s.desktop.text(s.window), "Dear name");
  EXPECT_EQ(s.desktop.text(other), "");

  // Going on, the input still ends with Tab.
  KeysimScene go_on(desktop());
  go_on.set_prefs([](OutputPrefs& p) { p.cont_window_changed = true; });
  WindowId second = go_on.desktop.add_window("Edit");
  expand_with_user(go_on, "dr", "Dear %(Input name)!", [&](sim::User& user) {
    go_on.desktop.focus(second);
    go_on.desktop.focus(go_on.window);
    ASSERT_TRUE(user.type("Ann").ok());
    user.tap(vk::Tab);
  });
  EXPECT_EQ(go_on.text(), "Dear Ann!|");
}

TEST_P(KeysimInteractive, AnInputWithoutDefaultSelectsNothing) {
  KeysimScene s(desktop());
  expand_with_user(s, "q", "Q: %(Input)?", [](sim::User& user) {
    ASSERT_TRUE(user.type("why").ok());
    user.tap(vk::Tab);
  });
  EXPECT_EQ(s.text(), "Q: why?|");
}

TEST_P(KeysimInteractive, TabIsKeptFromTheApplicationForTheInputOnly) {
  KeysimScene s(desktop());
  expand_with_user(s, "dr", "Dear %(Input name),", [](sim::User& user) {
    ASSERT_TRUE(user.type("Bob").ok());
    user.tap(vk::Tab);
  });
  EXPECT_EQ(s.text(), "Dear Bob,|");
  // The key-down was kept from the application (its key-up may come after the grab ended).
  std::vector<sim::EventFate> tab_downs;
  for (const auto& e : s.desktop.log().events())
    if (e.key.vk == vk::Tab && e.key.down()) tab_downs.push_back(e.fate);
  EXPECT_EQ(tab_downs, std::vector<sim::EventFate>{continue_key_fate()});
  // Afterwards Tab is the application's again.
  s.user.tap(vk::Tab);
  s.desktop.wait_input_idle();
  EXPECT_EQ(s.text(), "Dear Bob,\t|");
}

TEST_P(KeysimInteractive, InAPastedRunTheTextBeforeTheInputIsPastedFirst) {
  KeysimScene s(desktop());
  s.set_prefs([](OutputPrefs& p) { p.output_method = OutputMethod::kClipboard; });
  expand_with_user(s, "dr", "Dear %(Input name), bye", [](sim::User& user) {
    ASSERT_TRUE(user.type("Bob").ok());
    user.tap(vk::Tab);
  });
  EXPECT_EQ(s.text(), "Dear Bob, bye|");
  EXPECT_EQ(s.count_injected("inject down V"), 3);  // before, the default, after
}

}  // namespace
}  // namespace tolvan::testing
