// A simulated learner for measuring the memory model against a memory that is not FSRS's: its
// forgetting follows the ACT-R model of declarative memory with the spacing extension of
// Pavlik & Anderson ("Practice and forgetting effects on vocabulary memory: an activation-based
// model of the spacing effect", Cognitive Science 29, 2005). Every time a poem is seen (asked,
// then shown when missed) it leaves a trace; at time T the poem's activation is
//
//   m(T) = ease + poemEase[poem] + ln Σ_j (T − t_j)^(−d_j),   d_j = c·e^(m(t_j)) + decay,
//
// so each trace fades by a power law, and one laid down while the poem was still well remembered
// fades faster (the spacing effect). The chance of recalling it is 1 / (1 + e^((τ − m)/s)). A
// poem never seen is not recalled. The learner's ease and decay and the poems' ease are drawn per
// learner and never shown to the scheduler, which sees only the answers.
#pragma once

#include <cstdint>
#include <random>
#include <vector>

#include "game/memory_model.h"
#include "records/answer_history.h"

namespace verselane {

// Seeded numbers that come out the same with any standard library (the library's distributions
// may differ between them).
class Draw {
 public:
  explicit Draw(std::uint64_t seed) : engine_(seed) {}
  double Uniform();                       // in [0, 1)
  double Normal(double mean, double sd);  // Box–Muller
  std::uint64_t Seed() { return engine_(); }

 private:
  std::mt19937_64 engine_;
};

// Pavlik & Anderson's fitted constants: τ, s, c.
inline constexpr double kRecallThreshold = -0.704;
inline constexpr double kRecallNoise = 0.255;
inline constexpr double kSpacingScale = 0.217;

struct LearnerTraits {
  double ease = -0.7;    // added to every poem's activation
  double decay = 0.177;  // the least decay of a trace
  std::vector<double> poemEase = std::vector<double>(100, 0.0);  // by poem index
  double typingMs = 7000;  // typing a phrase once recalled
  double recallMs = 1500;  // the pause of recalling at activation 0, F·e^(−m)
};

// Learners as different as a class: ease around −0.7, decay around 0.177, poems' ease spread by
// 0.35, typists from 5 to 9 seconds a phrase.
LearnerTraits DrawTraits(Draw& draw);

class SimulatedLearner {
 public:
  SimulatedLearner(LearnerTraits traits, std::uint64_t seed);

  // Time is in days from the start of the simulation, day 0 at midnight.
  double RecallChance(int poem, double time) const;
  // Lays down a trace without an answer: a poem known from before the simulation.
  void Study(int poem, double time);
  // Asks the poem at `time` (0 or later, days from the midnight of `startDay`): the answer as the
  // game records it, right with the chance of recall, in a time that is quicker the better the
  // poem is remembered; the poem is then seen.
  AnswerRecord Answer(int poem, double time, Day startDay);

 private:
  double Activation(int poem, double time) const;

  struct Trace {
    double time;
    double decay;
  };
  LearnerTraits traits_;
  std::vector<std::vector<Trace>> traces_;
  Draw draw_;
};

}  // namespace verselane
