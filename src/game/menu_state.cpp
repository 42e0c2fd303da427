#include "game/menu_state.h"

#include "game/desktop_ports.h"

namespace verselane {

void ApplyMenuState(MainWindowPort& window, MenuState state, bool historyKept) {
  const bool idle = state == MenuState::kIdle;
  window.SetMenuItemEnabled(kCommandStart, idle);
  window.SetMenuItemEnabled(kCommandPause, !idle);
  window.SetMenuItemEnabled(kCommandRestart, !idle);
  for (int command : {kCommandSettings, kCommandRomajiInput, kCommandRecords, kCommandMastery,
                      kCommandHelp, kCommandVersion}) {
    window.SetMenuItemEnabled(command, idle);
  }
  window.SetMenuItemEnabled(kCommandWeakPoems, idle && historyKept);
}

}  // namespace verselane
