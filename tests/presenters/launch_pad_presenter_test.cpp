// The launch pad's life: made hidden, shown by the hotkey, brought forward by a second
// press with the entry untouched, hidden and emptied by Escape, Tab and Return typed as
// spaces.
#include "presenters/launch_pad_presenter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tolvan {
namespace {

class RecordingView final : public LaunchPadView {
 public:
  explicit RecordingView(std::vector<std::string>& log) : log_(log) { log_.push_back("build"); }
  ~RecordingView() override { log_.push_back("destroy"); }
  void show_all() override { log_.push_back("show all"); }
  void present() override { log_.push_back("present"); }
  void hide() override { log_.push_back("hide"); }
  void clear_entry() override { log_.push_back("clear"); }

 private:
  std::vector<std::string>& log_;
};

struct Pad {
  std::vector<std::string> log;
  LaunchPadPresenter presenter{[this](LaunchPadPresenter&) {
    return std::make_unique<RecordingView>(log);
  }};
};

using Log = std::vector<std::string>;

TEST(LaunchPadPresenter, MadeHiddenAtStartThenShownOnceAndPresentedOnEveryPress) {
  Pad pad;
  pad.presenter.show(true);
  EXPECT_EQ(pad.log, (Log{"build"}));
  EXPECT_FALSE(pad.presenter.visible());
  EXPECT_FALSE(pad.presenter.shown_once());
  pad.presenter.show(false);
  pad.presenter.show(false);
  EXPECT_EQ(pad.log, (Log{"build", "show all", "present", "present"}));
  EXPECT_TRUE(pad.presenter.visible());
}

TEST(LaunchPadPresenter, FirstPressWithoutStartBuildsAndShows) {
  Pad pad;
  pad.presenter.show(false);
  pad.presenter.show(false);
  EXPECT_EQ(pad.log, (Log{"build", "show all", "present", "present"}));
}

TEST(LaunchPadPresenter, EscapeHidesAndEmptiesTabAndReturnBecomeSpaces) {
  Pad pad;
  pad.presenter.show(false);
  pad.log.clear();
  EXPECT_EQ(pad.presenter.key_pressed(LaunchPadKey::Tab), LaunchPadKeyAnswer::AsSpace);
  EXPECT_EQ(pad.presenter.key_pressed(LaunchPadKey::Return), LaunchPadKeyAnswer::AsSpace);
  EXPECT_EQ(pad.presenter.key_pressed(LaunchPadKey::Other), LaunchPadKeyAnswer::Pass);
  EXPECT_TRUE(pad.log.empty());
  EXPECT_EQ(pad.presenter.key_pressed(LaunchPadKey::Escape), LaunchPadKeyAnswer::Hide);
  EXPECT_EQ(pad.log, (Log{"hide", "clear"}));
  EXPECT_FALSE(pad.presenter.visible());
  // Shown again: its widgets were shown before, so it is only presented.
  pad.presenter.show(false);
  EXPECT_EQ(pad.log, (Log{"hide", "clear", "present"}));
}

TEST(LaunchPadPresenter, HideAndDestroyBeforeCreationDoNothingAndDestroyStartsOver) {
  Pad pad;
  pad.presenter.hide();
  pad.presenter.destroy();
  EXPECT_TRUE(pad.log.empty());
  pad.presenter.show(false);
  pad.presenter.destroy();
  EXPECT_FALSE(pad.presenter.exists());
  pad.presenter.show(true);
  EXPECT_EQ(pad.log, (Log{"build", "show all", "present", "destroy", "build"}));
}

}  // namespace
}  // namespace tolvan
