// X11Keyboard: the keyboard state and translation of the X server's keyboard, through
// libxkbcommon on a connection of its own. It follows the live layout group, reloads the
// keymap when the server's changes (setxkbmap, a remapped key), takes the lock states from
// the server and the down state of keys from what the keyboard hook has seen. Dead keys
// compose with xkb_compose in a state of its own, so translating never disturbs the
// application's composition (translation_consumes_dead_keys() is false).
#pragma once

#include <array>
#include <mutex>
#include <optional>
#include <string>

#include "platform/keyboard_state.h"
#include "platform/x11/x11_keys.h"

struct xcb_connection_t;
struct xkb_context;
struct xkb_keymap;
struct xkb_compose_table;
struct xkb_compose_state;

namespace tolvan::x11 {

class X11Keyboard final : public KeyboardState {
 public:
  // Connects to the display named by DISPLAY; ok() tells whether the keymap could be had.
  X11Keyboard();
  ~X11Keyboard() override;
  X11Keyboard(const X11Keyboard&) = delete;
  X11Keyboard& operator=(const X11Keyboard&) = delete;
  bool ok() const { return keymap_ != nullptr; }

  // The hook's view of the keys: a raw key event, and the server's key vector (as
  // XQueryKeymap gives it) afresh. A vector read on another connection than the raw events'
  // may be older than the events handled meanwhile, so the hook reads it on its own.
  // The user's own keys are noted apart (note_user_key, before the hook's callback runs, so
  // that what the callback makes Tolvan type already knows them): user_holds answers.
  void note_key(KeyCode keycode, bool down);
  void note_user_key(KeyCode keycode, bool down);
  void set_down_keys(const uint8_t* keys);
  bool user_holds(KeyCode keycode);
  // The virtual key and scan code of an X key in the current group.
  KeyPosition key_of(KeyCode keycode);
  // The key that types a virtual key in the current group (letters by what they type).
  std::optional<KeyCode> keycode_for_vk(uint16_t vk);
  // True when the key is the AltGr (level-three) shift of the current keymap.
  bool is_altgr_key(KeyCode keycode);

  std::optional<KeyStateArray> keyboard_state() override;
  uint8_t key_state(uint16_t vk) override;
  bool async_down(uint16_t vk) override;
  LayoutId layout_of(WindowId window) override;
  int to_unicode(uint16_t vk, uint16_t scan, const KeyStateArray& state, std::u16string& out,
                 LayoutId layout) override;
  bool translation_consumes_dead_keys() const override { return false; }
  int16_t vk_key_scan(char16_t ch, LayoutId layout) override;
  // vk_key_scan only names a key whose keysym is the character itself, never a dead keysym.
  bool is_dead_key(int16_t, LayoutId) override { return false; }
  uint32_t map_virtual_key(uint32_t code, MapType type, LayoutId layout) override;

 private:
  struct ServerState {
    uint32_t group = 0;
    bool caps = false;
    bool num = false;
  };
  // Follows the server: keymap changes reload the keymap, state changes (group, locks)
  // update the state kept here, so asking for it costs no round trip.
  void reload_if_changed();
  void refresh_from_server();
  bool load_keymap();
  ServerState query_server_state();
  ServerState state_of(uint32_t group, uint32_t locked_mods) const;
  ServerState server_state();
  uint32_t base_keysym(KeyCode keycode, uint32_t group, bool num_lock);
  // Whether AltGr (Mod5) changes the level the key types with the other modifiers given.
  bool has_altgr_level(KeyCode keycode, uint32_t depressed, uint32_t locked, uint32_t group);
  KeyStateArray build_state(const ServerState& server);
  std::u16string spacing_of_dead(uint32_t keysym);
  std::optional<KeyCode> keycode_in_group(uint16_t vk, uint32_t group);

  std::recursive_mutex mutex_;
  xcb_connection_t* connection_ = nullptr;
  int32_t device_ = -1;
  uint8_t xkb_event_base_ = 0;
  ServerState state_;
  xkb_context* context_ = nullptr;
  xkb_keymap* keymap_ = nullptr;
  xkb_compose_table* compose_table_ = nullptr;
  xkb_compose_state* compose_ = nullptr;
  uint32_t pending_dead_ = 0;  // the dead keysym that compose is waiting on
  std::array<bool, 256> down_{};
  std::array<bool, 256> user_down_{};
};

// The locales to try for the compose table, most wanted first: the user's (LC_ALL,
// LC_CTYPE, LANG), then en_US.UTF-8, then C.
std::array<std::string, 3> compose_locales(const char* lc_all, const char* lc_ctype,
                                           const char* lang);

}  // namespace tolvan::x11
