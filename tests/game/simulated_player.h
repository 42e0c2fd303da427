// A player who plays whole runs at full speed, without real time: answers right, wrong or
// garbled after a random delay, presses stray keys and commands, pauses and resumes, turns down
// restarts and exits, and closes the results from inside their modal loop, as on the desktop.
#pragma once

#include <cstdint>
#include <random>
#include <vector>

#include "engine_harness.h"

namespace verselane {

// What the results of one run showed.
struct RunOutcome {
  bool finished = false;   // the game was Finished when the results opened
  int questionCount = 0;   // the run's length, as set when it started
  int asked = 0;
  int correct = 0;
  int score = 0;
  std::vector<int> poems;  // the poems put, in order
  int ticks = 0;
};

class SimulatedPlayer {
 public:
  SimulatedPlayer(EngineHarness& engine, std::uint32_t seed);

  // Plays one run from START until its results close (continuing a retry run the last results
  // started, if any). Gives up after a generous number of ticks, leaving `finished` false.
  RunOutcome PlayRun();

 private:
  int Below(int bound);
  bool OneIn(int chance) { return Below(chance) == 0; }
  void ChooseSettings();
  void ForgetFakeHistory();
  void Observe();
  void Act();
  void Answer();
  void Meddle();
  void OnResults();

  EngineHarness& engine_;
  std::mt19937 rng_;
  RunOutcome outcome_;
  bool resultsClosed_ = false;
  Phase lastPhase_ = Phase::kStart;
  int waitTicks_ = 0;  // ticks before the next answer or Enter
};

}  // namespace verselane
