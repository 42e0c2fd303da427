#include "ui/dialogs/settings_dialogs.h"

#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/radiobut.h>
#include <wx/spinbutt.h>
#include <wx/textctrl.h>

#include "base/file_ports.h"
#include "base/notices.h"
#include "settings/settings_dialog_model.h"
#include "ui/dialogs/dialog_table.h"
#include "ui/dialogs/dialog_templates.h"
#include "ui/display_text.h"

namespace verselane {
namespace {

void ShowText(wxTextCtrl* edit, const wxString& text) {
  if (edit->GetValue() == text) return;
  edit->ChangeValue(text);
  edit->SetInsertionPointEnd();
}

}  // namespace

SettingsDialog::SettingsDialog(wxWindow* parent, DialogContext& context)
    : TemplateDialog(parent, SettingsTemplate()),
      context_(context),
      sources_(ItemAs<wxChoice>(kSettingsSource)),
      count_(ItemAs<wxTextCtrl>(kSettingsCount)) {
  SettingsDialogModel& model = context_.settingsModel;
  model.Open();
  for (int entry = 0; entry < kListedSourceCount; ++entry) {
    sources_->Append(FromSjis(model.entryText(entry)));
  }
  ShowModel();

  const std::pair<int, QuestionMode> modes[] = {{kSettingsNormal, QuestionMode::Normal},
                                                {kSettingsReverse, QuestionMode::Reverse},
                                                {kSettingsPoetMode, QuestionMode::Poet}};
  for (const auto& [id, mode] : modes) {
    Bind(wxEVT_RADIOBUTTON, [this, mode](wxCommandEvent&) {
      context_.settingsModel.ChooseMode(mode);
      ShowOptions();
    }, id);
  }
  Bind(wxEVT_CHECKBOX, [this](wxCommandEvent& event) {
    context_.settingsModel.SetShowAfterKimariji(event.IsChecked());
    ShowOptions();
  }, kSettingsShowAfterKimariji);
  Bind(wxEVT_CHECKBOX, [this](wxCommandEvent& event) {
    context_.settingsModel.SetAcceptOmission(event.IsChecked());
  }, kSettingsAcceptOmission);
  Bind(wxEVT_CHECKBOX, [this](wxCommandEvent& event) {
    context_.settingsModel.SetPlaySounds(event.IsChecked());
  }, kSettingsPlaySounds);

  // The count box and its arrows.
  count_->Bind(wxEVT_TEXT, [this](wxCommandEvent&) {
    context_.settingsModel.TypeCount(ToUtf8(count_->GetValue()));
  });
  count_->Bind(wxEVT_KILL_FOCUS, [this](wxFocusEvent& event) {
    event.Skip();
    if (IsBeingDeleted()) return;
    context_.settingsModel.LeaveCountBox();
    ShowCount();
  });
  count_->Bind(wxEVT_KEY_DOWN, [this](wxKeyEvent& event) {
    const int key = event.GetKeyCode();
    if ((key == WXK_UP || key == WXK_DOWN) && !event.HasAnyModifiers()) {
      if (key == WXK_UP) context_.settingsModel.SpinUp();
      else context_.settingsModel.SpinDown();
      ShowCount();
      return;
    }
    event.Skip();
  });
  Bind(wxEVT_SPIN_UP, [this](wxSpinEvent&) {
    context_.settingsModel.SpinUp();
    ShowCount();
  }, kSettingsSpinner);
  Bind(wxEVT_SPIN_DOWN, [this](wxSpinEvent&) {
    context_.settingsModel.SpinDown();
    ShowCount();
  }, kSettingsSpinner);

  // The source list.
  sources_->Bind(wxEVT_COMBOBOX_DROPDOWN, [this](wxCommandEvent&) { OnListDropDown(); });
  sources_->Bind(wxEVT_COMBOBOX_CLOSEUP, [this](wxCommandEvent&) { OnListCloseUp(); });
  sources_->Bind(wxEVT_CHOICE, [this](wxCommandEvent& event) { OnListChoice(event.GetInt()); });

  Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
    context_.settingsDialogs.Open(kFavouriteSlot, this);
    ShowFavourite();
  }, kSettingsChangeFavourite);
  Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
    context_.settingsModel.Ok();
    EndDialog(wxID_OK);
  }, wxID_OK);
  Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { EndDialog(wxID_CANCEL); }, wxID_CANCEL);
  Bind(wxEVT_INIT_DIALOG, [this](wxInitDialogEvent& event) {
    event.Skip();
    TakeFocus();
  });
}

void SettingsDialog::ShowModel() {
  ShowMode();
  ShowOptions();
  ShowSourceList();
  ShowCount();
  ShowFavourite();
}

void SettingsDialog::ShowMode() {
  switch (context_.settingsModel.mode()) {
    case QuestionMode::Normal: ItemAs<wxRadioButton>(kSettingsNormal)->SetValue(true); break;
    case QuestionMode::Reverse: ItemAs<wxRadioButton>(kSettingsReverse)->SetValue(true); break;
    case QuestionMode::Poet: ItemAs<wxRadioButton>(kSettingsPoetMode)->SetValue(true); break;
  }
}

void SettingsDialog::ShowOptions() {
  const SettingsDialogModel& model = context_.settingsModel;
  auto* showAfter = ItemAs<wxCheckBox>(kSettingsShowAfterKimariji);
  showAfter->SetValue(model.showAfterKimariji());
  showAfter->Enable(model.showAfterKimarijiEnabled());
  ItemAs<wxCheckBox>(kSettingsAcceptOmission)->SetValue(model.acceptOmission());
  ItemAs<wxCheckBox>(kSettingsPlaySounds)->SetValue(model.playSounds());
}

void SettingsDialog::ShowSourceList() {
  const SettingsDialogModel& model = context_.settingsModel;
  bool shownTextChanged = false;
  for (int entry = 0; entry < kListedSourceCount; ++entry) {
    const wxString text = FromSjis(model.entryText(entry));
    if (sources_->GetString(entry) == text) continue;
    sources_->SetString(entry, text);
    if (entry == sources_->GetSelection()) shownTextChanged = true;
  }
  // GTK leaves the closed box showing the selected row's old text when only its string changed:
  // choosing the row again shows the new one.
  if (shownTextChanged) sources_->SetSelection(wxNOT_FOUND);
  if (sources_->GetSelection() != model.selectedEntry()) {
    sources_->SetSelection(model.selectedEntry());
  }
}

void SettingsDialog::ShowCount() { ShowText(count_, Text(context_.settingsModel.countText().c_str())); }

void SettingsDialog::ShowFavourite() {
  const FavouriteTexts& texts = context_.settingsModel.favouriteTexts();
  ShowText(ItemAs<wxTextCtrl>(kSettingsPoemBox), FromSjis(texts.poem));
  ShowText(ItemAs<wxTextCtrl>(kSettingsPoetBox), FromSjis(texts.poet));
  ItemAs<wxTextCtrl>(kSettingsPoemBox)->SetInsertionPoint(0);
  ItemAs<wxTextCtrl>(kSettingsPoetBox)->SetInsertionPoint(0);
}

void SettingsDialog::OnListDropDown() {
  context_.settingsModel.OpenSourceList();
  ShowSourceList();
  // GTK reports a choice only when it differs from the entry shown. With none shown while the
  // list is open, choosing the entry already chosen is reported too, as Windows reports it: the
  // file entry then asks for another file, and a group proposes its size again.
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
  context_.settingsModel.CommitSource(entry);
  committing_ = false;
  ShowSourceList();
  ShowCount();
  if (closingPending_) FinishListClosing();
}

void SettingsDialog::FinishListClosing() {
  closingPending_ = false;
  context_.settingsModel.CloseSourceList();
  ShowSourceList();
}

// ---------------------------------------------------------------------------------------------
// Favourite poem

FavouriteDialog::FavouriteDialog(wxWindow* parent, DialogContext& context)
    : TemplateDialog(parent, FavouriteTemplate()),
      context_(context),
      phrase_(ItemAs<wxTextCtrl>(kFavouritePhrase)) {
  phrase_->ChangeValue(
      FromSjis(context_.favouriteModel.Open(context_.settingsModel.pendingFavourite())));
  Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
    ShowText(phrase_, FromSjis(context_.favouriteModel.PickRandom()));
  }, kFavouriteRandom);
  Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnOk(); }, wxID_OK);
  Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { EndDialog(wxID_CANCEL); }, wxID_CANCEL);
  Bind(wxEVT_INIT_DIALOG, [this](wxInitDialogEvent& event) {
    event.Skip();
    phrase_->SetFocus();
  });
}

void FavouriteDialog::OnOk() {
  const FavouriteSearch search = context_.favouriteModel.Search(ToUtf8(phrase_->GetValue()));
  if (search.refusal) {
    Tell(context_.notices, *search.refusal);
    return;  // the dialog stays open with its text
  }
  context_.settingsModel.SetPendingFavourite(*search.poem);
  EndDialog(wxID_OK);
}

}  // namespace verselane
