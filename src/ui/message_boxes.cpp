#include "ui/message_boxes.h"

#include <cstdio>

#include <wx/msgdlg.h>

#include "ui/display_text.h"

namespace verselane {
namespace {

// Every notice also goes to the standard error, as a desktop program's warnings do on Linux:
// it stays in the session's log after the box is closed.
void LogNotice(const wxString& message) {
  std::fprintf(stderr, "verselane: %s\n", message.utf8_str().data());
  std::fflush(stderr);
}

}  // namespace

long NoticeStyle(NoticeIcon icon) {
  switch (icon) {
    case NoticeIcon::kInformation: return wxOK | wxICON_INFORMATION;
    case NoticeIcon::kError: return wxOK | wxICON_ERROR;
    case NoticeIcon::kExclamation: break;
  }
  return wxOK | wxICON_EXCLAMATION;
}

bool MessageBoxes::Confirm(const std::string& text, const std::string& caption) {
  wxGenericMessageDialog dialog(owner_, FromSjis(text), FromSjis(caption),
                                wxYES_NO | wxNO_DEFAULT | wxICON_QUESTION);
  dialog.SetYesNoLabels(wxString::FromUTF8(kYesLabel), wxString::FromUTF8(kNoLabel));
  return dialog.ShowModal() == wxID_YES;
}

void MessageBoxes::ShowNotice(const std::string& text, const std::string& caption,
                              NoticeIcon icon) {
  const wxString message = FromSjis(text);
  LogNotice(message);
  // Over the main window once there is one: unowned, a Wayland desktop may put it anywhere.
  wxGenericMessageDialog dialog(owner_, message, FromSjis(caption), NoticeStyle(icon));
  dialog.ShowModal();
}

void ShowStartupError(const char* messageUtf8) {
  LogNotice(wxString::FromUTF8(messageUtf8));
  wxGenericMessageDialog dialog(nullptr, wxString::FromUTF8(messageUtf8), "ERROR",
                                wxOK | wxICON_ERROR);
  dialog.ShowModal();
}

}  // namespace verselane
