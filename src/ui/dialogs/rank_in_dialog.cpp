#include "ui/dialogs/rank_in_dialog.h"

#include <algorithm>
#include <string>

#include <wx/textctrl.h>
#include <wx/utils.h>

#include "game/desktop_ports.h"
#include "records/rank_in.h"
#include "settings/settings_controller.h"
#include "ui/dialogs/dialog_pictures.h"
#include "ui/dialogs/record_list_dialog.h"
#include "ui/display_text.h"
#include "ui/gtk_native.h"
#include "ui/romaji_field.h"

namespace verselane {
namespace {

using K = ControlKind;

constexpr DialogFrame kFrame{" ランクイン", 119, 127};

}  // namespace

RankInDialog::RankInDialog(wxWindow* parent, const RunFigures& run,
                           const RankInServices& services)
    : BuiltDialog(parent, kFrame), run_(run), services_(services), romaji_(services.romajiInput) {
  Build({
      Place(K::kPicture, "", 40, 8, 38, 44)
          .Anchored(kCentreX)
          .Showing(AssetBitmap("bitmap-157.png", ScaleOf(parent))),
      Place(K::kTextCentred, "上位スコアにランクインしました", 8, 58, 102, 8).Anchored(kCentreX),
      Place(K::kText, "名前を入力してください", 26, 70, 67, 8).Anchored(kCentreX),
      Place(K::kText, ">>", 36, 85, 8, 8),
      // Wide enough for a whole name: ten bytes are five full-width characters.
      Place(K::kEdit, "", 46, 83, 36, 12).SizedFor("ＷＷＷＷＷ").Into(name_),
      Place(K::kDefaultButton, "OK", 7, 106, 50, 14).WithId(wxID_OK),
      Place(K::kButton, "ｷｬﾝｾﾙ", 62, 106, 50, 14).Anchored(kAnchorRight).WithId(wxID_CANCEL),
  });
  lastName_ = FromSjis(services.settings.settings().playerName());
  name_->ChangeValue(lastName_);
  name_->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { OnNameTyped(); });
  AllowInputMethod(name_, !romaji_);
  if (romaji_) name_->Bind(wxEVT_CHAR, &RankInDialog::OnNameKey, this);
  Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnOk(); }, wxID_OK);
  Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Finish(wxID_CANCEL); }, wxID_CANCEL);
  Bind(wxEVT_INIT_DIALOG, [this](wxInitDialogEvent& event) {
    event.Skip();
    name_->SetFocus();
  });
  // Input methods such as Fcitx 5 keep a state for each field and open the one that has their
  // focus: this one is opened once it really has the focus, the dialog shown and active.
  name_->Bind(wxEVT_SET_FOCUS, [this](wxFocusEvent& event) {
    event.Skip();
    if (nameOpened_ || romaji_) return;
    nameOpened_ = true;
    CallAfter([this] { services_.inputMethod.RequestOpen(); });
  });
}

void RankInDialog::OnNameTyped() {
  const wxString typed = name_->GetValue();
  if (NameFitsField(ToUtf8(typed))) {
    lastName_ = typed;
    return;
  }
  // Refused whole, where the player sees it, rather than cut when it is stored.
  const long added = static_cast<long>(typed.length()) - static_cast<long>(lastName_.length());
  const long insertion = std::clamp(name_->GetInsertionPoint() - std::max(added, 0L), 0L,
                                    static_cast<long>(lastName_.length()));
  name_->ChangeValue(lastName_);
  name_->SetInsertionPoint(insertion);
  wxBell();
}

// Romaji input: a key romaji takes is typed into the name as kana, within the name's length.
void RankInDialog::OnNameKey(wxKeyEvent& event) {
  if (!IsRomajiKey(event)) {
    event.Skip();
    return;
  }
  if (TypeRomaji(name_, static_cast<char>(event.GetUnicodeKey()))) {
    romajiTyped_ = true;
    OnNameTyped();
  }
}

void RankInDialog::OnOk() {
  // Only letters typed here are romaji still pending: the name it was given (a Latin "player",
  // say) is kept as it stands.
  if (romajiTyped_ && FinishRomaji(name_)) OnNameTyped();
  const std::string typed = ToUtf8(name_->GetValue());
  if (!CommitRankIn(typed, run_, services_.records, services_.settings, services_.notices,
                    services_.clock)) {
    return;  // refused with its notice: the player mends the name
  }
  ShowRecordList(this, services_.records);
  Finish(wxID_OK);
}

void ShowRankIn(wxWindow* parent, const RunFigures& run, const RankInServices& services) {
  RankInDialog dialog(parent, run, services);
  static_cast<void>(dialog.ShowModal());
}

}  // namespace verselane
