// Simulated learners playing the game: the histories the models are measured on, and the daily
// plan followed day after day.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "catalogue/poem_catalogue.h"
#include "evaluate/learner.h"
#include "game/study_queue.h"
#include "settings/plan_settings.h"

namespace verselane {

// The first day of every simulation (a Monday).
inline const Day kSimulationStart = *DayOf("2027-01-04");

// A learner drawn from `seed` (DrawTraits), who already half knows a share of the poems, up to
// three in ten, from school: three readings 300, 150 and 60 days before the first day.
SimulatedLearner MakeLearner(std::uint64_t seed);

// Today's plan taken step by step as the game takes it (StudyQueue), from `time` on (days from the
// first day's midnight), each step 20 s after the one before: a poem shown is seen, a poem asked is
// answered and its answer appended to `answers`. The steps taken; `time` is left at the last.
std::vector<StudyStep> PlayPlanDay(SimulatedLearner& learner, const std::vector<PlanItem>& plan,
                                   double& time, std::vector<AnswerRecord>& answers);

// `days` days of a learner drawn from `seed` who plays on three days in four: today's plan (at the
// default settings, PlayPlanDay), then a run of ten poems drawn at random from all hundred, as a run of the
// game asks them. The answers, in the order given.
std::vector<AnswerRecord> SimulateHistory(std::uint64_t seed, const PoemCatalogue& catalogue,
                                          int days);

// The day (from 1) from which the plan's retention is measured a second time: by then the first
// poems' first reviews are behind, and the plan runs as it will from then on.
inline constexpr int kSettledDay = 30;

struct Recalls {
  int asked = 0;
  int right = 0;
  void Count(bool recalled) {
    ++asked;
    right += recalled ? 1 : 0;
  }
};

struct PlanOutcome {
  Recalls due;         // the day's first answers to poems asked because they were due
  Recalls dueSettled;  // the same, from kSettledDay on
  std::optional<int> allLearnedDay;  // the first day (from 1) after which all hundred are learned
  int learnedAtEnd = 0;
};

// `days` days of a learner drawn from `seed` who plays today's plan (PlayPlanDay), and nothing
// else, once a day.
PlanOutcome FollowPlan(std::uint64_t seed, const PoemCatalogue& catalogue,
                       const PlanSettings& settings, int days);

}  // namespace verselane
