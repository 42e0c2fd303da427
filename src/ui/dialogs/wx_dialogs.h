// The program's modal dialogs and its help, as the game asks for them (DialogPort): the results
// of a run with its rank-in and record list, the record list, mastery and About windows from the
// menu, and the settings with the favourite poem. Every dialog opens over the main window, nested
// ones over the dialog that opened them.
#pragma once

#include <functional>

#include "game/desktop_ports.h"
#include "settings/favourite.h"
#include "settings/settings_dialog_model.h"
#include "ui/dialogs/results_dialog.h"

class wxWindow;

namespace verselane {

class GameController;
class RandomSource;

class WxDialogs : public DialogPort {
 public:
  // `owner` gives the main window as a dialog opens; `game` tells whether the run that asked for
  // its results still waits for them; `random` draws the favourite dialog's random poems.
  WxDialogs(std::function<wxWindow*()> owner, const GameController& game,
            const ResultsServices& services, RandomSource& random);
  WxDialogs(const WxDialogs&) = delete;
  WxDialogs& operator=(const WxDialogs&) = delete;

  // Opens once the timer tick that ended the run has returned, so that the game's timer keeps
  // ticking while the results are open.
  void OpenResults(const RunFigures& run, std::function<void(bool retry)> closed) override;
  void OpenSettings() override;
  void OpenRecordList() override;
  void OpenMastery(const HistoryOutlook& history) override;
  void OpenAbout() override;
  void ShowHelp() override;
  bool EditPlanSettings(PlanSettings& settings) override;
  // Opens once the timer tick that showed the poem has returned, as the results do.
  void OpenMeeting(const PoemCard& card, std::function<void()> closed) override;

  // The results of `run`, at once (OpenResults comes here); `closed` is told what the player
  // chose.
  void RunResults(const RunFigures& run, const std::function<void(bool retry)>& closed);

 private:
  std::function<wxWindow*()> owner_;
  const GameController& game_;
  ResultsServices services_;
  // The random button never repeats the poem it gave last, for the whole run of the program.
  RandomPoemPicker picker_;
  SettingsDialogModel settingsModel_;
  FavouriteDialogModel favouriteModel_;
};

}  // namespace verselane
