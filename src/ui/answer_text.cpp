#include "ui/answer_text.h"

#include "base/shift_jis.h"

namespace verselane {

std::string AnswerTextToSjis(std::string_view utf8) { return Utf8ToSjisReplacing(utf8); }

int LastCharacter(std::string_view utf8) {
  if (utf8.empty()) return 0;
  std::size_t start = utf8.size() - 1;
  while (start > 0 && (static_cast<unsigned char>(utf8[start]) & 0xC0) == 0x80) --start;
  const std::string_view tail = utf8.substr(start);
  const auto lead = static_cast<unsigned char>(tail[0]);
  const std::size_t length = Utf8SequenceLength(lead);
  if (tail.size() != length) return 0;
  if (length == 1) return lead;
  int code = lead & (0xFF >> (length + 1));
  for (std::size_t i = 1; i < length; ++i) code = (code << 6) | (tail[i] & 0x3F);
  return code;
}

}  // namespace verselane
