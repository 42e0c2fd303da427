// The length of a recording is reckoned from the sound it holds: a header whose fields disagree
// with one another or with the data is not believed.
#include "base/wav_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace verselane {
namespace {

struct Header {
  std::uint32_t rate = 48000;
  std::uint32_t byteRate = 96000;
  std::uint16_t channels = 1;
  std::uint16_t blockAlign = 2;
  std::uint16_t bits = 16;
};

std::string Le(std::uint32_t value, int bytes) {
  std::string text;
  for (int i = 0; i < bytes; ++i) text += static_cast<char>((value >> (8 * i)) & 0xff);
  return text;
}

std::string Wav(const Header& h, std::uint32_t dataBytes) {
  return "RIFF" + Le(36 + dataBytes, 4) + "WAVEfmt " + Le(16, 4) + Le(1, 2) + Le(h.channels, 2) +
         Le(h.rate, 4) + Le(h.byteRate, 4) + Le(h.blockAlign, 2) + Le(h.bits, 2) + "data" +
         Le(dataBytes, 4) + std::string(dataBytes, '\0');
}

TEST(WavLength, ComesFromTheDataAndAHeaderThatAgreesWithItself) {
  struct Case {
    const char* what;
    Header header;
    std::uint32_t dataBytes;
    std::optional<int> ms;
  };
  const Case cases[] = {
      {"a second of 16-bit mono at 48 kHz", {}, 96000, 1000},
      {"stereo at 44.1 kHz", {44100, 176400, 2, 4, 16}, 176400 / 2, 500},
      {"a byte rate of 1 on 3 MB", {48000, 1, 1, 2, 16}, 3 << 20, std::nullopt},
      {"a byte rate half the samples'", {48000, 48000, 1, 2, 16}, 96000, std::nullopt},
      {"a sample rate of 1", {1, 2, 1, 2, 16}, 96000, std::nullopt},
      {"a block larger than its samples", {48000, 192000, 1, 4, 16}, 96000, std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(WavLengthMs(Wav(c.header, c.dataBytes)), c.ms) << c.what;
}

}  // namespace
}  // namespace verselane
