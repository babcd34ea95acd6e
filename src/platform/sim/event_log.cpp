// The input event record of the simulated desktop.
#include "platform/sim/event_log.h"

#include <cstdio>

#include "core/utf.h"
#include "platform/vk_codes.h"

namespace tolvan::sim {

void EventLog::add(const LoggedEvent& event) {
  std::lock_guard lock(mutex_);
  if (recording_) events_.push_back(event);
}

void EventLog::set_recording(bool on) {
  std::lock_guard lock(mutex_);
  recording_ = on;
}

std::vector<LoggedEvent> EventLog::events() const {
  std::lock_guard lock(mutex_);
  return events_;
}

std::vector<LoggedEvent> EventLog::injected() const {
  std::lock_guard lock(mutex_);
  std::vector<LoggedEvent> result;
  for (const auto& e : events_)
    if ((e.kind == LoggedEvent::Kind::Key && e.key.injected) || e.kind == LoggedEvent::Kind::PostedChar)
      result.push_back(e);
  return result;
}

void EventLog::clear() {
  std::lock_guard lock(mutex_);
  events_.clear();
}

std::string vk_name(uint16_t code) {
  struct Name {
    uint16_t vk;
    const char* name;
  };
  static constexpr Name kNames[] = {
      {vk::Back, "Back"},       {vk::Tab, "Tab"},         {vk::Clear, "Clear"},
      {vk::Return, "Return"},   {vk::Shift, "Shift"},     {vk::Control, "Control"},
      {vk::Menu, "Menu"},       {vk::Pause, "Pause"},     {vk::Capital, "Capital"},
      {vk::Escape, "Escape"},   {vk::Space, "Space"},     {vk::Prior, "Prior"},
      {vk::Next, "Next"},       {vk::End, "End"},         {vk::Home, "Home"},
      {vk::Left, "Left"},       {vk::Up, "Up"},           {vk::Right, "Right"},
      {vk::Down, "Down"},       {vk::Snapshot, "Snapshot"}, {vk::Insert, "Insert"},
      {vk::Delete, "Delete"},   {vk::LWin, "LWin"},       {vk::RWin, "RWin"},
      {vk::Apps, "Apps"},       {vk::Multiply, "Multiply"}, {vk::Add, "Add"},
      {vk::Subtract, "Subtract"}, {vk::Decimal, "Decimal"}, {vk::Divide, "Divide"},
      {vk::NumLock, "NumLock"}, {vk::Scroll, "Scroll"},   {vk::LShift, "LShift"},
      {vk::RShift, "RShift"},   {vk::LControl, "LControl"}, {vk::RControl, "RControl"},
      {vk::LMenu, "LMenu"},     {vk::RMenu, "RMenu"},     {vk::Oem1, "Oem1"},
      {vk::OemPlus, "OemPlus"}, {vk::OemComma, "OemComma"}, {vk::OemMinus, "OemMinus"},
      {vk::OemPeriod, "OemPeriod"}, {vk::Oem2, "Oem2"},   {vk::Oem3, "Oem3"},
      {vk::Oem4, "Oem4"},       {vk::Oem5, "Oem5"},       {vk::Oem6, "Oem6"},
      {vk::Oem7, "Oem7"},       {vk::Oem102, "Oem102"},   {vk::Packet, "Packet"},
  };
  for (const auto& n : kNames)
    if (n.vk == code) return n.name;
  if ((code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z')) return std::string(1, static_cast<char>(code));
  if (code >= vk::Numpad0 && code <= vk::Numpad9) return "Numpad" + std::to_string(code - vk::Numpad0);
  if (code >= vk::F1 && code <= vk::F24) return "F" + std::to_string(code - vk::F1 + 1);
  char hex[8];
  std::snprintf(hex, sizeof hex, "0x%02X", code);
  return hex;
}

std::string EventLog::format(const LoggedEvent& e) {
  std::string line;
  switch (e.kind) {
    case LoggedEvent::Kind::Key: {
      line = e.key.injected ? "inject " : "user ";
      line += e.key.down() ? "down " : "up ";
      if (e.key.vk == vk::Packet)
        line += "U+" + [&] {
          char hex[8];
          std::snprintf(hex, sizeof hex, "%04X", e.key.scan);
          return std::string(hex);
        }() + " '" + u16_to_utf8(std::u16string(1, e.key.scan)) + "'";
      else
        line += vk_name(e.key.vk);
      break;
    }
    case LoggedEvent::Kind::Mouse:
      line = std::string("mouse ") + (e.mouse.down ? "down " : "up ") +
             (e.mouse.button == MouseButton::Left ? "left" : e.mouse.button == MouseButton::Right ? "right" : "middle");
      break;
    case LoggedEvent::Kind::PostedChar:
      line = "post '" + u16_to_utf8(std::u16string(1, e.posted)) + "'";
      break;
  }
  switch (e.fate) {
    case EventFate::Delivered: break;
    case EventFate::Swallowed: line += " swallowed"; break;
    case EventFate::Grabbed: line += " grabbed"; break;
    case EventFate::Hotkey: line += " hotkey"; break;
    case EventFate::NoWindow: line += " no-window"; break;
  }
  return line;
}

std::string EventLog::format(const std::vector<LoggedEvent>& events) {
  std::string text;
  for (const auto& e : events) text += format(e) + "\n";
  return text;
}

}  // namespace tolvan::sim
