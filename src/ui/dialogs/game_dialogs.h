// The game's four dialogs: the results of a run (140), the About box (149), the record list
// (152) and the rank-in (154).
#pragma once

#include <wx/bitmap.h>

#include "game/results.h"
#include "ui/dialogs/dialog_context.h"
#include "ui/dialogs/dialog_template.h"

namespace verselane {

// The results of a finished run: caption, figures, the commenting character's portrait and
// comment. Once shown, it opens the rank-in over itself when the score enters the record list,
// and otherwise takes the focus. It saves the result file (9) and a question file of the wrong
// answers (11, only with wrong answers), and ends only through "閉じる" (8) and the retry (12):
// neither Enter, Esc nor a close box end it.
class ResultsDialog : public TemplateDialog {
 public:
  ResultsDialog(wxWindow* parent, DialogContext& context, const ResultsView& view,
                const wxBitmap& portrait);
  // The player chose the retry run (button 12).
  bool retryChosen() const { return retryChosen_; }

 private:
  void OnShown();

  DialogContext& context_;
  bool shownOnce_ = false;
  bool retryChosen_ = false;
};

// " バージョン情報": the program's title and version, a notice line and the contact text.
class AboutDialog : public TemplateDialog {
 public:
  AboutDialog(wxWindow* parent, const wxBitmap& picture);
};

// " 記録一覧": the five best results.
class RecordListDialog : public TemplateDialog {
 public:
  RecordListDialog(wxWindow* parent, DialogContext& context, const wxBitmap& icon);
};

// " ランクイン": asks for the name under which the run enters the record list. The name field
// opens the input method as the answer line does, and refuses what would take the name past ten
// bytes. OK records it and shows the record list, unless the name is refused (the dialog then
// stays); Cancel records nothing.
class RankInDialog : public TemplateDialog {
 public:
  RankInDialog(wxWindow* parent, DialogContext& context, const wxBitmap& picture);

 private:
  void OnOk();
  void OnNameTyped();

  DialogContext& context_;
  wxString lastName_;  // the name field's text as it last fitted
  bool nameOpened_ = false;  // the input method asked to open in the name field
};

// The program's title and version as the About box shows them: " Verselane ver 2.08".
wxString VersionLine();
// The About box's contact text: a web address and an e-mail address, one a line.
wxString ContactText();

}  // namespace verselane
