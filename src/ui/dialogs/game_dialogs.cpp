#include "ui/dialogs/game_dialogs.h"

#include <algorithm>
#include <string>

#include <wx/button.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/utils.h>

#include "base/notices.h"
#include "game/desktop_ports.h"
#include "records/rank_in.h"
#include "records/record_list.h"
#include "records/result_file.h"
#include "settings/question_file.h"
#include "settings/settings_controller.h"
#include "ui/command_line.h"
#include "ui/dialogs/dialog_table.h"
#include "ui/dialogs/dialog_templates.h"
#include "ui/display_text.h"
#include "ui/main_frame.h"

namespace verselane {
namespace {

constexpr const char* kContactText = "https://verselane.example.org/\nsupport@verselane.example.org";

void SetText(TemplateDialog& dialog, int id, const wxString& text) {
  if (auto* label = dialog.ItemAs<wxStaticText>(id)) label->SetLabel(text);
  if (auto* edit = dialog.ItemAs<wxTextCtrl>(id)) edit->ChangeValue(text);
}

}  // namespace

wxString VersionLine() { return Text(kTitle) + " ver " + kVersion; }

wxString ContactText() { return Text(kContactText); }

// ---------------------------------------------------------------------------------------------
// Results

ResultsDialog::ResultsDialog(wxWindow* parent, DialogContext& context, const ResultsView& view,
                             const wxBitmap& portrait)
    : TemplateDialog(parent, ResultsTemplate(), {{kResultsPortrait, portrait}}),
      context_(context) {
  SetTitle(FromSjis(view.caption));
  SetText(*this, kResultsClearTime, FromSjis(view.clearTime));
  SetText(*this, kResultsScore, FromSjis(view.totalScore));
  SetText(*this, kResultsRate, FromSjis(view.correctRate));
  SetText(*this, kResultsCorrect, FromSjis(view.correctCount));
  SetText(*this, kResultsComment, MultiLineFromSjis(view.comment));
  Item(kResultsSaveQuestions)->Enable(view.retryEnabled);
  Item(kResultsRetry)->Enable(view.retryEnabled);

  Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { EndDialog(wxID_OK); }, kResultsClose);
  // Written, cancelled or told as failed: the results stay open whatever became of the file.
  Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
    TellIfFailed(context_.notices, FileTask::kSaveChosenFile,
                 WriteResultFile(context_.finishedRun, context_.catalogue, context_.files,
                                 context_.clock));
  }, kResultsSaveResult);
  Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
    TellIfFailed(context_.notices, FileTask::kSaveChosenFile,
                 WriteQuestionFile(context_.finishedRun.missedPoems, context_.settings,
                                   context_.files));
  }, kResultsSaveQuestions);
  Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
    retryChosen_ = true;
    EndDialog(wxID_OK);
  }, kResultsRetry);
  // The dialog's own OK and Cancel commands (Enter on no button, Esc) end nothing here.
  Bind(wxEVT_BUTTON, [](wxCommandEvent&) {}, wxID_OK);
  Bind(wxEVT_BUTTON, [](wxCommandEvent&) {}, wxID_CANCEL);
  // Nor does Enter on 閉じる, where the focus starts: the Enter that answered the last question
  // may still be held down.
  Bind(wxEVT_CHAR_HOOK, [](wxKeyEvent& event) {
    const int key = event.GetKeyCode();
    if (key != WXK_RETURN && key != WXK_NUMPAD_ENTER) event.Skip();
  });

  // The rank-in opens over the results only once they are on the screen.
  Bind(wxEVT_SHOW, [this](wxShowEvent& event) {
    event.Skip();
    if (event.IsShown() && !shownOnce_) {
      shownOnce_ = true;
      CallAfter(&ResultsDialog::OnShown);
    }
  });
}

void ResultsDialog::OnShown() {
  if (context_.records.FindRankPosition(context_.finishedRun.score) != -1) {
    context_.gameDialogs.Open(kRankInSlot, this);
  }
  // The dialog has no default button: without this GTK puts a caret in the comment.
  Item(kResultsClose)->SetFocus();
}

// ---------------------------------------------------------------------------------------------
// About

AboutDialog::AboutDialog(wxWindow* parent, const wxBitmap& picture)
    : TemplateDialog(parent, AboutTemplate(), {{kAboutBitmap, picture}}) {
  SetText(*this, kAboutVersion, VersionLine());
  SetText(*this, kAboutContact, ContactText());
  for (const int id : {wxID_OK, wxID_CANCEL}) {
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { EndDialog(wxID_OK); }, id);
  }
  Bind(wxEVT_INIT_DIALOG, [this](wxInitDialogEvent& event) {
    event.Skip();
    TakeFocus();
  });
}

// ---------------------------------------------------------------------------------------------
// Record list

RecordListDialog::RecordListDialog(wxWindow* parent, DialogContext& context, const wxBitmap& icon)
    : TemplateDialog(parent, RecordListTemplate(), {{kRecordListIcon, icon}}) {
  const auto texts = RecordListTexts(context.records);
  for (std::size_t field = 0; field < texts.size(); ++field) {
    SetText(*this, kRecordListFirstField + static_cast<int>(field), FromSjis(texts[field]));
  }
  for (const int id : {wxID_OK, wxID_CANCEL}) {
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { EndDialog(wxID_OK); }, id);
  }
  Bind(wxEVT_INIT_DIALOG, [this](wxInitDialogEvent& event) {
    event.Skip();
    TakeFocus();
  });
}

// ---------------------------------------------------------------------------------------------
// Rank-in

RankInDialog::RankInDialog(wxWindow* parent, DialogContext& context, const wxBitmap& picture)
    : TemplateDialog(parent, RankInTemplate(), {{kRankInBitmap, picture}}),
      context_(context) {
  auto* name = ItemAs<wxTextCtrl>(kRankInName);
  lastName_ = FromSjis(context.settings.settings().playerName());
  name->ChangeValue(lastName_);
  name->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { OnNameTyped(); });
  Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnOk(); }, wxID_OK);
  Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { EndDialog(wxID_CANCEL); }, wxID_CANCEL);
  Bind(wxEVT_INIT_DIALOG, [name](wxInitDialogEvent& event) {
    event.Skip();
    name->SetFocus();
  });
  // Input methods such as Fcitx 5 keep a state for each field and open the one that has their
  // focus: this one is opened once it really has the focus, the dialog shown and active.
  name->Bind(wxEVT_SET_FOCUS, [this](wxFocusEvent& event) {
    event.Skip();
    if (nameOpened_) return;
    nameOpened_ = true;
    CallAfter([this] { context_.inputMethod.RequestOpen(); });
  });
}

void RankInDialog::OnNameTyped() {
  auto* name = ItemAs<wxTextCtrl>(kRankInName);
  const wxString typed = name->GetValue();
  if (NameFitsField(ToUtf8(typed))) {
    lastName_ = typed;
    return;
  }
  // Refused whole, where the player sees it, rather than cut when it is stored.
  const long added = static_cast<long>(typed.length()) - static_cast<long>(lastName_.length());
  const long insertion = std::clamp(name->GetInsertionPoint() - std::max(added, 0L), 0L,
                                    static_cast<long>(lastName_.length()));
  name->ChangeValue(lastName_);
  name->SetInsertionPoint(insertion);
  wxBell();
}

void RankInDialog::OnOk() {
  const std::string typed = ToUtf8(ItemAs<wxTextCtrl>(kRankInName)->GetValue());
  if (!CommitRankIn(typed, context_.finishedRun, context_.records, context_.settings,
                    context_.notices, context_.clock)) {
    return;  // refused with its notice: the player mends the name
  }
  context_.gameDialogs.Open(kRecordListSlot, this);
  EndDialog(wxID_OK);
}

}  // namespace verselane
