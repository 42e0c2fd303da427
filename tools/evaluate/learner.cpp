#include "evaluate/learner.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <numbers>

#include "game/scoring.h"

namespace verselane {
namespace {

constexpr double kSecondsPerDay = 86400.0;
// A trace is never younger than a minute: the poem was on the screen a moment ago.
constexpr double kShortestAge = 1.0 / 1440.0;

// "YYYY-MM-DD HH:MM:SS" of a moment given in whole seconds from the midnight of `startDay`.
std::string LocalTime(Day startDay, std::int64_t sinceStart) {
  const Day day = startDay + static_cast<Day>(sinceStart / 86400);
  const int seconds = static_cast<int>(sinceStart % 86400);
  char clock[16];
  std::snprintf(clock, sizeof clock, " %02d:%02d:%02d", seconds / 3600 % 24, seconds / 60 % 60,
                seconds % 60);
  return DateText(day) + clock;
}

}  // namespace

double Draw::Uniform() { return static_cast<double>(engine_() >> 11) * 0x1.0p-53; }

double Draw::Normal(double mean, double sd) {
  const double u = 1.0 - Uniform();  // (0, 1]: its logarithm is finite
  const double v = Uniform();
  return mean + sd * std::sqrt(-2.0 * std::log(u)) * std::cos(2.0 * std::numbers::pi * v);
}

LearnerTraits DrawTraits(Draw& draw) {
  LearnerTraits traits;
  traits.ease = draw.Normal(-0.7, 0.25);
  traits.decay = 0.177 * std::exp(draw.Normal(0.0, 0.15));
  for (double& ease : traits.poemEase) ease = draw.Normal(0.0, 0.35);
  traits.typingMs = 5000.0 + 4000.0 * draw.Uniform();
  traits.recallMs = 1500.0 * std::exp(draw.Normal(0.0, 0.2));
  return traits;
}

SimulatedLearner::SimulatedLearner(LearnerTraits traits, std::uint64_t seed)
    : traits_(std::move(traits)), traces_(traits_.poemEase.size()), draw_(seed) {}

double SimulatedLearner::Activation(int poem, double time) const {
  double strength = 0;
  for (const Trace& trace : traces_[poem]) {
    strength += std::pow(std::max(time - trace.time, kShortestAge), -trace.decay);
  }
  if (strength <= 0) return -std::numeric_limits<double>::infinity();
  return traits_.ease + traits_.poemEase[poem] + std::log(strength);
}

double SimulatedLearner::RecallChance(int poem, double time) const {
  const double m = Activation(poem, time);
  if (std::isinf(m)) return 0.0;
  return 1.0 / (1.0 + std::exp((kRecallThreshold - m) / kRecallNoise));
}

void SimulatedLearner::Study(int poem, double time) {
  const double m = Activation(poem, time);
  const double spacing = std::isinf(m) ? 0.0 : kSpacingScale * std::exp(m);
  traces_[poem].push_back({time, spacing + traits_.decay});
}

AnswerRecord SimulatedLearner::Answer(int poem, double time, Day startDay) {
  AnswerRecord answer;
  answer.poem = poem;
  answer.correct = draw_.Uniform() < RecallChance(poem, time);
  if (answer.correct) {
    const double recall = traits_.recallMs * std::exp(-Activation(poem, time));
    const double typing = traits_.typingMs * std::exp(draw_.Normal(0.0, 0.12));
    answer.milliseconds =
        static_cast<int>(std::min(recall + typing, 3.0 * kTimeLimitSeconds * 1000));
  } else {
    answer.milliseconds =
        static_cast<int>(4000 + draw_.Uniform() * (kTimeLimitSeconds * 1000 - 4000));
  }
  // The clock is UTC: the simulated learner lives at Greenwich.
  const std::int64_t sinceStart = std::llround(time * kSecondsPerDay);
  answer.answeredAt = std::int64_t{startDay} * 86400 + sinceStart;
  answer.localTime = LocalTime(startDay, sinceStart);
  Study(poem, time);
  return answer;
}

}  // namespace verselane
