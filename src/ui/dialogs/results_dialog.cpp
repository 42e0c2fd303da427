#include "ui/dialogs/results_dialog.h"

#include <wx/button.h>
#include <wx/listbox.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "base/notices.h"
#include "game/desktop_ports.h"
#include "game/poem_card.h"
#include "records/record_list.h"
#include "records/result_file.h"
#include "settings/question_file.h"
#include "ui/dialogs/dialog_pictures.h"
#include "ui/dialogs/poem_card_dialog.h"
#include "ui/dialogs/rank_in_dialog.h"
#include "ui/display_text.h"

namespace verselane {
namespace {

using K = ControlKind;

// The caption is the run's own.
constexpr DialogFrame kFrame{"", 167, 171, false};

// The widest entry the missed list is made for: a three-digit number and a six-kana kimariji.
constexpr const char* kWidestMissedEntry = "100 あさぼらけあ";

}  // namespace

ResultsDialog::ResultsDialog(wxWindow* parent, const RunFigures& run,
                             const ResultsServices& services)
    : BuiltDialog(parent, kFrame), run_(run), services_(services) {
  const ResultsView view = BuildResultsView(run);
  BuildControls(view);
  SetTitle(FromSjis(view.caption));
  clearTime_->SetLabel(FromSjis(view.clearTime));
  score_->SetLabel(FromSjis(view.totalScore));
  rate_->SetLabel(FromSjis(view.correctRate));
  correct_->SetLabel(FromSjis(view.correctCount));
  comment_->ChangeValue(MultiLineFromSjis(view.comment));
  saveQuestions_->Enable(view.retryEnabled);
  retry_->Enable(view.retryEnabled);
  BindButtons();
  BindMissedList();

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

void ResultsDialog::BuildControls(const ResultsView& view) {
  const wxBitmap picture = Portrait(view.portraitFrame, ScaleOf(GetParent()));
  Build({
      Place(K::kPicture, "", 7, 7, 13, 14).Showing(picture).Into(portrait_),
      Place(K::kCommentBox, "", 37, 14, 119, 25).Anchored(kStretchRight).Into(comment_),
      // Widened with the links when the list of missed poems beside them needs the room.
      Place(K::kGroupBox, " 結果 ", 7, 48, 153, 40).Anchored(kStretchRight),
      Place(K::kText, "Total Score=", 12, 61, 38, 8),
      Place(K::kTextRight, "", 53, 61, 32, 8).SizedFor("102000 pt").Into(score_),
      Place(K::kText, "Clear Time=", 12, 74, 36, 8),
      Place(K::kTextRight, "", 48, 74, 37, 8).SizedFor("100:00:00").Into(clearTime_),
      Place(K::kText, "Correct Per=", 92, 61, 38, 8),
      Place(K::kTextRight, "", 134, 61, 20, 8).SizedFor("100 %").Into(rate_),
      Place(K::kText, "Correct Num=", 92, 74, 41, 8),
      Place(K::kTextRight, "", 134, 74, 20, 8).SizedFor("100").Into(correct_),
      Place(K::kFlatButton, ">> 結果をファイルへ保存する     ", 54, 93, 106, 14)
          .Anchored(kAnchorRight)
          .Into(saveResult_),
      Place(K::kFlatButton, ">> 結果を元に問題ファイルを作る", 54, 111, 106, 14)
          .Anchored(kAnchorRight)
          .Disabled()
          .Into(saveQuestions_),
      Place(K::kFlatButton, ">> 結果を元にゲームを再スタート", 54, 129, 106, 14)
          .Anchored(kAnchorRight)
          .Disabled()
          .Into(retry_),
      Place(K::kEtchedLine, "", 7, 148, 154, 1),
      Place(K::kButton, "閉じる", 86, 154, 74, 14).Anchored(kAnchorRight).Into(close_),
      // In the free corner beside the links, and last, so that the keys still reach the
      // controls above in their order, and 閉じる first of all.
      Place(K::kText, "間違えた歌", 7, 93, 43, 8).Disabled().Into(missedCaption_),
      Place(K::kList, "", 7, 103, 43, 40)
          .SizedFor(kWidestMissedEntry)
          .Disabled()
          .Into(missed_),
  });
}

void ResultsDialog::BindMissedList() {
  for (const int poem : run_.missedPoems) {
    missed_->Append(FromSjis(PoemListEntry(services_.catalogue, poem)));
  }
  if (missed_->IsEmpty()) return;
  missedCaption_->Enable();
  missed_->Enable();
  missed_->SetSelection(0);
  // A double click, or Enter in the list (GTK's list takes it before the dialog sees it, and
  // reports it as a double click).
  missed_->Bind(wxEVT_LISTBOX_DCLICK, [this](wxCommandEvent&) { OpenMissedCard(); });
}

// The history is read as the card opens: what the run just recorded is in it.
void ResultsDialog::OpenMissedCard() {
  const int chosen = missed_->GetSelection();
  if (chosen == wxNOT_FOUND || chosen >= static_cast<int>(run_.missedPoems.size())) return;
  const HistoryOutlook outlook = services_.history.Outlook();
  ShowPoemCard(this, MakePoemCard(services_.catalogue, run_.missedPoems[chosen], outlook,
                                  services_.plan));
}

void ResultsDialog::BindButtons() {
  close_->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Finish(wxID_OK); });
  // Written, cancelled or told as failed: the results stay open whatever became of the file.
  saveResult_->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
    TellIfFailed(services_.notices, FileTask::kSaveChosenFile,
                 WriteResultFile(run_, services_.catalogue, services_.files, services_.clock));
  });
  saveQuestions_->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
    TellIfFailed(services_.notices, FileTask::kSaveChosenFile,
                 WriteQuestionFile(run_.missedPoems, services_.settings, services_.files));
  });
  retry_->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
    retryChosen_ = true;
    Finish(wxID_OK);
  });
}

void ResultsDialog::OnShown() {
  if (services_.records.FindRankPosition(run_.score) != -1) {
    ShowRankIn(this, run_, {services_.records, services_.settings, services_.notices,
                            services_.clock, services_.inputMethod, services_.romajiInput});
  }
  // The dialog has no default button: without this GTK puts a caret in the comment.
  close_->SetFocus();
}

bool ShowResults(wxWindow* parent, const RunFigures& run, const ResultsServices& services) {
  ResultsDialog dialog(parent, run, services);
  static_cast<void>(dialog.ShowModal());
  return dialog.retryChosen();
}

}  // namespace verselane
