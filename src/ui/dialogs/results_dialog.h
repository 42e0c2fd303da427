// The results of a finished run: caption, figures, the commenting character's portrait and
// comment, and the poems missed in the run, each opening its card. Once shown, it opens the
// rank-in over itself when the score enters the record list, and otherwise takes the focus. It
// saves the result file and a question file of the wrong answers (only with wrong answers), and
// ends only through "閉じる" and the retry: neither Enter, Esc nor a close box end it, so that the
// Enter that answered the last question cannot.
#pragma once

#include "game/results.h"
#include "records/run_figures.h"
#include "settings/plan_settings.h"
#include "ui/dialogs/dialog_builder.h"

class wxButton;
class wxListBox;
class wxStaticBitmap;
class wxStaticText;
class wxTextCtrl;

namespace verselane {

class ClockPort;
class FileChooserPort;
class HistoryPort;
class InputMethodPort;
class NoticePort;
class PoemCatalogue;
class RecordList;
class SettingsController;

// What the results reach beyond the run: the files they write, the record list with the
// player's name that a ranking run enters, and the history and plan the poem cards show.
struct ResultsServices {
  const PoemCatalogue& catalogue;
  SettingsController& settings;
  RecordList& records;
  FileChooserPort& files;
  NoticePort& notices;
  ClockPort& clock;
  InputMethodPort& inputMethod;  // opened in the rank-in's name field
  HistoryPort& history;
  const PlanSettings& plan;
  const bool& romajiInput;  // the answer line's, which the rank-in's name field follows
};

class ResultsDialog : public BuiltDialog {
 public:
  ResultsDialog(wxWindow* parent, const RunFigures& run, const ResultsServices& services);
  // The player chose the retry run.
  bool retryChosen() const { return retryChosen_; }

  wxStaticBitmap* portrait() const { return portrait_; }
  wxTextCtrl* comment() const { return comment_; }
  wxStaticText* score() const { return score_; }
  wxStaticText* clearTime() const { return clearTime_; }
  wxStaticText* rate() const { return rate_; }
  wxStaticText* correct() const { return correct_; }
  wxButton* saveResult() const { return saveResult_; }
  wxButton* saveQuestions() const { return saveQuestions_; }
  wxButton* retry() const { return retry_; }
  wxButton* close() const { return close_; }
  // "間違えた歌": the poems missed in the run, in the order they were missed.
  wxListBox* missed() const { return missed_; }
  // The card of the poem chosen in the list, over the results until it is closed.
  void OpenMissedCard();

 private:
  void BuildControls(const ResultsView& view);
  void BindButtons();
  void BindMissedList();
  void OnShown();

  const RunFigures& run_;
  const ResultsServices& services_;
  wxStaticBitmap* portrait_ = nullptr;
  wxTextCtrl* comment_ = nullptr;
  wxStaticText* score_ = nullptr;
  wxStaticText* clearTime_ = nullptr;
  wxStaticText* rate_ = nullptr;
  wxStaticText* correct_ = nullptr;
  wxButton* saveResult_ = nullptr;
  wxButton* saveQuestions_ = nullptr;
  wxButton* retry_ = nullptr;
  wxButton* close_ = nullptr;
  wxStaticText* missedCaption_ = nullptr;
  wxListBox* missed_ = nullptr;
  bool shownOnce_ = false;
  bool retryChosen_ = false;
};

// Shows the results of `run` over `parent` until they are closed; true when the player chose the
// retry run.
bool ShowResults(wxWindow* parent, const RunFigures& run, const ResultsServices& services);

}  // namespace verselane
