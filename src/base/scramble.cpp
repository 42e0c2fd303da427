#include "base/scramble.h"

namespace verselane {

bool Scramble(std::string& text, ScrambleDirection direction) {
  if (text.empty()) return false;
  const unsigned char shift = direction == ScrambleDirection::kEncode ? 1 : 0xFF;
  std::string result(text.rbegin(), text.rend());
  for (char& byte : result) byte = static_cast<char>(static_cast<unsigned char>(byte) + shift);
  text.assign(result, 0, result.find('\0'));
  return true;
}

bool HoldsControlByte(std::string_view text) {
  for (const char byte : text) {
    const auto value = static_cast<unsigned char>(byte);
    if (value < 0x20 || value == 0x7F || value == 0xFF) return true;
  }
  return false;
}

}  // namespace verselane
