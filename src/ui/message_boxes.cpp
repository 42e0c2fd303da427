#include "ui/message_boxes.h"

#include <cmath>
#include <cstdio>

#include <wx/artprov.h>
#include <wx/msgdlg.h>
#include <wx/settings.h>
#include <wx/statbmp.h>

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

ZoomedMessageBox::ZoomedMessageBox(wxWindow* parent, const wxString& message,
                                   const wxString& caption, long style)
    : wxGenericMessageDialog(parent, message, caption, style), zoom_(ZoomOf(parent)) {}

void ZoomedMessageBox::AddMessageDialogCheckBox(wxSizer* sizer) {
  wxGenericMessageDialog::AddMessageDialogCheckBox(sizer);
  if (zoom_ == 1.0) return;
  const wxFont font =
      wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT).Scaled(static_cast<float>(zoom_));
  SetFont(font);  // the buttons, made next
  for (wxWindow* child : GetChildren()) {
    if (auto* icon = dynamic_cast<wxStaticBitmap*>(child)) {
      const wxSize shown = icon->GetBitmap().GetLogicalSize();
      const wxSize zoomed(static_cast<int>(std::lround(shown.x * zoom_)),
                          static_cast<int>(std::lround(shown.y * zoom_)));
      const wxArtID id = wxArtProvider::GetMessageBoxIconId(GetMessageDialogStyle());
      icon->SetBitmap(wxArtProvider::GetBitmapBundle(id, wxART_MESSAGE_BOX, zoomed));
    } else {
      child->SetFont(font);
    }
  }
}

bool MessageBoxes::Confirm(const std::string& text, const std::string& caption) {
  ZoomedMessageBox dialog(owner_, FromSjis(text), FromSjis(caption),
                          wxYES_NO | wxNO_DEFAULT | wxICON_QUESTION);
  dialog.SetYesNoLabels(wxString::FromUTF8(kYesLabel), wxString::FromUTF8(kNoLabel));
  return dialog.ShowModal() == wxID_YES;
}

void MessageBoxes::ShowNotice(const std::string& text, const std::string& caption,
                              NoticeIcon icon) {
  const wxString message = FromSjis(text);
  LogNotice(message);
  // Over the main window once there is one: unowned, a Wayland desktop may put it anywhere.
  ZoomedMessageBox dialog(owner_, message, FromSjis(caption), NoticeStyle(icon));
  dialog.ShowModal();
}

void ShowStartupError(const char* messageUtf8) {
  LogNotice(wxString::FromUTF8(messageUtf8));
  wxGenericMessageDialog dialog(nullptr, wxString::FromUTF8(messageUtf8), "ERROR",
                                wxOK | wxICON_ERROR);
  dialog.ShowModal();
}

}  // namespace verselane
