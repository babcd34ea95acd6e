// Hotkeys: system-wide key combinations. A press of a registered combination goes to the
// handler instead of to any application.
#pragma once

#include <cstdint>
#include <functional>

namespace tolvan {

// Modifier bits, with the MOD_ numbers.
inline constexpr uint32_t kModAlt = 0x1;
inline constexpr uint32_t kModControl = 0x2;
inline constexpr uint32_t kModShift = 0x4;
inline constexpr uint32_t kModWin = 0x8;

class Hotkeys {
 public:
  using Handler = std::function<void(int id)>;
  virtual ~Hotkeys() = default;

  // The handler receives the id of each press; real backends call it on the main thread.
  virtual void set_handler(Handler handler) = 0;
  // False when the combination cannot be had (taken by another program, or key 0).
  virtual bool register_hotkey(int id, uint32_t modifiers, uint16_t vk) = 0;
  virtual void unregister_hotkey(int id) = 0;
};

}  // namespace tolvan
