// LaunchPadPresenter: the launch pad's behaviour without its toolkit. The launch pad is a
// small window with one entry where the user types a launcher's abbreviation; the keyboard
// monitor recognises it there like anywhere else. It is made hidden at start-up, shown on
// the hotkey (a second press only brings it to the front, keeping what was typed), hidden
// by Escape and before a launcher typed into it starts; hiding empties the entry.
#pragma once

#include <functional>
#include <memory>

namespace tolvan {

inline constexpr const char* kLaunchPadTitle = "Tolvan LaunchPad";
inline constexpr const char* kLaunchPadText =
    "Type the abbreviation you assigned to the program, website,\nfile, or folder you wish to "
    "launch, or press Escape to cancel.";
inline constexpr const char* kLaunchPadEntryLabel = "_Abbreviation: ";
inline constexpr int kLaunchPadEntryChars = 40;

class LaunchPadView {
 public:
  virtual ~LaunchPadView() = default;
  virtual void show_all() = 0;
  // Brings the window to the front with the keyboard focus.
  virtual void present() = 0;
  virtual void hide() = 0;
  virtual void clear_entry() = 0;
};

// What a key pressed in the entry becomes.
enum class LaunchPadKey { Other, Tab, Return, Escape };
enum class LaunchPadKeyAnswer {
  Pass,     // the entry handles it
  AsSpace,  // typed as a space: it neither moves the focus nor activates anything, while
            // the keyboard monitor still sees the real key as the abbreviation's delimiter
  Hide,     // handled: the launch pad hides
};

class LaunchPadPresenter {
 public:
  // `make_view` builds the window the first time it is needed.
  using ViewFactory = std::function<std::unique_ptr<LaunchPadView>(LaunchPadPresenter&)>;
  explicit LaunchPadPresenter(ViewFactory make_view);
  ~LaunchPadPresenter();
  LaunchPadPresenter(const LaunchPadPresenter&) = delete;
  LaunchPadPresenter& operator=(const LaunchPadPresenter&) = delete;

  // launchpad_show: created hidden at start-up (`create_hidden`), shown and brought to the
  // front by the hotkey.
  void show(bool create_hidden);
  // Hides the window and empties the entry.
  void hide();
  LaunchPadKeyAnswer key_pressed(LaunchPadKey key);
  // At quit.
  void destroy();

  bool exists() const { return view_ != nullptr; }
  bool shown_once() const { return shown_all_; }
  bool visible() const { return visible_; }

 private:
  ViewFactory make_view_;
  std::unique_ptr<LaunchPadView> view_;
  bool shown_all_ = false;
  bool visible_ = false;
};

}  // namespace tolvan
