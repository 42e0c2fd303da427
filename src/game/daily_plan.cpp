#include "game/daily_plan.h"

#include <algorithm>
#include <tuple>

#include "base/decimal.h"

namespace verselane {
namespace {

struct Candidates {
  std::vector<PlanItem> due;
  std::vector<int> unanswered;
  int firstAnsweredToday = 0;
};

Candidates SortOut(const std::vector<std::optional<MemoryState>>& memory, int poems, Day today,
                   double retention) {
  Candidates found;
  for (int poem = 0; poem < poems; ++poem) {
    const std::optional<MemoryState>& state = memory[poem];
    if (!state) {
      found.unanswered.push_back(poem);
      continue;
    }
    // A poem first answered on a later date (a clock set forward) was not first answered today:
    // a wrong date never takes today's new poems.
    if (state->firstReview == today) ++found.firstAnsweredToday;
    // Nor does it hide a poem: one last answered on a date after today is due today, its memory
    // measured on a clock that cannot be right; answered today, it is back on today's clock.
    const bool datedAhead = state->lastReview > today;
    const double recall = Retrievability(today - state->lastReview, state->stability);
    if (recall > retention && !datedAhead) continue;
    const MemoryState afterRight = ReviewMemory(state, Grade::kGood, today);
    found.due.push_back(
        {poem, PlanKind::kDue, recall, today + IntervalDays(afterRight.stability, retention)});
  }
  return found;
}

int UpperKimarijiBytes(const PoemCatalogue& catalogue, int poem) {
  return ParseDecimal(catalogue.FieldView(poem, kUpperKimarijiBytes));
}

}  // namespace

std::vector<PlanItem> PlanDay(const std::vector<std::optional<MemoryState>>& memory,
                              const PoemCatalogue& catalogue, Day today,
                              const PlanSettings& settings) {
  const double retention = std::clamp(settings.retention, kMinRetention, kMaxRetention);
  const int newPerDay = std::clamp(settings.newPerDay, kMinNewPerDay, kMaxNewPerDay);
  const int poems = std::min(static_cast<int>(memory.size()), catalogue.poemCount());
  Candidates found = SortOut(memory, poems, today, retention);

  std::vector<PlanItem> plan = std::move(found.due);
  std::sort(plan.begin(), plan.end(), [](const PlanItem& a, const PlanItem& b) {
    return std::tie(*a.recall, a.poem) < std::tie(*b.recall, b.poem);
  });

  std::vector<std::pair<int, int>> learningOrder;  // upper kimariji bytes, poem
  for (int poem : found.unanswered) {
    learningOrder.emplace_back(UpperKimarijiBytes(catalogue, poem), poem);
  }
  std::sort(learningOrder.begin(), learningOrder.end());
  const int newToday = std::max(newPerDay - found.firstAnsweredToday, 0);
  const int newFirstInterval =
      IntervalDays(ReviewMemory(std::nullopt, Grade::kGood, today).stability, retention);
  for (int i = 0; i < std::min(newToday, static_cast<int>(learningOrder.size())); ++i) {
    plan.push_back(
        {learningOrder[i].second, PlanKind::kNew, std::nullopt, today + newFirstInterval});
  }
  return plan;
}

Day DueDay(const MemoryState& memory, double retention) {
  return memory.lastReview + IntervalDays(memory.stability, retention);
}

PlanStatus StatusOfPlan(const std::vector<PlanItem>& plan,
                        const std::vector<std::optional<MemoryState>>& memory, Day today,
                        const PlanSettings& settings) {
  const double retention = std::clamp(settings.retention, kMinRetention, kMaxRetention);
  const bool newPoems = std::clamp(settings.newPerDay, kMinNewPerDay, kMaxNewPerDay) > 0;
  PlanStatus status;
  status.today = today;
  status.poems = static_cast<int>(plan.size());
  auto consider = [&status](Day day) {
    if (!status.nextDay || day < *status.nextDay) status.nextDay = day;
  };
  for (const std::optional<MemoryState>& state : memory) {
    if (!state) {
      // A poem never answered is new on any later day that allows new poems.
      if (newPoems) consider(today + 1);
      continue;
    }
    if (state->lastReview >= today) status.answeredToday = true;
    consider(std::max(DueDay(*state, retention), today + 1));
  }
  return status;
}

}  // namespace verselane
