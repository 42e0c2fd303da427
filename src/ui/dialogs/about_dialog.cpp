#include "ui/dialogs/about_dialog.h"

#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "ui/command_line.h"
#include "ui/dialogs/dialog_pictures.h"
#include "ui/display_text.h"
#include "ui/main_frame.h"

namespace verselane {
namespace {

using K = ControlKind;

constexpr DialogFrame kFrame{" バージョン情報", 167, 81};

constexpr const char* kContactText = "https://verselane.example.org/\nsupport@verselane.example.org";

}  // namespace

wxString VersionLine() { return Text(kTitle) + " ver " + kVersion; }

wxString ContactText() { return Text(kContactText); }

AboutDialog::AboutDialog(wxWindow* parent) : BuiltDialog(parent, kFrame) {
  Build({
      Place(K::kPicture, "", 7, 7, 29, 34)
          .Showing(AssetBitmap("bitmap-about.png", ScaleOf(parent))),
      Place(K::kText, "", 45, 9, 114, 8).SizedFor(" Verselane ver 2.08").Into(version_),
      Place(K::kText, "Copyright (C) 2026 The Verselane developers", 45, 21, 114, 8),
      Place(K::kCommentBox, "", 45, 37, 114, 19).Anchored(kStretchRight).Into(contact_),
      Place(K::kDefaultButton, "閉じる", 109, 60, 50, 14).Anchored(kAnchorRight).WithId(wxID_OK),
  });
  version_->SetLabel(VersionLine());
  contact_->ChangeValue(ContactText());
  for (const int id : {wxID_OK, wxID_CANCEL}) {
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Finish(wxID_OK); }, id);
  }
  Bind(wxEVT_INIT_DIALOG, [this](wxInitDialogEvent& event) {
    event.Skip();
    TakeFocus();
  });
}

void ShowAbout(wxWindow* parent) {
  AboutDialog dialog(parent);
  static_cast<void>(dialog.ShowModal());
}

}  // namespace verselane
