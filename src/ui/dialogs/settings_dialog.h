// " 環境設定": the question mode, the source and count of the questions, the favourite poem and
// three options. Its rules are the core's (settings/settings_dialog_model.h); this class shows the
// model's state and reports the player's actions to it.
#pragma once

#include "ui/dialogs/dialog_builder.h"

class wxButton;
class wxCheckBox;
class wxChoice;
class wxRadioButton;
class wxTextCtrl;

namespace verselane {

class FavouriteDialogModel;
class NoticePort;
class SettingsDialogModel;
class UpDownControl;

class SettingsDialog : public BuiltDialog {
 public:
  // `favourite` and `notices` serve the favourite poem dialog the 変更 button opens.
  SettingsDialog(wxWindow* parent, SettingsDialogModel& model, FavouriteDialogModel& favourite,
                 NoticePort& notices);

  // Shows the model's state in the controls.
  void ShowModel();

  wxRadioButton* normal() const { return normal_; }
  wxRadioButton* reverse() const { return reverse_; }
  wxRadioButton* poetMode() const { return poetMode_; }
  wxTextCtrl* count() const { return count_; }
  UpDownControl* spinner() const { return spinner_; }
  wxChoice* sources() const { return sources_; }
  wxButton* changeFavourite() const { return changeFavourite_; }
  wxCheckBox* showAfterKimariji() const { return showAfterKimariji_; }
  wxCheckBox* acceptOmission() const { return acceptOmission_; }
  wxCheckBox* playSounds() const { return playSounds_; }
  wxTextCtrl* poemBox() const { return poemBox_; }
  wxTextCtrl* poetBox() const { return poetBox_; }

 private:
  void BuildControls();
  void BindModes();
  void BindOptions();
  void BindCount();
  void BindSourceList();
  void BindButtons();

  void ShowMode();
  void ShowOptions();
  void ShowSourceList();
  void ShowCount();
  void ShowFavouritePoem();

  void OnListDropDown();
  void OnListCloseUp();
  void OnListChoice(int entry);
  void FinishListClosing();

  SettingsDialogModel& model_;
  FavouriteDialogModel& favourite_;
  NoticePort& notices_;
  wxRadioButton* normal_ = nullptr;
  wxRadioButton* reverse_ = nullptr;
  wxRadioButton* poetMode_ = nullptr;
  wxTextCtrl* count_ = nullptr;
  UpDownControl* spinner_ = nullptr;
  wxChoice* sources_ = nullptr;
  wxButton* changeFavourite_ = nullptr;
  wxCheckBox* showAfterKimariji_ = nullptr;
  wxCheckBox* acceptOmission_ = nullptr;
  wxCheckBox* playSounds_ = nullptr;
  wxTextCtrl* poemBox_ = nullptr;
  wxTextCtrl* poetBox_ = nullptr;
  // The source list's three events in the order the core expects them: GTK reports the list
  // closing before the choice made in it, so the closing is held back until the choice (if any)
  // has been taken.
  bool closingPending_ = false;
  bool committing_ = false;
};

// Shows the settings over `parent` until they are closed; OK has the model keep them.
void ShowSettings(wxWindow* parent, SettingsDialogModel& model, FavouriteDialogModel& favourite,
                  NoticePort& notices);

}  // namespace verselane
