// Message boxes: the Yes/No confirmations of the commands, and the notices and error boxes of
// the file and drawing code. They are wx's generic message dialogs: the GTK native one shows no
// icon, and its buttons cannot carry the Japanese labels with access keys. Each is shown at the
// zoom of the window it opens over, as the builder's dialogs are.
#pragma once

#include <string>

#include <wx/msgdlg.h>
#include <wx/window.h>

#include "game/desktop_ports.h"
#include "base/file_ports.h"
#include "ui/zoomed_window.h"

namespace verselane {

inline constexpr const char* kYesLabel = "はい(&Y)";
inline constexpr const char* kNoLabel = "いいえ(&N)";

// The wx style of a notice box with `icon`.
long NoticeStyle(NoticeIcon icon);

// A generic message box whose texts, buttons and icon grow by the zoom of `parent` (ZoomOf).
class ZoomedMessageBox : public wxGenericMessageDialog, public ZoomedWindow {
 public:
  ZoomedMessageBox(wxWindow* parent, const wxString& message, const wxString& caption, long style);
  double zoom() const override { return zoom_; }

 protected:
  // wx's hook between making the icon and text and making the buttons: the zoom is applied to
  // what is made, and the buttons inherit it.
  void AddMessageDialogCheckBox(wxSizer* sizer) override;

 private:
  double zoom_;
};

class MessageBoxes : public PromptPort, public NoticePort {
 public:
  // Confirmations and notices are owned by the main window, once there is one.
  void SetOwner(wxWindow* owner) { owner_ = owner; }

  // Yes/No, question icon, No the default button; true for Yes.
  bool Confirm(const std::string& text, const std::string& caption) override;
  // OK only.
  void ShowNotice(const std::string& text, const std::string& caption, NoticeIcon icon) override;

 private:
  wxWindow* owner_ = nullptr;
};

// A start-up error box, "ERROR(<operation>):<what>" with caption "ERROR", for texts written in
// UTF-8 in the window layer itself.
void ShowStartupError(const char* messageUtf8);

}  // namespace verselane
