// The requests the engine's two threads send each other, with their thread-message numbers.
#pragma once

#include <cstdint>

namespace tolvan {

// Requests the hook thread serves.
enum class MonMessage : uint32_t {
  InstallKeyboardHook = 0x80BA,
  UninstallKeyboardHook = 0x80BB,
  InstallMouseHook = 0x80BC,
  UninstallMouseHook = 0x80BD,
  RestoreModifiers = 0x80BE,
  Ping = 0x80BF,
  ClearKeyBuffer = 0x80C0,
  Quit = 0x80C1,
  Response = 0x80C2,
  AdjustKeyBuffer = 0x80C3,
  LibraryChanged = 0x80C4,
  RestoreCapsLock = 0x80C5,
  EnableHook = 0x80C6,
  DestroyTooltip = 0x80CE,
  InsertAbbrev = 0x80D1,
};

// Requests the output thread serves.
enum class KeysimMessage : uint32_t {
  Ping = 0x80C7,
  Replace = 0x80C8,
  Quit = 0x80C9,
  Prepare = 0x80D0,
};

}  // namespace tolvan
