// The tray icon's behaviour: the state it shows, the menu's check item, the clicks.
#include "presenters/tray_presenter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tolvan {
namespace {

class FakeTray;

// The program: a state that may refuse to change, and a record of what was asked.
class FakeProgram final : public TrayActions {
 public:
  std::vector<std::string> asked;
  int current = 0;
  bool hook_can_change = true;
  bool ctrl = false;
  TrayPresenter* presenter = nullptr;

  void show_main_window() override { asked.push_back("show main window"); }
  // tolvan_set_state: a change that succeeds ends in the tray being told.
  void set_state(int state) override {
    asked.push_back("set state " + std::to_string(state));
    if (!hook_can_change && state != current) return;
    current = state;
    presenter->app_state_changed(state);
  }
  int state() const override { return current; }
  void quit() override { asked.push_back("quit"); }
  bool ctrl_held() const override { return ctrl; }
};

// A tray whose check item reports changes like a toolkit's check item does.
class FakeTray final : public TrayView {
 public:
  std::vector<std::string> shown;
  bool checked = true;
  int menus = 0;
  TrayPresenter* presenter = nullptr;

  void show_icon(TrayPicture picture, const std::string& tooltip) override {
    shown.push_back((picture == TrayPicture::Enabled ? "enabled|" : "disabled|") + tooltip);
  }
  void remove_icon() override { shown.push_back("removed"); }
  void set_enabled_checked(bool value) override {
    if (value == checked) return;
    checked = value;
    presenter->menu_chosen(TrayMenuAction::Enabled, value);  // "toggled"
  }
  void pop_up_menu(int button, uint32_t) override {
    EXPECT_EQ(button, 3);
    ++menus;
  }
};

struct Tray {
  FakeTray view;
  FakeProgram program;
  TrayPresenter presenter{view, program};
  Tray() {
    view.presenter = &presenter;
    program.presenter = &presenter;
  }
};

TEST(TrayPresenter, MenuIsOpenEnabledExitWithSeparators) {
  std::string menu;
  for (const TrayMenuItem& item : tray_menu_items()) {
    menu += item.kind == TrayMenuItem::Kind::Separator   ? "--"
            : item.kind == TrayMenuItem::Kind::CheckItem ? std::string("[x]") + item.label
                                                         : std::string(item.label);
    menu += ";";
  }
  EXPECT_EQ(menu, "_Open Tolvan;--;[x]_Enabled;--;E_xit;");
}

TEST(TrayPresenter, ShowsTheStateInPictureTooltipAndCheckItem) {
  Tray t;
  t.presenter.set_visible(true);
  t.presenter.app_state_changed(1);
  t.presenter.app_state_changed(0);
  EXPECT_EQ(t.view.shown, (std::vector<std::string>{"enabled|Tolvan - Enabled",
                                                    "disabled|Tolvan - Disabled",
                                                    "enabled|Tolvan - Enabled"}));
  EXPECT_TRUE(t.view.checked);
  // The check item's own "toggled", from being set, asks for nothing.
  EXPECT_TRUE(t.program.asked.empty());
}

TEST(TrayPresenter, HiddenIconRemembersTheStateAndComesBackInIt) {
  Tray t;
  t.presenter.app_state_changed(1);
  EXPECT_TRUE(t.view.shown.empty()) << "nothing shown before it is made visible";
  t.presenter.set_visible(true);
  t.presenter.host_restarted();
  t.presenter.set_visible(false);
  t.presenter.set_visible(false);
  EXPECT_EQ(t.view.shown, (std::vector<std::string>{"disabled|Tolvan - Disabled", "removed",
                                                    "disabled|Tolvan - Disabled", "removed"}));
}

TEST(TrayPresenter, LeftClickOpensAndCtrlLeftClickFlips) {
  Tray t;
  t.presenter.set_visible(true);
  t.presenter.clicked(1, 0, false);
  EXPECT_EQ(t.program.asked, (std::vector<std::string>{"show main window"}));

  t.program.asked.clear();
  t.presenter.clicked(1, 0, true);
  EXPECT_EQ(t.program.current, 1);
  EXPECT_EQ(t.view.shown.back(), "disabled|Tolvan - Disabled");
  EXPECT_FALSE(t.view.checked);

  // A host that gives no modifiers: the keyboard says whether Ctrl is held.
  t.program.ctrl = true;
  t.presenter.clicked(1, 0, std::nullopt);
  EXPECT_EQ(t.program.current, 0);
  EXPECT_EQ(t.view.shown.back(), "enabled|Tolvan - Enabled");
  t.program.ctrl = false;
  t.program.asked.clear();
  t.presenter.clicked(1, 0, std::nullopt);
  EXPECT_EQ(t.program.asked, (std::vector<std::string>{"show main window"}));
}

TEST(TrayPresenter, RightClickRefreshesTheCheckItemBeforeTheMenu) {
  Tray t;
  t.presenter.set_visible(true);
  t.program.current = 1;  // changed behind the tray's back
  t.presenter.clicked(3, 1234, std::nullopt);
  EXPECT_EQ(t.view.menus, 1);
  EXPECT_FALSE(t.view.checked);
  EXPECT_EQ(t.view.shown.back(), "disabled|Tolvan - Disabled");
  // Middle does nothing at all.
  t.program.asked.clear();
  t.presenter.clicked(2, 0, true);
  EXPECT_TRUE(t.program.asked.empty());
  EXPECT_EQ(t.view.menus, 1);
}

TEST(TrayPresenter, MenuItemsAndAStateThatCannotChange) {
  Tray t;
  t.presenter.set_visible(true);
  t.presenter.menu_chosen(TrayMenuAction::Open);
  t.presenter.menu_chosen(TrayMenuAction::Enabled, false);
  EXPECT_EQ(t.program.current, 1);
  t.presenter.menu_chosen(TrayMenuAction::Exit);
  EXPECT_EQ(t.program.asked,
            (std::vector<std::string>{"show main window", "set state 1", "quit"}));

  // The hook cannot come back: the item stays as the user left it until the menu shows
  // again, and then shows the real state.
  t.program.hook_can_change = false;
  t.view.checked = true;  // the user ticked it
  t.presenter.menu_chosen(TrayMenuAction::Enabled, true);
  EXPECT_EQ(t.program.current, 1);
  t.presenter.clicked(3, 0, std::nullopt);
  EXPECT_FALSE(t.view.checked);
  EXPECT_EQ(t.view.shown.back(), "disabled|Tolvan - Disabled");
}

}  // namespace
}  // namespace tolvan
