#include "catalogue/shift_jis.h"

#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace verselane {
namespace {

// glibc's "CP932" is Microsoft's Shift-JIS: 0x5C is the backslash and 0xA5 the half-width
// middle dot, as in the players' files. "SHIFT_JIS" would turn 0x5C into a yen sign.
constexpr const char* kSjisName = "CP932";

Conversion Convert(const char* to, const char* from, std::string_view input) {
  Conversion result;
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    result.failedAt = 0;
    return result;
  }
  std::string out(input.size() * 4 + 4, '\0');
  char* in = const_cast<char*>(input.data());
  std::size_t inLeft = input.size();
  char* outPtr = out.data();
  std::size_t outLeft = out.size();
  while (inLeft > 0) {
    if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
      // EILSEQ: not convertible; EINVAL: the input ends inside a character. Both are failures:
      // a silently shortened or substituted text would be judged or saved wrongly.
      result.failedAt = input.size() - inLeft;
      break;
    }
  }
  iconv_close(cd);
  if (result.ok()) {
    out.resize(out.size() - outLeft);
    result.text = std::move(out);
  }
  return result;
}

}  // namespace

Conversion Utf8ToSjis(std::string_view utf8) { return Convert(kSjisName, "UTF-8", utf8); }

Conversion SjisToUtf8(std::string_view sjis) { return Convert("UTF-8", kSjisName, sjis); }

std::string SjisLiteral(std::string_view utf8) {
  Conversion converted = Utf8ToSjis(utf8);
  if (!converted.ok()) {
    std::fprintf(stderr, "verselane: built-in text not representable in CP932 at byte %zu: %.*s\n",
                 converted.failedAt, static_cast<int>(utf8.size()), utf8.data());
    std::abort();
  }
  return std::move(converted.text);
}

bool IsSjisLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

std::size_t SjisPrefixLength(std::string_view sjis, std::size_t maxBytes) {
  std::size_t pos = 0;
  while (pos < sjis.size()) {
    std::size_t width = IsSjisLeadByte(static_cast<unsigned char>(sjis[pos])) ? 2 : 1;
    if (pos + width > maxBytes || pos + width > sjis.size()) break;
    pos += width;
  }
  return pos;
}

std::string_view CellAt(std::string_view row, std::size_t n) {
  if (n >= CellCount(row)) return {};
  return row.substr(n * kCellBytes, kCellBytes);
}

bool IsContinuationCell(std::string_view row, std::size_t n) {
  return CellAt(row, n) == kContinuationCell;
}

bool IsBlankCell(std::string_view row, std::size_t n) { return CellAt(row, n) == kBlankCell; }

}  // namespace verselane
