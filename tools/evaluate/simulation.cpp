#include "evaluate/simulation.h"

#include <algorithm>
#include <numeric>

#include "catalogue/poem_table.h"
#include "game/daily_plan.h"

namespace verselane {
namespace {

constexpr double kEvening = 20.0 / 24.0;  // the runs start at 20:00
constexpr double kBetweenSteps = 20.0 / 86400.0;  // an answer typed, or a card read
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

int LearnedPoems(const std::vector<std::optional<MemoryState>>& memory) {
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

std::vector<StudyStep> PlayPlanDay(SimulatedLearner& learner, const std::vector<PlanItem>& plan,
                                   double& time, std::vector<AnswerRecord>& answers) {
  StudyQueue queue(plan);
  std::vector<StudyStep> steps;
  while (const std::optional<StudyStep> step = queue.Take()) {
    time += kBetweenSteps;
    if (step->action == StudyAction::kShow) {
      learner.Study(step->poem, time);
      queue.Shown(step->poem);
    } else {
      answers.push_back(learner.Answer(step->poem, time, kSimulationStart));
      queue.Answered(step->poem, answers.back().correct);
    }
    steps.push_back(*step);
  }
  return steps;
}

std::vector<AnswerRecord> SimulateHistory(std::uint64_t seed, const PoemCatalogue& catalogue,
                                          int days) {
  SimulatedLearner learner = MakeLearner(seed);
  Draw draw(seed ^ 0x5eed5eed5eedULL);
  std::vector<AnswerRecord> answers;
  for (int day = 0; day < days; ++day) {
    if (draw.Uniform() >= 0.75) continue;
    double time = day + kEvening;
    PlayPlanDay(learner,
                PlanDay(ReplayAnswers(answers), catalogue, kSimulationStart + day, PlanSettings{}),
                time, answers);
    for (int poem : RandomRun(draw)) {
      answers.push_back(learner.Answer(poem, time += kBetweenSteps, kSimulationStart));
    }
  }
  return answers;
}

PlanOutcome FollowPlan(std::uint64_t seed, const PoemCatalogue& catalogue,
                       const PlanSettings& settings, int days) {
  SimulatedLearner learner = MakeLearner(seed);
  std::vector<AnswerRecord> answers;
  std::vector<std::optional<MemoryState>> memory = ReplayAnswers(answers);
  PlanOutcome outcome;
  for (int day = 0; day < days; ++day) {
    double time = day + kEvening;
    const std::vector<PlanItem> plan = PlanDay(memory, catalogue, kSimulationStart + day, settings);
    const auto dayStart = static_cast<std::ptrdiff_t>(answers.size());
    PlayPlanDay(learner, plan, time, answers);
    for (const PlanItem& item : plan) {
      if (item.kind != PlanKind::kDue) continue;
      // The day's first answer to the poem, the one its schedule foretold.
      const bool recalled = std::find_if(answers.begin() + dayStart, answers.end(),
                                         [&](const AnswerRecord& a) {
                                           return a.poem == item.poem;
                                         })->correct;
      outcome.due.Count(recalled);
      if (day + 1 >= kSettledDay) outcome.dueSettled.Count(recalled);
    }
    memory = ReplayAnswers(answers);
    outcome.learnedAtEnd = LearnedPoems(memory);
    if (!outcome.allLearnedDay && outcome.learnedAtEnd == kPoemTableSize) {
      outcome.allLearnedDay = day + 1;
    }
  }
  return outcome;
}

}  // namespace verselane
