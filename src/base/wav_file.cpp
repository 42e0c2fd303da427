#include "base/wav_file.h"

#include <climits>
#include <cstdint>

namespace verselane {
namespace {

constexpr std::size_t kChunkHeaderBytes = 8;
constexpr std::size_t kPcmFormatBytes = 16;
constexpr std::uint16_t kPcmFormat = 1;
// The rates and sample shapes a sound device plays; a header beyond them was not written by any
// recorder, and a rate of a few samples a second would make seconds of sound last for days.
constexpr std::uint32_t kLowestRate = 8000;
constexpr std::uint32_t kHighestRate = 192000;
constexpr std::uint32_t kMostChannels = 8;

std::uint32_t Little(std::string_view bytes, std::size_t at, std::size_t count) {
  std::uint32_t value = 0;
  for (std::size_t i = count; i-- > 0;) {
    value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
  }
  return value;
}

// The bytes one second of the sound takes, from the shape of its samples: the header's own
// byte-rate field is only believed when it says the same.
std::uint32_t BytesPerSecond(std::string_view bytes, std::size_t body) {
  const std::uint32_t channels = Little(bytes, body + 2, 2);
  const std::uint32_t rate = Little(bytes, body + 4, 4);
  const std::uint32_t blockAlign = Little(bytes, body + 12, 2);
  const std::uint32_t bits = Little(bytes, body + 14, 2);
  const bool shaped = channels >= 1 && channels <= kMostChannels && rate >= kLowestRate &&
                      rate <= kHighestRate && bits >= 8 && bits <= 32 && bits % 8 == 0 &&
                      blockAlign == channels * (bits / 8) &&
                      Little(bytes, body + 8, 4) == rate * blockAlign;
  return shaped ? rate * blockAlign : 0;
}

}  // namespace

std::optional<int> WavLengthMs(std::string_view bytes) {
  if (bytes.size() < 12 || bytes.substr(0, 4) != "RIFF" || bytes.substr(8, 4) != "WAVE" ||
      Little(bytes, 4, 4) != bytes.size() - kChunkHeaderBytes) {
    return std::nullopt;
  }
  std::uint32_t bytesPerSecond = 0;
  std::uint32_t blockAlign = 0;
  for (std::size_t at = 12; at + kChunkHeaderBytes <= bytes.size();) {
    const std::string_view id = bytes.substr(at, 4);
    const std::uint64_t size = Little(bytes, at + 4, 4);
    const std::size_t body = at + kChunkHeaderBytes;
    if (size > bytes.size() - body) return std::nullopt;
    if (id == "fmt ") {
      if (size < kPcmFormatBytes || Little(bytes, body, 2) != kPcmFormat) return std::nullopt;
      bytesPerSecond = BytesPerSecond(bytes, body);
      blockAlign = Little(bytes, body + 12, 2);
      if (bytesPerSecond == 0) return std::nullopt;
    } else if (id == "data") {
      // The sound runs to the end of the file: anything short of it was cut off.
      if (bytesPerSecond == 0 || size == 0 || size % blockAlign != 0 ||
          body + size != bytes.size()) {
        return std::nullopt;
      }
      const std::uint64_t ms = size * 1000 / bytesPerSecond;
      if (ms > INT_MAX) return std::nullopt;
      return static_cast<int>(ms);
    }
    at = body + size + (size % 2);
  }
  return std::nullopt;
}

}  // namespace verselane
