// The pop sound's WAV file, as any WAV reader reads it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "platform/x11/pop_sound.h"

namespace tolvan::x11 {
namespace {

uint32_t le(const std::string& s, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(s[at + i]);
  return v;
}

TEST(PopSound, IsAShortMonoPcmWaveWithConsistentSizes) {
  const std::string wav = make_pop_wav();
  ASSERT_GT(wav.size(), 44u);
  EXPECT_EQ(wav.substr(0, 4), "RIFF");
  EXPECT_EQ(le(wav, 4, 4), wav.size() - 8);
  EXPECT_EQ(wav.substr(8, 8), "WAVEfmt ");
  EXPECT_EQ(le(wav, 20, 2), 1u);  // PCM
  EXPECT_EQ(le(wav, 22, 2), 1u);  // mono
  const uint32_t rate = le(wav, 24, 4);
  EXPECT_EQ(le(wav, 28, 4), rate * 2);
  EXPECT_EQ(le(wav, 34, 2), 16u);
  EXPECT_EQ(wav.substr(36, 4), "data");
  const uint32_t data = le(wav, 40, 4);
  EXPECT_EQ(data, wav.size() - 44);
  const double seconds = static_cast<double>(data) / 2 / rate;
  EXPECT_GT(seconds, 0.02);
  EXPECT_LT(seconds, 0.2) << "a pop, not a tune";
  // It fades out: the last samples are much quieter than the loudest.
  int peak = 0, tail = 0;
  for (size_t i = 44; i + 1 < wav.size(); i += 2) {
    int v = std::abs(static_cast<int16_t>(le(wav, i, 2)));
    peak = std::max(peak, v);
    if (i > wav.size() - 100) tail = std::max(tail, v);
  }
  EXPECT_GT(peak, 10000);
  EXPECT_LT(tail, peak / 4);
}

}  // namespace
}  // namespace tolvan::x11
