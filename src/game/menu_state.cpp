#include "game/menu_state.h"

#include "base/shift_jis.h"
#include "game/desktop_ports.h"

namespace verselane {

std::string PlanMenuLabel(std::optional<int> planPoems) {
  if (!planPoems) return SjisLiteral("今日の練習(&D)");
  return SjisLiteral("今日の練習 (") + std::to_string(*planPoems) + SjisLiteral("首)(&D)");
}

void ApplyMenuState(MainWindowPort& window, MenuState state, bool historyKept,
                    std::optional<int> planPoems) {
  const bool idle = state == MenuState::kIdle;
  window.SetMenuItemEnabled(kCommandStart, idle);
  window.SetMenuItemEnabled(kCommandPause, !idle);
  window.SetMenuItemEnabled(kCommandRestart, !idle);
  for (int command :
       {kCommandSettings, kCommandRecords, kCommandMastery, kCommandHelp, kCommandVersion,
        kCommandPlanSettings}) {
    window.SetMenuItemEnabled(command, idle);
  }
  window.SetMenuItemEnabled(kCommandWeakPoems, idle && historyKept);
  window.SetMenuItemLabel(kCommandPlan, PlanMenuLabel(planPoems));
  window.SetMenuItemEnabled(kCommandPlan, idle && planPoems.value_or(0) > 0);
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
