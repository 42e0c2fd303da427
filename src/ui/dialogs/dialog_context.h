// What the dialogs reach: the program's objects, the run that ended, the file and clock ports,
// the two dialog tables and the settings dialogs' models.
#pragma once

namespace verselane {

class ClockPort;
class CommandHandler;
class DialogTable;
class FavouriteDialogModel;
class FileChooserPort;
class InputMethodPort;
class NoticePort;
class PoemCatalogue;
class RecordList;
class SettingsController;
class SettingsDialogModel;
struct RunFigures;

// Slots of the game's dialog table.
inline constexpr int kResultsSlot = 0;
inline constexpr int kAboutSlot = 1;
inline constexpr int kRecordListSlot = 2;
inline constexpr int kRankInSlot = 3;
// Slots of the settings' dialog table.
inline constexpr int kSettingsSlot = 0;
inline constexpr int kFavouriteSlot = 1;

struct DialogContext {
  const PoemCatalogue& catalogue;
  SettingsController& settings;
  RecordList& records;
  CommandHandler& commands;
  const RunFigures& finishedRun;  // the run whose results are open (empty figures otherwise)
  NoticePort& notices;
  FileChooserPort& files;
  ClockPort& clock;
  InputMethodPort& inputMethod;
  DialogTable& gameDialogs;
  DialogTable& settingsDialogs;
  SettingsDialogModel& settingsModel;
  FavouriteDialogModel& favouriteModel;
};

}  // namespace verselane
