// Test doubles for the tooltip: a view that records what it shows, and main-loop timers
// that the test fires by hand.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "engine/tooltip/tooltip.h"

namespace tolvan {

struct RecordingTooltipView final : TooltipView {
  struct Shown {
    int x, y;
    std::string text;
  };
  void show(int x, int y, const std::string& text) override { shown.push_back({x, y, text}); }
  void hide() override { ++hides; }
  std::vector<Shown> shown;
  int hides = 0;
};

struct ManualTimers final : MainLoopTimers {
  void after(uint32_t ms, std::function<void()> callback) override {
    pending.push_back({ms, std::move(callback)});
  }
  void run(size_t index) { pending.at(index).second(); }
  std::vector<std::pair<uint32_t, std::function<void()>>> pending;
};

}  // namespace tolvan
