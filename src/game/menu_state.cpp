#include "game/menu_state.h"

#include "game/desktop_ports.h"

namespace verselane {

void ApplyMenuState(MainWindowPort& window, MenuState state, bool historyKept) {
  const bool idle = state == MenuState::kIdle;
  window.SetMenuItemEnabled(kCommandStart, idle);
  window.SetMenuItemEnabled(kCommandPause, !idle);
  window.SetMenuItemEnabled(kCommandRestart, !idle);
  for (int command :
       {kCommandSettings, kCommandRecords, kCommandMastery, kCommandHelp, kCommandVersion}) {
    window.SetMenuItemEnabled(command, idle);
  }
  window.SetMenuItemEnabled(kCommandWeakPoems, idle && historyKept);
  // Romaji input only changes how keys become kana: a player who finds at a question that
  // kana cannot be typed switches it there and then.
  window.SetMenuItemEnabled(kCommandRomajiInput, true);
}

void ApplyVoiceMenuState(MainWindowPort& window, MenuState state, bool installed, bool recite) {
  const bool open = state == MenuState::kIdle && installed;
  window.SetMenuItemEnabled(kCommandRecite, open);
  window.SetMenuItemEnabled(kCommandListenOnly, open && recite);
  window.SetMenuItemEnabled(kCommandOpening, open && recite);
}

}  // namespace verselane
