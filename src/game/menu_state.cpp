#include "game/menu_state.h"

#include "game/desktop_ports.h"

namespace verselane {

void ApplyMenuState(MainWindowPort& window, MenuState state) {
  const bool idle = state == MenuState::kIdle;
  window.SetMenuItemEnabled(kCommandStart, idle);
  window.SetMenuItemEnabled(kCommandPause, !idle);
  window.SetMenuItemEnabled(kCommandRestart, !idle);
  for (int command : {kCommandSettings, kCommandRomajiInput, kCommandRecords, kCommandHelp,
                      kCommandVersion}) {
    window.SetMenuItemEnabled(command, idle);
  }
}

}  // namespace verselane
