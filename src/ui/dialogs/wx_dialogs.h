// The program's six modal dialogs and its help, as the game asks for them (DialogPort): the
// results of a run with its rank-in and record list, the record list and About box from the menu,
// and the settings with the favourite poem. Also the file dialogs (WxFileChooser) and the clock
// (LocalClock) the results' files use.
//
// Plugging in: construct it before the objects it serves exist, and connect it to them once
// they and the main window do:
//
//   WxDialogs dialogs;                        // DialogPort& for the DesktopPorts
//   Program program(dialogs, sound);
//   program.Start();
//   dialogs.Connect(program.dialogLinks());   // dialogs open over the main window
#pragma once

#include <memory>
#include <optional>

#include <wx/bitmap.h>

#include "game/desktop_ports.h"
#include "records/run_figures.h"
#include "settings/favourite.h"
#include "settings/settings_dialog_model.h"
#include "ui/dialogs/dialog_context.h"
#include "ui/dialogs/dialog_table.h"
#include "ui/dialogs/wx_file_chooser.h"

class wxWindow;

namespace verselane {

class CommandHandler;
class GameController;
class PoemCatalogue;
class RandomSource;
class RecordList;
class SettingsController;

// The program's objects the dialogs serve. `owner` is the main window: every dialog and file
// dialog opens over it (nested dialogs over the one that opened them).
struct DialogLinks {
  wxWindow* owner = nullptr;
  std::string dataFolder;  // where the file dialogs start
  const PoemCatalogue* catalogue = nullptr;
  SettingsController* settings = nullptr;
  RecordList* records = nullptr;
  GameController* game = nullptr;
  CommandHandler* commands = nullptr;
  NoticePort* notices = nullptr;
};

class WxDialogs : public DialogPort {
 public:
  // The file dialogs, the clock, the random numbers of the favourite dialog's random button and
  // the input method the rank-in opens are its own unless stand-ins are given.
  explicit WxDialogs(FileChooserPort* files = nullptr, ClockPort* clock = nullptr,
                     RandomSource* random = nullptr, InputMethodPort* inputMethod = nullptr);
  ~WxDialogs() override;
  WxDialogs(const WxDialogs&) = delete;
  WxDialogs& operator=(const WxDialogs&) = delete;

  // Serves these objects.
  void Connect(const DialogLinks& links) { links_ = links; }

  // Opens once the timer tick that ended the run has returned, so that the game's timer keeps
  // ticking while the results are open; when the results close the game is reset, and the retry
  // run starts at once.
  void OpenResults(const RunFigures& run) override;
  void OpenSettings() override;
  void OpenRecordList() override;
  void OpenMastery() override;
  void OpenAbout() override;
  void ShowHelp() override;

  // The results dialog of `run`, at once (OpenResults comes here).
  void RunResults(const RunFigures& run);

  DialogTable& gameDialogs() { return gameDialogs_; }
  DialogTable& settingsDialogs() { return settingsDialogs_; }

 private:
  // Everything the dialogs reach; false before the dialogs are connected.
  bool Prepare();
  DialogContext Context();

  void ResultsProcedure(wxWindow* parent);
  void AboutProcedure(wxWindow* parent);
  void RecordListProcedure(wxWindow* parent);
  void RankInProcedure(wxWindow* parent);
  void SettingsProcedure(wxWindow* parent);
  void FavouriteProcedure(wxWindow* parent);

  std::unique_ptr<WxFileChooser> ownFiles_;
  std::unique_ptr<LocalClock> ownClock_;
  std::unique_ptr<RandomSource> ownRandom_;
  std::unique_ptr<InputMethodPort> ownInputMethod_;
  FileChooserPort& files_;
  ClockPort& clock_;
  RandomSource& random_;
  InputMethodPort& inputMethod_;
  // The random button never repeats the poem it gave last, for the whole run of the program.
  RandomPoemPicker picker_;

  DialogLinks links_;
  RunFigures finishedRun_;
  DialogTable gameDialogs_;
  DialogTable settingsDialogs_;
  std::optional<SettingsDialogModel> settingsModel_;
  std::optional<FavouriteDialogModel> favouriteModel_;
};

// A picture built into the program ("bitmap-141.png"); an invalid bitmap when there is none. For
// a window drawn at `scale` (the desktop's), the version drawn at that size where there is one,
// marked with its factor so that GTK shows it at the 1x size with all its pixels.
wxBitmap AssetBitmap(const char* name, double scale = 1.0);
// Frame `frame` (0 to 6) of the results' portrait strip: 45 × 45 pixels at 1x.
wxBitmap Portrait(int frame, double scale = 1.0);

}  // namespace verselane
