#include "ui/display_text.h"

#include "base/shift_jis.h"

namespace verselane {

wxString FromSjis(std::string_view sjis) { return wxString::FromUTF8(SjisToUtf8Replacing(sjis)); }

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
