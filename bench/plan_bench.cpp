// Today's plan from a long history: every answer replayed through the memory model, then the plan
// of the hundred poems drawn up, as the program does before it offers the day's run.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "catalogue/poem_catalogue.h"
#include "game/daily_plan.h"

namespace verselane {
namespace {

// Three years of play, some 90 answers a day in runs over all three modes, one in five wrong.
std::vector<AnswerRecord> LongHistory(int count) {
  std::mt19937 random(2027);
  std::vector<AnswerRecord> answers;
  answers.reserve(count);
  const Day first = *DayOf("2024-01-01");
  for (int i = 0; i < count; ++i) {
    AnswerRecord answer;
    answer.poem = static_cast<int>(random() % 100);
    answer.mode = static_cast<QuestionMode>(random() % 3);
    answer.correct = random() % 5 != 0;
    answer.milliseconds = 2000 + static_cast<int>(random() % 14000);
    answer.localTime = DateText(first + i / 90) + " 20:15:00";
    answers.push_back(answer);
  }
  return answers;
}

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
