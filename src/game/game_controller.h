// One run of questions from START to the results, driven tick by tick by the 50 ms timer.
#pragma once

#include <array>
#include <vector>

#include "game/answer_check.h"
#include "game/game_animation.h"
#include "game/results.h"
#include "game/run_state.h"
#include "game/tick_counter.h"

namespace verselane {

class Environment;
class KeyLatch;
class RandomSource;
struct DesktopPorts;

// The game's clocks, each counting whole seconds.
enum class GameClock {
  kInterval,  // the waits before the first question and between questions
  kQuestion,  // the current question, from its set-up to Enter
  kGame,      // the run's clear time
};

class GameController {
 public:
  GameController(Environment& environment, KeyLatch& keys, DesktopPorts& desktop,
                 RandomSource& random);
  GameController(const GameController&) = delete;
  GameController& operator=(const GameController&) = delete;

  // Back to Idle: fresh pool, zero tallies and clear time, no wrong answers, the idle picture
  // and the idle menu. At start-up, after RESTART, and when the results close.
  void ResetGame();

  // The work of one timer tick, in order: TickClocks, StepPhase, UpdateFrame. Returns false
  // when a needed redraw failed (the next tick draws again).
  bool Tick();
  void TickClocks();
  // Advances the current phase while Running; takes one key from the latch first and clears the
  // latch at the end, whatever the state.
  void StepPhase();
  // Steps the animation and redraws when anything on screen changed.
  bool UpdateFrame();

  // PAUSE stops the three clocks, remembering which were running; resuming restarts those.
  void PauseClocks();
  void ResumeClocks();

  // For the results dialog as it opens: the finished run's results. A retry run's source and
  // question count are put back afterwards.
  ResultsView ShowResults();

  const RunState& run() const { return run_; }
  int phase() const { return run_.phase; }
  const GameAnimation& animation() const { return animation_; }
  int seconds(GameClock clock) const { return Clock(clock).steps(); }
  bool clockRunning(GameClock clock) const { return Clock(clock).running(); }
  int animationTick() const { return animationTick_; }
  // Poems not yet asked in this run.
  int remainingPoems() const;

 private:
  const TickCounter& Clock(GameClock clock) const { return clocks_[static_cast<int>(clock)]; }
  TickCounter& Clock(GameClock clock) { return clocks_[static_cast<int>(clock)]; }
  void RestartClock(GameClock clock);

  void BuildPool();
  void PickQuestion();
  void LoadPrompt();
  void RunPhase(int key);
  void SetUpQuestion();
  void TakeAnswer();
  void Review(int key);
  void NextQuestion();
  void FinishRun();
  void WaitOneSecond(int nextPhase);
  bool ShownStateChanged();
  void AdvanceAnimationTick();

  Environment& environment_;
  KeyLatch& keys_;
  DesktopPorts& desktop_;
  RandomSource& random_;
  AnswerChecker checker_;

  std::vector<int> pool_;  // the first (size - asked) poems are those not asked yet
  RunState run_;
  std::array<TickCounter, 3> clocks_;
  std::array<bool, 3> runningAtPause_{};
  GameAnimation animation_;
  int animationTick_ = 0;

  int shownAsked_ = -1;  // the asked counter of the last frame
  QuestionMode shownMode_ = QuestionMode::Normal;
  bool redrawPending_ = true;
};

}  // namespace verselane
