// " 十八番(おはこ)の変更": the favourite poem, found by the start of its upper verse or drawn at
// random. OK hands a found poem to the settings being edited (only their OK keeps it); a text
// that finds no single poem is refused with its notice, and the dialog stays open.
#pragma once

#include "ui/dialogs/dialog_builder.h"

class wxButton;
class wxTextCtrl;

namespace verselane {

class FavouriteDialogModel;
class NoticePort;
class SettingsDialogModel;

class FavouriteDialog : public BuiltDialog {
 public:
  FavouriteDialog(wxWindow* parent, FavouriteDialogModel& model, SettingsDialogModel& settings,
                  NoticePort& notices);
  wxTextCtrl* phrase() const { return phrase_; }
  wxButton* random() const { return random_; }

 private:
  void OnOk();

  FavouriteDialogModel& model_;
  SettingsDialogModel& settings_;
  NoticePort& notices_;
  wxTextCtrl* phrase_ = nullptr;
  wxButton* random_ = nullptr;
};

// Shows the favourite poem dialog over `parent` until it is closed.
void ShowFavourite(wxWindow* parent, FavouriteDialogModel& model, SettingsDialogModel& settings,
                   NoticePort& notices);

}  // namespace verselane
