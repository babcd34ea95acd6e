#include "platform/x11/pop_sound.h"

#include <canberra.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>

namespace tolvan::x11 {
namespace {

void put16(std::string& out, uint16_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>(v >> 8);
}

void put32(std::string& out, uint32_t v) {
  put16(out, static_cast<uint16_t>(v & 0xFFFF));
  put16(out, static_cast<uint16_t>(v >> 16));
}

}  // namespace

std::string make_pop_wav() {
  constexpr uint32_t kRate = 22050;
  constexpr uint32_t kSamples = kRate * 60 / 1000;
  constexpr double kPi = 3.14159265358979323846;
  std::string pcm;
  for (uint32_t i = 0; i < kSamples; ++i) {
    const double t = static_cast<double>(i) / kRate;
    const double v = std::sin(2 * kPi * 1200 * t) * std::exp(-t * 70) * 0.6;
    put16(pcm, static_cast<uint16_t>(static_cast<int16_t>(v * 32767)));
  }
  std::string wav = "RIFF";
  put32(wav, static_cast<uint32_t>(36 + pcm.size()));
  wav += "WAVEfmt ";
  put32(wav, 16);         // format chunk size
  put16(wav, 1);          // PCM
  put16(wav, 1);          // mono
  put32(wav, kRate);
  put32(wav, kRate * 2);  // bytes per second
  put16(wav, 2);          // block align
  put16(wav, 16);         // bits per sample
  wav += "data";
  put32(wav, static_cast<uint32_t>(pcm.size()));
  return wav + pcm;
}

PopSound::PopSound() {
  if (ca_context_create(&context_) != CA_SUCCESS) {
    context_ = nullptr;
    return;
  }
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  std::string pattern = std::string(runtime && runtime[0] == '/' ? runtime : "/tmp") +
                        "/tolvan-pop-XXXXXX.wav";
  int fd = mkstemps(pattern.data(), 4);
  if (fd < 0) return;
  const std::string wav = make_pop_wav();
  const bool written = write(fd, wav.data(), wav.size()) == static_cast<ssize_t>(wav.size());
  close(fd);
  if (written) file_ = pattern;
  else unlink(pattern.c_str());
}

PopSound::~PopSound() {
  if (context_) ca_context_destroy(context_);
  if (!file_.empty()) unlink(file_.c_str());
}

void PopSound::play_pop() {
  if (!context_ || file_.empty()) return;
  // Asynchronous; an error (no device, no service) leaves it silent.
  ca_context_play(context_, 0, CA_PROP_MEDIA_FILENAME, file_.c_str(), CA_PROP_EVENT_DESCRIPTION,
                  "Tolvan replaced an abbreviation", nullptr);
}

}  // namespace tolvan::x11
