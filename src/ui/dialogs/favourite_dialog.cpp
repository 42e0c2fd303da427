#include "ui/dialogs/favourite_dialog.h"

#include <wx/button.h>
#include <wx/textctrl.h>

#include "base/notices.h"
#include "settings/favourite.h"
#include "settings/settings_dialog_model.h"
#include "ui/display_text.h"

namespace verselane {
namespace {

using K = ControlKind;

constexpr DialogFrame kFrame{" 十八番(おはこ)の変更", 187, 63};

}  // namespace

FavouriteDialog::FavouriteDialog(wxWindow* parent, FavouriteDialogModel& model,
                                 SettingsDialogModel& settings, NoticePort& notices)
    : BuiltDialog(parent, kFrame), model_(model), settings_(settings), notices_(notices) {
  Build({
      Place(K::kText, "十八番の上の句を入力してください。( 決まり字以降省略可 )", 5, 8, 175, 8),
      Place(K::kEdit, "", 7, 22, 173, 13).Anchored(kStretchRight).Into(phrase_),
      Place(K::kButton, "ランダムに選ぶ", 7, 42, 65, 14).Into(random_),
      Place(K::kDefaultButton, "OK", 76, 42, 50, 14).Anchored(kAnchorRight).WithId(wxID_OK),
      Place(K::kButton, "ｷｬﾝｾﾙ", 130, 42, 50, 14).Anchored(kAnchorRight).WithId(wxID_CANCEL),
  });
  phrase_->ChangeValue(FromSjis(model_.Open(settings_.pendingFavourite())));
  random_->Bind(wxEVT_BUTTON,
                [this](wxCommandEvent&) { ShowText(phrase_, FromSjis(model_.PickRandom())); });
  Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnOk(); }, wxID_OK);
  Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Finish(wxID_CANCEL); }, wxID_CANCEL);
  Bind(wxEVT_INIT_DIALOG, [this](wxInitDialogEvent& event) {
    event.Skip();
    phrase_->SetFocus();
  });
}

void FavouriteDialog::OnOk() {
  const FavouriteSearch search = model_.Search(ToUtf8(phrase_->GetValue()));
  if (search.refusal) {
    Tell(notices_, *search.refusal);
    return;  // the dialog stays open with its text
  }
  settings_.SetPendingFavourite(*search.poem);
  Finish(wxID_OK);
}

void ShowFavourite(wxWindow* parent, FavouriteDialogModel& model, SettingsDialogModel& settings,
                   NoticePort& notices) {
  FavouriteDialog dialog(parent, model, settings, notices);
  static_cast<void>(dialog.ShowModal());
}

}  // namespace verselane
