// " ランクイン": asks for the name under which a run enters the record list. The name field is
// typed in as the answer line is: with romaji input on it turns romaji into hiragana itself and
// keeps the input method closed, else it opens the input method. It refuses what would take the
// name past ten bytes.
// OK records it and shows the record list, unless the name is refused (the dialog then stays);
// Cancel records nothing.
#pragma once

#include <wx/string.h>

#include "ui/dialogs/dialog_builder.h"

class wxTextCtrl;

namespace verselane {

class ClockPort;
class InputMethodPort;
class NoticePort;
class RecordList;
class SettingsController;
struct RunFigures;

// Where the name and the run go, and what dates them.
struct RankInServices {
  RecordList& records;
  SettingsController& settings;  // the player's name
  NoticePort& notices;
  ClockPort& clock;
  InputMethodPort& inputMethod;
  const bool& romajiInput;  // the answer line's setting, as it is when the dialog opens
};

class RankInDialog : public BuiltDialog {
 public:
  RankInDialog(wxWindow* parent, const RunFigures& run, const RankInServices& services);
  wxTextCtrl* name() const { return name_; }

 private:
  void OnOk();
  void OnNameTyped();
  void OnNameKey(wxKeyEvent& event);

  const RunFigures& run_;
  const RankInServices& services_;
  const bool romaji_;  // romaji input, as it was when the dialog opened
  bool romajiTyped_ = false;  // a key was typed as romaji into the name
  wxTextCtrl* name_ = nullptr;
  wxString lastName_;  // the name field's text as it last fitted
  bool nameOpened_ = false;  // the input method asked to open in the name field
};

// Shows the rank-in of `run` over `parent` until it is closed.
void ShowRankIn(wxWindow* parent, const RunFigures& run, const RankInServices& services);

}  // namespace verselane
