// " バージョン情報": the program's title and version, a notice line and the contact text.
#pragma once

#include <wx/string.h>

#include "ui/dialogs/dialog_builder.h"

class wxStaticText;
class wxTextCtrl;

namespace verselane {

class AboutDialog : public BuiltDialog {
 public:
  explicit AboutDialog(wxWindow* parent);
  wxStaticText* version() const { return version_; }
  wxTextCtrl* contact() const { return contact_; }

 private:
  wxStaticText* version_ = nullptr;
  wxTextCtrl* contact_ = nullptr;
};

// Shows the About box over `parent` until it is closed.
void ShowAbout(wxWindow* parent);

// The program's title and version as the About box shows them: " Verselane ver 2.08".
wxString VersionLine();
// The About box's contact text: a web address and an e-mail address, one a line.
wxString ContactText();

}  // namespace verselane
