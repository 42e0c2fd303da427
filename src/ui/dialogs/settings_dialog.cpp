#include "ui/dialogs/settings_dialog.h"

#include <string>

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/radiobut.h>
#include <wx/spinbutt.h>
#include <wx/textctrl.h>

#include "catalogue/poem_groups.h"
#include "catalogue/poem_table.h"
#include "settings/settings_dialog_model.h"
#include "ui/dialogs/favourite_dialog.h"
#include "ui/dialogs/up_down_control.h"
#include "ui/display_text.h"

namespace verselane {
namespace {

using K = ControlKind;

constexpr DialogFrame kFrame{" 環境設定", 183, 207};

// The texts `textOf(0)` … `textOf(count − 1)` as one sizing text, separated by "|".
template <typename TextOf>
std::string JoinedForSizing(int count, TextOf textOf) {
  std::string joined;
  for (int index = 0; index < count; ++index) {
    if (index > 0) joined += '|';
    joined += textOf(index);
  }
  return joined;
}

// The source list's entries, for sizing the list: "全て (100首)|男歌 (79首)|...".
const std::string& SourceNames() {
  static const std::string names = JoinedForSizing(
      kListedSourceCount, [](int entry) { return ToUtf8(FromSjis(GetGroupName(entry))); });
  return names;
}

// Every poem, and every poet with the reading of the name, as the favourite's boxes show them:
// "心あてに…|…", "凡河内躬恒(おおしこうちのみつね)|…". The boxes are made wide enough for each.
const std::string& FavouritePoems() {
  static const std::string poems = JoinedForSizing(
      kPoemTableSize, [](int poem) { return std::string(kPoemTable[poem].fullText); });
  return poems;
}
const std::string& FavouritePoets() {
  static const std::string poets = JoinedForSizing(kPoemTableSize, [](int poem) {
    const PoemEntry& entry = kPoemTable[poem];
    return std::string(entry.poet) + "(" + entry.poetReading + ")";
  });
  return poets;
}

}  // namespace

SettingsDialog::SettingsDialog(wxWindow* parent, SettingsDialogModel& model,
                               FavouriteDialogModel& favourite, NoticePort& notices)
    : BuiltDialog(parent, kFrame), model_(model), favourite_(favourite), notices_(notices) {
  BuildControls();
  model_.Open();
  for (int entry = 0; entry < kListedSourceCount; ++entry) {
    sources_->Append(FromSjis(model_.entryText(entry)));
  }
  ShowModel();
  BindModes();
  BindOptions();
  BindCount();
  BindSourceList();
  BindButtons();
  Bind(wxEVT_INIT_DIALOG, [this](wxInitDialogEvent& event) {
    event.Skip();
    TakeFocus();
  });
}

// In the order the dialog was first designed with, which is also the keyboard's order.
void SettingsDialog::BuildControls() {
  Build({
      Place(K::kDefaultButton, "OK", 72, 186, 50, 14).Anchored(kAnchorRight).WithId(wxID_OK),
      Place(K::kButton, "ｷｬﾝｾﾙ", 126, 186, 50, 14).Anchored(kAnchorRight).WithId(wxID_CANCEL),
      Place(K::kGroupBox, "出題形式", 7, 6, 130, 53),
      Place(K::kFirstRadio, "普通 ：上の句に対し下の句を答える", 12, 19, 114, 10).Into(normal_),
      Place(K::kRadio, "逆順 ：下の句に対し上の句を答える", 12, 31, 114, 10).Into(reverse_),
      Place(K::kRadio, "詠人 ：詠人名に対し下の句を答える", 12, 43, 114, 10).Into(poetMode_),
      Place(K::kNumberEdit, "", 149, 67, 25, 12).SizedFor("100").Into(count_),
      Place(K::kUpDown, "Spin1", 167, 52, 9, 14).Into(spinner_),
      Place(K::kDropList, "", 33, 67, 84, 12).SizedFor(SourceNames().c_str()).Into(sources_),
      Place(K::kText, "出題元", 9, 69, 22, 8),
      Place(K::kGroupBox, "十八番（おはこ）", 7, 87, 169, 46).Anchored(kStretchRight),
      Place(K::kText, "歌", 15, 100, 8, 8),
      Place(K::kText, "詠人", 12, 117, 15, 8),
      Place(K::kButton, "変更", 123, 115, 45, 14).Into(changeFavourite_),
      Place(K::kCheckBox, "決まり字以降の文字を表示する", 7, 141, 107, 10).Into(showAfterKimariji_),
      Place(K::kCheckBox, "決まり字以降の入力を省略しても正解にする", 7, 155, 145, 10)
          .Into(acceptOmission_),
      Place(K::kCheckBox, "色々な時に音を鳴らす", 7, 169, 81, 10).Into(playSounds_),
      Place(K::kReadOnlyEdit, "", 31, 99, 137, 12)
          .Anchored(kStretchRight)
          .SizedFor(FavouritePoems().c_str())
          .Into(poemBox_),
      Place(K::kReadOnlyEdit, "", 31, 115, 83, 12).SizedFor(FavouritePoets().c_str()).Into(poetBox_),
      Place(K::kText, "出題数", 125, 69, 22, 8),
  });
}

void SettingsDialog::BindModes() {
  const std::pair<wxRadioButton*, QuestionMode> modes[] = {{normal_, QuestionMode::Normal},
                                                           {reverse_, QuestionMode::Reverse},
                                                           {poetMode_, QuestionMode::Poet}};
  for (const auto& [button, mode] : modes) {
    button->Bind(wxEVT_RADIOBUTTON, [this, mode](wxCommandEvent&) {
      model_.ChooseMode(mode);
      ShowOptions();
    });
  }
}

void SettingsDialog::BindOptions() {
  showAfterKimariji_->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent& event) {
    model_.SetShowAfterKimariji(event.IsChecked());
    ShowOptions();
  });
  acceptOmission_->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent& event) {
    model_.SetAcceptOmission(event.IsChecked());
  });
  playSounds_->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent& event) {
    model_.SetPlaySounds(event.IsChecked());
  });
}

// The count box and its arrows.
void SettingsDialog::BindCount() {
  count_->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { model_.TypeCount(ToUtf8(count_->GetValue())); });
  count_->Bind(wxEVT_KILL_FOCUS, [this](wxFocusEvent& event) {
    event.Skip();
    if (IsBeingDeleted()) return;
    model_.LeaveCountBox();
    ShowCount();
  });
  count_->Bind(wxEVT_KEY_DOWN, [this](wxKeyEvent& event) {
    const int key = event.GetKeyCode();
    if ((key == WXK_UP || key == WXK_DOWN) && !event.HasAnyModifiers()) {
      if (key == WXK_UP) model_.SpinUp();
      else model_.SpinDown();
      ShowCount();
      return;
    }
    event.Skip();
  });
  spinner_->Bind(wxEVT_SPIN_UP, [this](wxSpinEvent&) {
    model_.SpinUp();
    ShowCount();
  });
  spinner_->Bind(wxEVT_SPIN_DOWN, [this](wxSpinEvent&) {
    model_.SpinDown();
    ShowCount();
  });
}

void SettingsDialog::BindSourceList() {
  sources_->Bind(wxEVT_COMBOBOX_DROPDOWN, [this](wxCommandEvent&) { OnListDropDown(); });
  sources_->Bind(wxEVT_COMBOBOX_CLOSEUP, [this](wxCommandEvent&) { OnListCloseUp(); });
  sources_->Bind(wxEVT_CHOICE, [this](wxCommandEvent& event) { OnListChoice(event.GetInt()); });
}

void SettingsDialog::BindButtons() {
  changeFavourite_->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
    ShowFavourite(this, favourite_, model_, notices_);
    ShowFavouritePoem();
  });
  Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
    model_.Ok();
    Finish(wxID_OK);
  }, wxID_OK);
  Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Finish(wxID_CANCEL); }, wxID_CANCEL);
}

void SettingsDialog::ShowModel() {
  ShowMode();
  ShowOptions();
  ShowSourceList();
  ShowCount();
  ShowFavouritePoem();
}

void SettingsDialog::ShowMode() {
  switch (model_.mode()) {
    case QuestionMode::Normal: normal_->SetValue(true); break;
    case QuestionMode::Reverse: reverse_->SetValue(true); break;
    case QuestionMode::Poet: poetMode_->SetValue(true); break;
  }
}

void SettingsDialog::ShowOptions() {
  showAfterKimariji_->SetValue(model_.showAfterKimariji());
  showAfterKimariji_->Enable(model_.showAfterKimarijiEnabled());
  acceptOmission_->SetValue(model_.acceptOmission());
  playSounds_->SetValue(model_.playSounds());
}

void SettingsDialog::ShowSourceList() {
  bool shownTextChanged = false;
  for (int entry = 0; entry < kListedSourceCount; ++entry) {
    const wxString text = FromSjis(model_.entryText(entry));
    if (sources_->GetString(entry) == text) continue;
    sources_->SetString(entry, text);
    if (entry == sources_->GetSelection()) shownTextChanged = true;
  }
  // GTK leaves the closed box showing the selected row's old text when only its string changed:
  // choosing the row again shows the new one.
  if (shownTextChanged) sources_->SetSelection(wxNOT_FOUND);
  if (sources_->GetSelection() != model_.selectedEntry()) {
    sources_->SetSelection(model_.selectedEntry());
  }
}

void SettingsDialog::ShowCount() { ShowText(count_, Text(model_.countText().c_str())); }

void SettingsDialog::ShowFavouritePoem() {
  const FavouriteTexts& texts = model_.favouriteTexts();
  ShowText(poemBox_, FromSjis(texts.poem));
  ShowText(poetBox_, FromSjis(texts.poet));
  poemBox_->SetInsertionPoint(0);
  poetBox_->SetInsertionPoint(0);
}

void SettingsDialog::OnListDropDown() {
  model_.OpenSourceList();
  ShowSourceList();
  // GTK reports a choice only when it differs from the entry shown. With none shown while the
  // list is open, choosing the entry already chosen is reported too: the file entry then asks for
  // another file, and a group proposes its size again.
  sources_->SetSelection(wxNOT_FOUND);
}

void SettingsDialog::OnListCloseUp() {
  closingPending_ = true;
  CallAfter([this] {
    if (closingPending_ && !committing_) FinishListClosing();
  });
}

void SettingsDialog::OnListChoice(int entry) {
  committing_ = true;
  model_.CommitSource(entry);
  committing_ = false;
  ShowSourceList();
  ShowCount();
  if (closingPending_) FinishListClosing();
}

void SettingsDialog::FinishListClosing() {
  closingPending_ = false;
  model_.CloseSourceList();
  ShowSourceList();
}

void ShowSettings(wxWindow* parent, SettingsDialogModel& model, FavouriteDialogModel& favourite,
                  NoticePort& notices) {
  SettingsDialog dialog(parent, model, favourite, notices);
  static_cast<void>(dialog.ShowModal());
}

}  // namespace verselane
