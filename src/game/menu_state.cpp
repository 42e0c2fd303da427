#include "game/menu_state.h"

#include <chrono>

#include "base/shift_jis.h"
#include "game/desktop_ports.h"

namespace verselane {
namespace {

std::chrono::year_month_day DateOf(Day day) {
  return std::chrono::year_month_day{std::chrono::sys_days{std::chrono::days{day}}};
}

// "明日", "12/14", or "2028/1/5" in another year (UTF-8).
std::string NextDayText(Day next, Day today) {
  if (next == today + 1) return "明日";
  const std::chrono::year_month_day date = DateOf(next);
  std::string text = std::to_string(static_cast<unsigned>(date.month())) + "/" +
                     std::to_string(static_cast<unsigned>(date.day()));
  if (date.year() != DateOf(today).year()) {
    text = std::to_string(static_cast<int>(date.year())) + "/" + text;
  }
  return text;
}

}  // namespace

std::string PlanMenuLabel(const std::optional<PlanStatus>& plan) {
  if (!plan) return SjisLiteral("今日の練習(&D)");
  if (plan->poems > 0) return SjisLiteral("今日の練習 (" + std::to_string(plan->poems) + "首)(&D)");
  std::string why = plan->answeredToday ? "済" : "予定なし";
  if (plan->nextDay) why += "・次は" + NextDayText(*plan->nextDay, plan->today);
  return SjisLiteral("今日の練習 (" + why + ")(&D)");
}

void ApplyMenuState(MainWindowPort& window, MenuState state, bool historyKept,
                    const std::optional<PlanStatus>& plan) {
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
  window.SetMenuItemLabel(kCommandPlan, PlanMenuLabel(plan));
  window.SetMenuItemEnabled(kCommandPlan, idle && plan && plan->poems > 0);
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
