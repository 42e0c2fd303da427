// The menu commands by id, and which of them a player may choose in each state of the game.
#pragma once

namespace verselane {

class MainWindowPort;

// Menu and accelerator command ids.
enum CommandId : int {
  kCommandStart = 40001,     // Ctrl+S
  kCommandPause = 40002,     // Ctrl+P
  kCommandRestart = 40003,   // Ctrl+R
  kCommandSettings = 40004,
  kCommandRecords = 40005,
  kCommandHelp = 40006,
  kCommandVersion = 40007,
  kCommandExit = 40010,      // Ctrl+E; never greyed
};

enum class MenuState {
  kIdle,     // after a reset: everything but PAUSE and RESTART
  kRunning,  // after START: only PAUSE, RESTART and exit
};

// Enables and greys the items 40001 to 40007 for `state`. Pausing, resuming and the end of a run
// leave the menu as it is.
void ApplyMenuState(MainWindowPort& window, MenuState state);

}  // namespace verselane
