#include "ui/display_text.h"

#include "base/shift_jis.h"

namespace verselane {

wxString FromSjis(std::string_view sjis) {
  std::string utf8;
  while (!sjis.empty()) {
    const Conversion converted = SjisToUtf8(sjis);
    if (converted.ok()) {
      utf8 += converted.text;
      break;
    }
    utf8 += SjisToUtf8(sjis.substr(0, converted.failedAt)).text;
    utf8 += '?';
    sjis.remove_prefix(converted.failedAt + 1);
  }
  return wxString::FromUTF8(utf8);
}

wxString MultiLineFromSjis(std::string_view sjis) {
  wxString text = FromSjis(sjis);
  text.Replace("\r\n", "\n");
  return text;
}

std::string ToUtf8(const wxString& text) {
  const wxScopedCharBuffer utf8 = text.utf8_str();
  return std::string(utf8.data(), utf8.length());
}

}  // namespace verselane
