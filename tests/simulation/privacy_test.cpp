// Password fields: what the user types into one never expands and is not remembered, so
// it cannot complete an abbreviation later either.
#include "scenario.h"

namespace tolvan::testing {
namespace {

SCENARIO_SUITE_IN_BOTH_MODES(PasswordField);

void set_secret(Scenario& s, WindowId window, bool secret) {
  s.desktop().with_field(window, [secret](sim::TextField& field) { field.set_secret(secret); });
}

TEST_P(PasswordField, NoTriggerModeExpandsThere) {
  s.add({"btw"}, "by the way", TRIGGER_WORD_ENDING);
  s.add({"qqi"}, "immediately");
  s.add({"sig"}, "Kind regards", TRIGGER_KEY);
  Simulation& sim = s.start();
  set_secret(s, sim.window(), true);
  EXPECT_EQ(s.type("btw qqi sig{Ctrl}"), "btw qqi sig");

  // The same words in an ordinary field of another window expand.
  s.desktop().focus(sim.other_window());
  EXPECT_EQ(s.type("btw qqi"), "by the way immediately");
}

TEST_P(PasswordField, WhatWasTypedThereIsForgottenWhenTheFocusLeaves) {
  s.add({"btw"}, "by the way", TRIGGER_WORD_ENDING);
  s.add({"pw1"}, "expanded");
  Simulation& sim = s.start();
  // The focus moves between a password control and an ordinary one of the same window.
  set_secret(s, sim.window(), true);
  EXPECT_EQ(s.type("btw"), "btw");
  set_secret(s, sim.window(), false);
  EXPECT_EQ(s.type(" "), "btw ") << "the delimiter must not complete the secret word";

  set_secret(s, sim.window(), true);
  EXPECT_EQ(s.type("pw"), "btw pw");
  set_secret(s, sim.window(), false);
  EXPECT_EQ(s.type("1"), "btw pw1");
}

TEST_P(PasswordField, WhatCameBeforeItIsForgottenToo) {
  s.add({"btw"}, "by the way");
  Simulation& sim = s.start();
  EXPECT_EQ(s.type("bt"), "bt");
  set_secret(s, sim.window(), true);
  EXPECT_EQ(s.type("x"), "btx");
  set_secret(s, sim.window(), false);
  EXPECT_EQ(s.type("w"), "btxw") << "no abbreviation spans a password";
  // Afterwards the ordinary field expands again.
  EXPECT_EQ(s.type(" btw"), "btxw by the way");
}

TEST_P(PasswordField, AnAbbreviationWaitingForTheTriggerKeyIsDropped) {
  s.add({"sig"}, "Kind regards", TRIGGER_KEY);
  Simulation& sim = s.start();
  EXPECT_EQ(s.type("sig"), "sig");
  set_secret(s, sim.window(), true);
  EXPECT_EQ(s.type("x"), "sigx");
  set_secret(s, sim.window(), false);
  EXPECT_EQ(s.type("{Ctrl}"), "sigx");
  EXPECT_EQ(s.type(" sig{Ctrl}"), "sigx Kind regards");
}

}  // namespace
}  // namespace tolvan::testing
