// The settings dialog (145) and the favourite poem dialog (146). Their rules are the core's
// (settings/settings_dialog_model.h); these classes show its state and report the player's
// actions to it.
#pragma once

#include "ui/dialogs/dialog_context.h"
#include "ui/dialogs/dialog_template.h"

class wxChoice;
class wxTextCtrl;

namespace verselane {

class SettingsDialog : public TemplateDialog {
 public:
  SettingsDialog(wxWindow* parent, DialogContext& context);

  // Shows the model's state in the controls.
  void ShowModel();

 private:
  void ShowMode();
  void ShowOptions();
  void ShowSourceList();
  void ShowCount();
  void ShowFavourite();

  void OnListDropDown();
  void OnListCloseUp();
  void OnListChoice(int entry);
  void FinishListClosing();

  DialogContext& context_;
  wxChoice* sources_;
  wxTextCtrl* count_;
  // The source list's three events in the order the core expects them: GTK reports the list
  // closing before the choice made in it, so the closing is held back until the choice (if any)
  // has been taken.
  bool closingPending_ = false;
  bool committing_ = false;
};

class FavouriteDialog : public TemplateDialog {
 public:
  FavouriteDialog(wxWindow* parent, DialogContext& context);

 private:
  void OnOk();

  DialogContext& context_;
  wxTextCtrl* phrase_;
};

}  // namespace verselane
