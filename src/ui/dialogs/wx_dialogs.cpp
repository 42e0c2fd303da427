#include "ui/dialogs/wx_dialogs.h"

#include <algorithm>
#include <cmath>

#include <wx/dialog.h>
#include <wx/image.h>
#include <wx/mstream.h>
#include <wx/window.h>

#include "base/random_source.h"
#include "game/command_handler.h"
#include "game/game_controller.h"
#include "game/results.h"
#include "ui/assets.h"
#include "ui/dialogs/dialog_templates.h"
#include "ui/dialogs/game_dialogs.h"
#include "ui/dialogs/settings_dialogs.h"
#include "ui/help.h"
#include "ui/input_method.h"
#include "ui/mastery_window.h"
#include "ui/wx_surface.h"

namespace verselane {
namespace {

constexpr int kPortraitSize = 45;
constexpr int kPortraitFrames = 7;

constexpr int kLargestDrawnFactor = 3;

// Each dialog carries out what the player chose in it before it ends, so the code it ends with
// tells nothing more.
void RunModal(wxDialog& dialog) { static_cast<void>(dialog.ShowModal()); }

wxImage AssetImage(const std::string& name) {
  const std::optional<AssetData> asset = FindAsset(name);
  if (!asset) return wxImage();
  if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr) wxImage::AddHandler(new wxPNGHandler);
  wxMemoryInputStream stream(asset->data, asset->size);
  return wxImage(stream, wxBITMAP_TYPE_ANY);
}

// The whole factor of the version drawn for a window at `scale`: 1, 2 or 3.
int DrawnFactor(double scale) {
  return std::clamp(static_cast<int>(std::ceil(scale - 0.01)), 1, kLargestDrawnFactor);
}

double ScaleOf(const wxWindow* window) {
  return window != nullptr ? window->GetContentScaleFactor() : 1.0;
}

}  // namespace

wxBitmap AssetBitmap(const char* name, double scale) {
  const int factor = DrawnFactor(scale);
  if (factor > 1) {
    const wxImage larger = AssetImage(DrawnVersionName(name, factor));
    if (larger.IsOk()) return wxBitmap(larger, -1, factor);
  }
  const wxImage image = AssetImage(name);
  return image.IsOk() ? wxBitmap(image) : wxBitmap();
}

wxBitmap Portrait(int frame, double scale) {
  const wxBitmap strip = AssetBitmap("bitmap-141.png", scale);
  const int factor = static_cast<int>(strip.IsOk() ? strip.GetScaleFactor() : 1.0);
  const int side = kPortraitSize * factor;
  if (!strip.IsOk() || frame < 0 || frame >= kPortraitFrames ||
      strip.GetWidth() < side * (frame + 1) || strip.GetHeight() < side) {
    return wxBitmap();
  }
  const wxImage cell = strip.ConvertToImage().GetSubImage(wxRect(frame * side, 0, side, side));
  return wxBitmap(cell, -1, factor);
}

WxDialogs::WxDialogs(FileChooserPort* files, ClockPort* clock, RandomSource* random,
                     InputMethodPort* inputMethod)
    : ownFiles_(files == nullptr ? std::make_unique<WxFileChooser>() : nullptr),
      ownClock_(clock == nullptr ? std::make_unique<LocalClock>() : nullptr),
      ownRandom_(random == nullptr ? std::make_unique<SystemRandom>() : nullptr),
      ownInputMethod_(inputMethod == nullptr ? std::make_unique<InputMethodSwitch>() : nullptr),
      files_(files != nullptr ? *files : *ownFiles_),
      clock_(clock != nullptr ? *clock : *ownClock_),
      random_(random != nullptr ? *random : *ownRandom_),
      inputMethod_(inputMethod != nullptr ? *inputMethod : *ownInputMethod_),
      picker_(random_) {
  gameDialogs_.Fill({kResultsTemplate, kAboutTemplate, kRecordListTemplate, kRankInTemplate},
                    {[this](wxWindow* parent) { ResultsProcedure(parent); },
                     [this](wxWindow* parent) { AboutProcedure(parent); },
                     [this](wxWindow* parent) { RecordListProcedure(parent); },
                     [this](wxWindow* parent) { RankInProcedure(parent); }});
  settingsDialogs_.Fill({kSettingsTemplate, kFavouriteTemplate},
                        {[this](wxWindow* parent) { SettingsProcedure(parent); },
                         [this](wxWindow* parent) { FavouriteProcedure(parent); }});
}

WxDialogs::~WxDialogs() = default;

bool WxDialogs::Prepare() {
  const DialogLinks& links = links_;
  if (links.catalogue == nullptr || links.settings == nullptr || links.records == nullptr ||
      links.game == nullptr || links.commands == nullptr || links.notices == nullptr) {
    return false;
  }
  gameDialogs_.SetOwner(links.owner);
  settingsDialogs_.SetOwner(links.owner);
  if (ownFiles_) {
    ownFiles_->SetOwner(links.owner);
    ownFiles_->SetStartFolder(links.dataFolder);
  }
  if (!settingsModel_) {
    settingsModel_.emplace(*links.catalogue, *links.settings, files_, *links.notices);
  }
  if (!favouriteModel_) favouriteModel_.emplace(*links.catalogue, picker_);
  return true;
}

DialogContext WxDialogs::Context() {
  const DialogLinks& links = links_;
  return DialogContext{*links.catalogue, *links.settings,  *links.records, *links.commands,
                       finishedRun_,     *links.notices,   files_,          clock_,
                       inputMethod_,     gameDialogs_,     settingsDialogs_, *settingsModel_,
                       *favouriteModel_};
}

void WxDialogs::OpenResults(const RunFigures& run) {
  wxWindow* owner = links_.owner;
  if (owner == nullptr) {
    RunResults(run);
    return;
  }
  owner->CallAfter([this, run] {
    // Only the run that asked for its results: a reset in between leaves nothing to show.
    if (links_.game != nullptr && links_.game->playState() == PlayState::Finished) {
      RunResults(run);
    }
  });
}

void WxDialogs::RunResults(const RunFigures& run) {
  finishedRun_ = run;
  if (Prepare()) gameDialogs_.Open(kResultsSlot);
  finishedRun_ = RunFigures{};
}

void WxDialogs::OpenSettings() {
  if (Prepare()) settingsDialogs_.Open(kSettingsSlot);
}

void WxDialogs::OpenRecordList() {
  if (Prepare()) gameDialogs_.Open(kRecordListSlot);
}

void WxDialogs::OpenMastery() {
  if (Prepare()) ShowMastery(links_.owner, *links_.catalogue, links_.game->history().Snapshot());
}

void WxDialogs::OpenAbout() {
  if (Prepare()) gameDialogs_.Open(kAboutSlot);
}

void WxDialogs::ShowHelp() { verselane::ShowHelp(links_.owner); }

void WxDialogs::ResultsProcedure(wxWindow* parent) {
  DialogContext context = Context();
  const ResultsView view = BuildResultsView(finishedRun_);
  bool retry = false;
  {
    ResultsDialog dialog(parent, context, view, Portrait(view.portraitFrame, ScaleOf(parent)));
    RunModal(dialog);
    retry = dialog.retryChosen();
  }
  // The results are gone: back to Idle, and into the retry run at once when it was chosen.
  context.commands.CloseResults(retry);
}

void WxDialogs::AboutProcedure(wxWindow* parent) {
  AboutDialog dialog(parent, AssetBitmap("bitmap-about.png", ScaleOf(parent)));
  RunModal(dialog);
}

void WxDialogs::RecordListProcedure(wxWindow* parent) {
  DialogContext context = Context();
  RecordListDialog dialog(parent, context, AssetBitmap("icon-153.png", ScaleOf(parent)));
  RunModal(dialog);
}

void WxDialogs::RankInProcedure(wxWindow* parent) {
  DialogContext context = Context();
  RankInDialog dialog(parent, context, AssetBitmap("bitmap-157.png", ScaleOf(parent)));
  RunModal(dialog);
}

void WxDialogs::SettingsProcedure(wxWindow* parent) {
  DialogContext context = Context();
  SettingsDialog dialog(parent, context);
  RunModal(dialog);
}

void WxDialogs::FavouriteProcedure(wxWindow* parent) {
  DialogContext context = Context();
  FavouriteDialog dialog(parent, context);
  RunModal(dialog);
}

}  // namespace verselane
