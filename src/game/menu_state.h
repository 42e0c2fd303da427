// The menu commands by id, and which of them a player may choose in each state of the game.
#pragma once

#include <optional>
#include <string>

#include "game/daily_plan.h"

namespace verselane {

class MainWindowPort;

// Menu and accelerator command ids, which are also the menu items' ids (wx takes ids from 1 to
// 32767 and keeps 4999 to 5999 for its own).
enum CommandId : int {
  kCommandStart = 101,     // Ctrl+S
  kCommandPause = 102,     // Ctrl+P
  kCommandRestart = 103,   // Ctrl+R
  kCommandSettings = 104,
  kCommandRecords = 105,
  kCommandHelp = 106,
  kCommandVersion = 107,
  kCommandRomajiInput = 108,  // a check item; Ctrl+J (kRomajiInputKey)
  kCommandWeakPoems = 109,    // a run of the weakest poems of the history
  kCommandExit = 110,      // Ctrl+E; never greyed
  kCommandMastery = 111,   // the mastery window
  kCommandZoom100 = 112,   // radio items: the screen at 100, 150 and 200 %
  kCommandZoom150 = 113,
  kCommandZoom200 = 114,
  kCommandRecite = 115,      // check items: the reader's voice, listening only, the opening poem
  kCommandListenOnly = 116,
  kCommandOpening = 117,
  // Keys without menu items: Ctrl+= (Ctrl++, Ctrl+keypad +) and Ctrl+- step the zoom, Ctrl+0
  // returns to 100 %, as in a browser or a document viewer.
  kCommandZoomIn = 118,
  kCommandZoomOut = 119,
  kCommandZoomReset = 120,
  kCommandPlan = 121,          // a run of today's plan
  kCommandPlanSettings = 122,  // the settings of the daily plan
};
// The lowest and highest command ids, for binding them all at once.
inline constexpr int kFirstCommand = kCommandStart;
inline constexpr int kLastCommand = kCommandPlanSettings;

// The radio item of the zoom `percent` (one of kZoomPercents).
inline constexpr int ZoomCommand(int percent) {
  return percent >= 200 ? kCommandZoom200 : percent >= 150 ? kCommandZoom150 : kCommandZoom100;
}

// The key of romaji input, named by the hint at the first question. Ctrl+J: no menu takes it,
// GTK's text fields bind nothing to it, and neither IBus nor Fcitx claims it (Ctrl+Space
// switches input methods there); Mozc's default keymap leaves it alone too (only its Kotoeri
// keymap uses it, while composing), where F6 to F10 and Ctrl+U to Ctrl+P convert.
inline constexpr const char* kRomajiInputKey = "Ctrl+J";

enum class MenuState {
  kIdle,     // after a reset: everything but PAUSE and RESTART (and the weak poems without
             // history)
  kRunning,  // after START: only PAUSE, RESTART, romaji input and exit
};

// Enables and greys the items from START to the version for `state`; the weak-poems run needs
// `historyKept`, today's plan poems to ask (`plan`: nothing when the history cannot give a
// plan), and its item tells how many, or why there are none. Pausing, resuming and the end of a
// run leave the menu as it is.
void ApplyMenuState(MainWindowPort& window, MenuState state, bool historyKept,
                    const std::optional<PlanStatus>& plan);

// The text of today's plan's item (CP932): with the number of poems when there is a plan; for an
// empty one, whether today's is done (済) or nothing was due (予定なし), and the day the next
// poems fall due ("今日の練習 (済・次は12/14)"), with its year when that is not this one.
std::string PlanMenuLabel(const std::optional<PlanStatus>& plan);
// The voice's items: changed only while Idle, with the voice `installed`; listening only and the
// opening poem also need the voice on (`recite`).
void ApplyVoiceMenuState(MainWindowPort& window, MenuState state, bool installed, bool recite);

}  // namespace verselane
