#include "ui/answer_text.h"

#include <algorithm>

#include "base/shift_jis.h"

namespace verselane {
namespace {

// Length of the UTF-8 sequence that starts with `lead` (1 for a stray byte).
std::size_t SequenceLength(unsigned char lead) {
  if (lead >= 0xF0) return 4;
  if (lead >= 0xE0) return 3;
  if (lead >= 0xC0) return 2;
  return 1;
}

}  // namespace

std::string AnswerTextToSjis(std::string_view utf8) {
  std::string sjis;
  while (!utf8.empty()) {
    const Conversion part = Utf8ToSjis(utf8);
    if (part.ok()) {
      sjis += part.text;
      break;
    }
    // Convert what comes before the first bad character, then put "?" for it.
    sjis += Utf8ToSjis(utf8.substr(0, part.failedAt)).text;
    sjis += '?';
    const std::size_t bad = part.failedAt;
    const std::size_t length = SequenceLength(static_cast<unsigned char>(utf8[bad]));
    utf8.remove_prefix(std::min(utf8.size(), bad + length));
  }
  return sjis;
}

int LastCharacter(std::string_view utf8) {
  if (utf8.empty()) return 0;
  std::size_t start = utf8.size() - 1;
  while (start > 0 && (static_cast<unsigned char>(utf8[start]) & 0xC0) == 0x80) --start;
  const std::string_view tail = utf8.substr(start);
  const auto lead = static_cast<unsigned char>(tail[0]);
  const std::size_t length = SequenceLength(lead);
  if (tail.size() != length) return 0;
  if (length == 1) return lead;
  int code = lead & (0xFF >> (length + 1));
  for (std::size_t i = 1; i < length; ++i) code = (code << 6) | (tail[i] & 0x3F);
  return code;
}

}  // namespace verselane
