// Today's plan: the poems to ask today so that each is reviewed about when it is on the point of
// being forgotten, and a few poems never asked yet, in the order karuta players learn them.
#pragma once

#include <optional>
#include <vector>

#include "catalogue/poem_catalogue.h"
#include "game/memory_model.h"
#include "settings/plan_settings.h"

namespace verselane {

enum class PlanKind { kDue, kNew };

struct PlanItem {
  int poem = 0;  // poem index, 0 to 99
  PlanKind kind = PlanKind::kNew;
  std::optional<double> recall;  // the chance of recalling it today; nothing for a new poem
  Day nextReview = 0;            // when it falls due again after a right (Good) answer today
};

// The poems to ask on `today`, in asking order, from the memory of each poem (ReplayAnswers):
//
// - first the poems due, whose chance of recall today is at or below the target retention, the
//   lowest chance first (a tie to the lower poem number). Lowest chance rather than most days
//   past due: a poem two days late on a two-day interval is far nearer forgotten than one two days
//   late on a two-month interval, and the chance of recall says so where counting days does not;
// - then poems never answered, as many as the day's allowance of new poems leaves (a poem first
//   answered today has used its share), by the length of their upper kimariji, shortest first,
//   then by poem number: the seven poems decided by their first kana (む す め ふ さ ほ せ)
//   come first, the way karuta players learn them.
//
// A poem whose last review is dated after today (a clock that was set forward) is due today, and
// a poem first answered after today does not count as first answered today.
//
// Settings out of their range are held at its ends.
std::vector<PlanItem> PlanDay(const std::vector<std::optional<MemoryState>>& memory,
                              const PoemCatalogue& catalogue, Day today,
                              const PlanSettings& settings);

// The day on which a poem with `memory` falls due at `retention`: the first on which its chance
// of recall is at or below it, as PlanDay finds it.
Day DueDay(const MemoryState& memory, double retention);

// Today's plan as its menu item tells it: how many poems it asks and, for an empty one, why and
// until when.
struct PlanStatus {
  Day today = 0;
  int poems = 0;               // in today's plan
  bool answeredToday = false;  // a poem was answered today: an empty plan is done, not idle
  // The first day after today whose plan is not empty, the memory staying as it is (the plans
  // between are empty, so nothing moves it); nothing when no such day ever comes.
  std::optional<Day> nextDay;
};
PlanStatus StatusOfPlan(const std::vector<PlanItem>& plan,
                        const std::vector<std::optional<MemoryState>>& memory, Day today,
                        const PlanSettings& settings);

}  // namespace verselane
