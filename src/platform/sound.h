// Sound: the pop sound that may accompany a replacement (the program's own wave, played
// without waiting for it).
#pragma once

namespace tolvan {

class Sound {
 public:
  virtual ~Sound() = default;
  // Starts the pop sound and returns at once; silently nothing where there is no device.
  virtual void play_pop() = 0;
};

}  // namespace tolvan
