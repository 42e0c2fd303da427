// Texts between the core (CP932 bytes) and what the window layer shows (wxString): the one place
// where the screen, the dialogs and the message boxes turn the core's text into display text.
#pragma once

#include <string>
#include <string_view>

#include <wx/string.h>

namespace verselane {

// CP932 bytes for a control. A byte sequence that is not CP932 shows its valid part, each bad
// byte as "?", so nothing vanishes silently.
wxString FromSjis(std::string_view sjis);
// The same for a multi-line box, whose lines the core separates with CR LF.
wxString MultiLineFromSjis(std::string_view sjis);
// A control's text as UTF-8, the form the core takes typed text in.
std::string ToUtf8(const wxString& text);
// A literal of the dialogs' own, written in UTF-8.
inline wxString Text(const char* utf8) { return wxString::FromUTF8(utf8); }

}  // namespace verselane
