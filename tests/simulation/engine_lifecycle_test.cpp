// Starting and stopping the engine, the enable switch and preferences changed while it runs.
#include "scenario.h"

#include "platform/vk_codes.h"

namespace tolvan::testing {
namespace {

struct Bare {
  Bare() {
    abbr_ensure_absolute_parent(library.main_list, library.uids);
    RunTimeVariables gvar;
    prefs_set_defaults(prefs, gvar);
    window = desktop.add_window("Edit");
    desktop.focus(window);
  }
  Library library;
  Settings prefs;
  sim::Desktop desktop;
  WindowId window;
};

TEST(EngineLifecycle, StartsBothHooksAndStopsCleanly) {
  Bare b;
  Engine engine(b.desktop.platform(), b.library, {});
  ASSERT_TRUE(engine.start());
  EXPECT_EQ(engine.installed_hooks(), (InstalledHooks{.keyboard = true, .mouse = true}));
  EXPECT_TRUE(b.desktop.keyboard_hook_installed());
  EXPECT_TRUE(engine.stop(false));
  EXPECT_EQ(engine.installed_hooks(), InstalledHooks{});
  EXPECT_FALSE(b.desktop.keyboard_hook_installed());
  EXPECT_TRUE(engine.stop(true)) << "stopping twice is harmless";
}

TEST(EngineLifecycle, AFailedStartIsUndone) {
  Bare b;
  Engine engine(b.desktop.platform(), b.library, {});
  b.desktop.fail_next_hook_install();
  EXPECT_FALSE(engine.start());
  EXPECT_EQ(engine.installed_hooks(), InstalledHooks{});
  EXPECT_FALSE(b.desktop.keyboard_hook_installed());
  EXPECT_TRUE(engine.start()) << "a later start works";
}

TEST(EngineLifecycle, AHookThatCannotBeRemovedKeepsTheHookThreadUnlessForced) {
  Bare b;
  Engine engine(b.desktop.platform(), b.library, {});
  ASSERT_TRUE(engine.start());
  b.desktop.fail_next_hook_uninstall();
  EXPECT_FALSE(engine.stop(false));
  EXPECT_TRUE(engine.enabled()) << "the keyboard hook is still there";
  EXPECT_TRUE(engine.stop(true));
  EXPECT_FALSE(b.desktop.keyboard_hook_installed());
}

SCENARIO_SUITE_IN_BOTH_MODES(RunningEngine);

TEST_P(RunningEngine, PreferencesChangedWhileRunningApplyAtOnce) {
  s.add({"btw"}, "by the way", TRIGGER_KEY);
  s.start();
  EXPECT_EQ(s.type("btw{Ctrl}"), "by the way");
  s.prefs.set("trigger_hotkey", "123");  // F12
  s.simulation->engine().prefs_reloaded(s.prefs);
  EXPECT_EQ(s.type(" btw{Ctrl}"), "by the way btw");
  EXPECT_EQ(s.type("{F12}"), "by the way by the way");
}

}  // namespace
}  // namespace tolvan::testing
