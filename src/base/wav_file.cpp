#include "base/wav_file.h"

#include <cstdint>

namespace verselane {
namespace {

constexpr std::size_t kChunkHeaderBytes = 8;
constexpr std::size_t kPcmFormatBytes = 16;
constexpr std::uint16_t kPcmFormat = 1;

std::uint32_t Little(std::string_view bytes, std::size_t at, std::size_t count) {
  std::uint32_t value = 0;
  for (std::size_t i = count; i-- > 0;) {
    value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
  }
  return value;
}

}  // namespace

std::optional<int> WavLengthMs(std::string_view bytes) {
  if (bytes.size() < 12 || bytes.substr(0, 4) != "RIFF" || bytes.substr(8, 4) != "WAVE" ||
      Little(bytes, 4, 4) != bytes.size() - kChunkHeaderBytes) {
    return std::nullopt;
  }
  std::uint32_t byteRate = 0;
  std::uint32_t blockAlign = 0;
  for (std::size_t at = 12; at + kChunkHeaderBytes <= bytes.size();) {
    const std::string_view id = bytes.substr(at, 4);
    const std::uint64_t size = Little(bytes, at + 4, 4);
    const std::size_t body = at + kChunkHeaderBytes;
    if (size > bytes.size() - body) return std::nullopt;
    if (id == "fmt ") {
      if (size < kPcmFormatBytes || Little(bytes, body, 2) != kPcmFormat) return std::nullopt;
      byteRate = Little(bytes, body + 8, 4);
      blockAlign = Little(bytes, body + 12, 2);
    } else if (id == "data") {
      // The sound runs to the end of the file: anything short of it was cut off.
      if (byteRate == 0 || blockAlign == 0 || size == 0 || size % blockAlign != 0 ||
          body + size != bytes.size()) {
        return std::nullopt;
      }
      return static_cast<int>(size * 1000 / byteRate);
    }
    at = body + size + (size % 2);
  }
  return std::nullopt;
}

}  // namespace verselane
