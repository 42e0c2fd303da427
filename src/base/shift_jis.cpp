#include "base/shift_jis.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace verselane {
namespace {

// glibc's "CP932" is Microsoft's Shift-JIS: 0x5C is the backslash and 0xA5 the half-width
// middle dot, as in the players' files. "SHIFT_JIS" would turn 0x5C into a yen sign.
constexpr const char* kSjisName = "CP932";

// One converter per direction and thread, opened on first use: opening one costs more than
// converting a poem, and the catalogue converts a thousand fields at start-up.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (valid()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  // Back to the initial state, whatever the last conversion left behind.
  iconv_t reset() {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    return cd_;
  }

 private:
  iconv_t cd_;
};

Conversion Convert(Converter& converter, std::string_view input) {
  Conversion result;
  if (!converter.valid()) {
    result.failedAt = 0;
    return result;
  }
  iconv_t cd = converter.reset();
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
  if (result.ok()) {
    out.resize(out.size() - outLeft);
    result.text = std::move(out);
  }
  return result;
}

// Converts `input` up to each place `convert` fails, puts "?" there and goes on after the
// `skipped(rest)` bytes that failed.
std::string ConvertReplacing(std::string_view input, Conversion (*convert)(std::string_view),
                             std::size_t (*skipped)(std::string_view rest)) {
  std::string output;
  while (!input.empty()) {
    const Conversion whole = convert(input);
    if (whole.ok()) {
      output += whole.text;
      break;
    }
    output += convert(input.substr(0, whole.failedAt)).text;
    output += '?';
    const std::string_view rest = input.substr(whole.failedAt);
    input.remove_prefix(whole.failedAt + std::min(rest.size(), skipped(rest)));
  }
  return output;
}

}  // namespace

Conversion Utf8ToSjis(std::string_view utf8) {
  thread_local Converter toSjis(kSjisName, "UTF-8");
  return Convert(toSjis, utf8);
}

Conversion SjisToUtf8(std::string_view sjis) {
  thread_local Converter toUtf8("UTF-8", kSjisName);
  return Convert(toUtf8, sjis);
}

Conversion Utf8ToSjisExact(std::string_view utf8) {
  Conversion sjis = Utf8ToSjis(utf8);
  if (!sjis.ok() || SjisToUtf8(sjis.text).text == utf8) return sjis;
  // Which character went astray: the first that does not come back alone.
  Conversion failed;
  failed.failedAt = 0;
  for (std::size_t at = 0; at < utf8.size();) {
    std::size_t length = 1;
    while (at + length < utf8.size() &&
           (static_cast<unsigned char>(utf8[at + length]) & 0xC0) == 0x80) {
      ++length;
    }
    const std::string_view character = utf8.substr(at, length);
    if (SjisToUtf8(Utf8ToSjis(character).text).text != character) {
      failed.failedAt = at;
      break;
    }
    at += length;
  }
  return failed;
}

std::string Utf8ToSjisReplacing(std::string_view utf8) {
  return ConvertReplacing(utf8, Utf8ToSjis, [](std::string_view rest) {
    return Utf8SequenceLength(static_cast<unsigned char>(rest.front()));
  });
}

std::string SjisToUtf8Replacing(std::string_view sjis) {
  // One byte at a time: after a lone lead byte the next may well begin a character.
  return ConvertReplacing(sjis, SjisToUtf8, [](std::string_view) -> std::size_t { return 1; });
}

std::size_t Utf8SequenceLength(unsigned char lead) {
  if (lead >= 0xF0) return 4;
  if (lead >= 0xE0) return 3;
  if (lead >= 0xC0) return 2;
  return 1;
}

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
