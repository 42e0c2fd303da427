#include "ui/dialogs/wx_dialogs.h"

#include <utility>

#include <wx/window.h>

#include "game/game_controller.h"
#include "ui/dialogs/about_dialog.h"
#include "ui/dialogs/mastery_dialog.h"
#include "ui/dialogs/plan_settings_dialog.h"
#include "ui/dialogs/poem_card_dialog.h"
#include "ui/dialogs/record_list_dialog.h"
#include "ui/dialogs/settings_dialog.h"
#include "ui/help.h"

namespace verselane {

WxDialogs::WxDialogs(std::function<wxWindow*()> owner, const GameController& game,
                     const ResultsServices& services, RandomSource& random)
    : owner_(std::move(owner)),
      game_(game),
      services_(services),
      picker_(random),
      settingsModel_(services.catalogue, services.settings, services.files, services.notices),
      favouriteModel_(services.catalogue, picker_) {}

void WxDialogs::OpenResults(const RunFigures& run, std::function<void(bool retry)> closed) {
  // Called on the main window, so that a window already gone takes the call with it.
  owner_()->CallAfter([this, run, closed = std::move(closed)] {
    // Only the run that asked for its results: a reset in between leaves nothing to show.
    if (game_.playState() == PlayState::Finished) RunResults(run, closed);
  });
}

void WxDialogs::RunResults(const RunFigures& run, const std::function<void(bool retry)>& closed) {
  const bool retry = ShowResults(owner_(), run, services_);
  // The results are gone: back to Idle, and into the retry run at once when it was chosen.
  closed(retry);
}

void WxDialogs::OpenSettings() {
  ShowSettings(owner_(), settingsModel_, favouriteModel_, services_.notices);
}

void WxDialogs::OpenRecordList() { ShowRecordList(owner_(), services_.records); }

void WxDialogs::OpenMastery(const HistoryOutlook& history) {
  ShowMastery(owner_(), services_.catalogue, history, services_.plan);
}

void WxDialogs::OpenAbout() { ShowAbout(owner_()); }

void WxDialogs::ShowHelp() { verselane::ShowHelp(owner_()); }

bool WxDialogs::EditPlanSettings(PlanSettings& settings) {
  return verselane::EditPlanSettings(owner_(), settings);
}

void WxDialogs::OpenMeeting(const PoemCard& card, std::function<void()> closed) {
  owner_()->CallAfter([this, card, closed = std::move(closed)] {
    // A run reset in between has no card to show any more.
    if (game_.phase() != Phase::kMeeting || game_.playState() == PlayState::Idle) return;
    ShowPoemCard(owner_(), card);
    closed();
  });
}

}  // namespace verselane
