#include "records/scramble.h"

namespace verselane {

bool Scramble(std::string& text, ScrambleDirection direction) {
  if (text.empty()) return false;
  const unsigned char shift = direction == ScrambleDirection::kEncode ? 1 : 0xFF;
  std::string result(text.rbegin(), text.rend());
  for (char& byte : result) byte = static_cast<char>(static_cast<unsigned char>(byte) + shift);
  text.assign(result, 0, result.find('\0'));
  return true;
}

}  // namespace verselane
