#include "engine/tooltip/tooltip.h"

#include "library/folder_tree.h"

namespace tolvan {

Tooltip::Tooltip(TooltipView& view, MainLoopTimers& timers, Windows& windows,
                 MacroEnvironment env)
    : view_(view), timers_(timers), windows_(windows), env_(std::move(env)) {}

void Tooltip::set_prefs(Settings& prefs) {
  OutputPrefs keysim = OutputPrefs::from(prefs);
  std::lock_guard lock(mutex_);
  prefs_ = keysim;
  skip_unreported_caret_ = prefs.get_int("dont_tooltip_invalid_cursor") != 0;
}

void Tooltip::schedule(const Abbreviation& abbreviation, std::string typed) {
  uint64_t show_id = 0;
  {
    std::lock_guard lock(mutex_);
    if (destroyed_) return;
    abbreviation_ = abbr_duplicate_abbrev(abbreviation, nullptr);
    typed_ = std::move(typed);
    show_id = timer_id_;
    timer_id_ += 2;
  }
  timers_.after(kTooltipShowDelayMs, [this, show_id] { show_due(show_id); });
  timers_.after(kTooltipHideDelayMs, [this, show_id] { hide_due(show_id + 1); });
}

std::optional<std::string> Tooltip::preview_text(const Abbreviation& abbreviation,
                                                 std::string_view typed,
                                                 const OutputPrefs& prefs,
                                                 const MacroEnvironment& env) {
  switch (abbreviation.type()) {
    case ABBR_TYPE_TEXT: {
      TextToType built = keysim_get_text_to_type(nullptr, abbreviation, typed, prefs, env);
      std::string text = built.text.value_or("");
      return built.capitalize_first ? keysim_capitalize_first(text) : text;
    }
    case ABBR_TYPE_PROGRAM:
      if (abbreviation.program().location.empty()) return std::nullopt;
      return "Launch " + abbreviation.description + " (" + abbreviation.program().location + ")";
    case ABBR_TYPE_WEBSITE:
      if (abbreviation.website().address.empty()) return std::nullopt;
      return "Launch " + abbreviation.website().address;
    default:
      return std::nullopt;
  }
}

void Tooltip::show_due(uint64_t id) {
  std::unique_lock lock(mutex_);
  if (destroyed_ || id + 2 != timer_id_ || !abbreviation_) return;
  // The focus may have moved into a password field since the abbreviation was typed; an
  // expansion shown there could be read over the user's shoulder.
  if (windows_.focus_is_secret()) return;
  std::optional<Caret> caret = windows_.caret();
  if (!caret || (!caret->reported && skip_unreported_caret_)) return;
  if (auto text = preview_text(*abbreviation_, typed_, prefs_, env_)) text_ = *text;
  view_.show(caret->rect.left, caret->rect.bottom, text_);
  visible_ = true;
}

void Tooltip::hide_due(uint64_t id) {
  std::lock_guard lock(mutex_);
  if (id + 1 == timer_id_) hide_locked();
}

void Tooltip::hide_locked() {
  // A preview not shown yet is called off too: the user has typed on.
  if (!visible_) abbreviation_.reset();
  if (destroyed_ || !visible_) return;
  view_.hide();
  text_.clear();
  abbreviation_.reset();
  visible_ = false;
}

void Tooltip::hide() {
  std::lock_guard lock(mutex_);
  hide_locked();
}

void Tooltip::destroy() {
  std::lock_guard lock(mutex_);
  hide_locked();
  destroyed_ = true;
  abbreviation_.reset();
}

bool Tooltip::visible() const {
  std::lock_guard lock(mutex_);
  return visible_;
}

}  // namespace tolvan
