// What the dialogs reach: the program's objects, the file and clock ports, the two dialog tables
// and the settings dialogs' models.
#pragma once

namespace verselane {

class ClockPort;
class CommandHandler;
class DialogTable;
class Environment;
class FavouriteDialogModel;
class FileChooserPort;
class GameController;
class NoticePort;
class RecordList;
class SettingsController;
class SettingsDialogModel;

// Slots of the game's dialog table.
inline constexpr int kResultsSlot = 0;
inline constexpr int kAboutSlot = 1;
inline constexpr int kRecordListSlot = 2;
inline constexpr int kRankInSlot = 3;
// Slots of the settings' dialog table.
inline constexpr int kSettingsSlot = 0;
inline constexpr int kFavouriteSlot = 1;

struct DialogContext {
  Environment& environment;
  SettingsController& settings;
  RecordList& records;
  GameController& game;
  CommandHandler& commands;
  NoticePort& notices;
  FileChooserPort& files;
  ClockPort& clock;
  DialogTable& gameDialogs;
  DialogTable& settingsDialogs;
  SettingsDialogModel& settingsModel;
  FavouriteDialogModel& favouriteModel;
};

}  // namespace verselane
