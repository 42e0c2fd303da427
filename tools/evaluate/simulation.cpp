#include "evaluate/simulation.h"

#include <algorithm>
#include <numeric>

#include "catalogue/poem_table.h"
#include "game/daily_plan.h"

namespace verselane {
namespace {

constexpr double kEvening = 20.0 / 24.0;  // the runs start at 20:00
constexpr double kBetweenAnswers = 20.0 / 86400.0;
constexpr int kRandomRunPoems = 10;

std::vector<int> RandomRun(Draw& draw) {
  std::vector<int> poems(kPoemTableSize);
  std::iota(poems.begin(), poems.end(), 0);
  for (int i = 0; i < kRandomRunPoems; ++i) {
    const int pick = i + static_cast<int>(draw.Uniform() * (kPoemTableSize - i));
    std::swap(poems[i], poems[pick]);
  }
  poems.resize(kRandomRunPoems);
  return poems;
}

int LearnedPoems(const std::vector<AnswerRecord>& answers) {
  const std::vector<std::optional<MemoryState>> memory = ReplayAnswers(answers);
  return static_cast<int>(std::count_if(
      memory.begin(), memory.end(), [](const auto& state) { return state && IsLearned(*state); }));
}

}  // namespace

SimulatedLearner MakeLearner(std::uint64_t seed) {
  Draw draw(seed);
  LearnerTraits traits = DrawTraits(draw);
  SimulatedLearner learner(std::move(traits), draw.Seed());
  const double knownShare = 0.3 * draw.Uniform();
  for (int poem = 0; poem < kPoemTableSize; ++poem) {
    if (draw.Uniform() >= knownShare) continue;
    for (double daysBefore : {300.0, 150.0, 60.0}) learner.Study(poem, -daysBefore);
  }
  return learner;
}

std::vector<AnswerRecord> SimulateHistory(std::uint64_t seed, const PoemCatalogue& catalogue,
                                          int days) {
  SimulatedLearner learner = MakeLearner(seed);
  Draw draw(seed ^ 0x5eed5eed5eedULL);
  std::vector<AnswerRecord> answers;
  for (int day = 0; day < days; ++day) {
    if (draw.Uniform() >= 0.75) continue;
    double time = day + kEvening;
    for (const PlanItem& item :
         PlanDay(ReplayAnswers(answers), catalogue, kSimulationStart + day, PlanSettings{})) {
      answers.push_back(learner.Answer(item.poem, time += kBetweenAnswers, kSimulationStart));
    }
    for (int poem : RandomRun(draw)) {
      answers.push_back(learner.Answer(poem, time += kBetweenAnswers, kSimulationStart));
    }
  }
  return answers;
}

PlanOutcome FollowPlan(std::uint64_t seed, const PoemCatalogue& catalogue,
                       const PlanSettings& settings, int days) {
  SimulatedLearner learner = MakeLearner(seed);
  std::vector<AnswerRecord> answers;
  PlanOutcome outcome;
  for (int day = 0; day < days; ++day) {
    double time = day + kEvening;
    for (const PlanItem& item :
         PlanDay(ReplayAnswers(answers), catalogue, kSimulationStart + day, settings)) {
      answers.push_back(learner.Answer(item.poem, time += kBetweenAnswers, kSimulationStart));
      if (item.kind != PlanKind::kDue) continue;
      outcome.due.Count(answers.back().correct);
      if (day + 1 >= kSettledDay) outcome.dueSettled.Count(answers.back().correct);
    }
    outcome.learnedAtEnd = LearnedPoems(answers);
    if (!outcome.allLearnedDay && outcome.learnedAtEnd == kPoemTableSize) {
      outcome.allLearnedDay = day + 1;
    }
  }
  return outcome;
}

}  // namespace verselane
