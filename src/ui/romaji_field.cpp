#include "ui/romaji_field.h"

#include <string>

#include <wx/textctrl.h>

#include "base/romaji_input.h"
#include "ui/display_text.h"

namespace verselane {
namespace {

// The letters pending just before `caret` taken up into `input`; how many there are.
long ResumeRomaji(const wxTextCtrl* control, RomajiInput& input, long caret) {
  const wxString before = control->GetValue().Left(static_cast<std::size_t>(caret));
  return static_cast<long>(input.Resume(before.utf8_string()));
}

// The characters from `from` to `to` give way to the kana made and the letters still pending,
// and the caret follows them.
void ShowRomaji(wxTextCtrl* control, long from, long to, const RomajiInput& input) {
  const wxString made = FromSjis(input.kana()) + wxString::FromUTF8(input.pending());
  const wxString value = control->GetValue();
  control->ChangeValue(value.Left(static_cast<std::size_t>(from)) + made +
                       value.Mid(static_cast<std::size_t>(to)));
  control->SetInsertionPoint(from + static_cast<long>(made.length()));
}

}  // namespace

bool IsRomajiKey(const wxKeyEvent& event) {
  const int character = static_cast<int>(event.GetUnicodeKey());
  return !event.HasModifiers() && character >= 0x20 && character < 0x7F;
}

bool TypeRomaji(wxTextCtrl* control, char key) {
  long from = 0;
  long to = 0;
  control->GetSelection(&from, &to);
  RomajiInput input;
  const long pending = ResumeRomaji(control, input, from);
  const std::string waiting = input.pending();
  input.Type(key);
  if (input.kana().empty() && input.pending() == waiting) return false;
  ShowRomaji(control, from - pending, to, input);
  return true;
}

bool FinishRomaji(wxTextCtrl* control) {
  const long caret = control->GetInsertionPoint();
  RomajiInput input;
  const long pending = ResumeRomaji(control, input, caret);
  if (pending == 0) return false;
  input.Finish();
  ShowRomaji(control, caret - pending, caret, input);
  return true;
}

}  // namespace verselane
