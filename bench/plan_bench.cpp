// Today's plan from a long history: every answer replayed through the memory model, then the plan
// of the hundred poems drawn up, as the program does before it offers the day's run.
#include <benchmark/benchmark.h>

#include <vector>

#include "catalogue/poem_catalogue.h"
#include "game/daily_plan.h"
#include "long_history.h"

namespace verselane {
namespace {

void BM_PlanFromHundredThousandAnswers(benchmark::State& state) {
  const std::vector<AnswerRecord> answers = LongHistory(100'000);
  const PoemCatalogue catalogue;
  const Day today = *DayOf(answers.back().localTime) + 1;
  for (auto _ : state) {
    const std::vector<PlanItem> plan = PlanDay(ReplayAnswers(answers), catalogue, today, {});
    benchmark::DoNotOptimize(plan.data());
  }
}
BENCHMARK(BM_PlanFromHundredThousandAnswers)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace verselane
