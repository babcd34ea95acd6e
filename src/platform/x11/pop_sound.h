// PopSound: the short pop Tolvan plays before a replacement, through libcanberra (the
// desktop's event-sound service). The sound is Tolvan's own, made at start as a WAV file in
// the runtime folder. Where there is no sound device or service it stays silent: a missing
// pop is no error worth telling the user about.
#pragma once

#include <string>

#include "platform/sound.h"

struct ca_context;

namespace tolvan::x11 {

// The pop as a complete WAV file: 16-bit mono PCM at 22,050 Hz, a 60 ms decaying tone.
std::string make_pop_wav();

class PopSound final : public Sound {
 public:
  PopSound();
  ~PopSound() override;
  PopSound(const PopSound&) = delete;
  PopSound& operator=(const PopSound&) = delete;

  void play_pop() override;  // asynchronous; nothing when sound is unavailable

 private:
  ca_context* context_ = nullptr;
  std::string file_;
};

}  // namespace tolvan::x11
