#include "simulated_player.h"

#include <algorithm>
#include <string>

#include "catalogue/poem_groups.h"

namespace verselane {

SimulatedPlayer::SimulatedPlayer(EngineHarness& engine, std::uint32_t seed)
    : engine_(engine), rng_(seed) {
  engine_.desktop.dialogs.whileResultsOpen = [this] { OnResults(); };
}

int SimulatedPlayer::Below(int bound) {
  return std::uniform_int_distribution<int>(0, bound - 1)(rng_);
}

RunOutcome SimulatedPlayer::PlayRun() {
  outcome_ = RunOutcome{};
  resultsClosed_ = false;
  lastPhase_ = Phase::kStart;
  ForgetFakeHistory();
  if (engine_.state() == PlayState::Idle) {
    ChooseSettings();
    engine_.commands.Dispatch(kCommandStart);
  }
  outcome_.questionCount = engine_.game.run().questionCount;
  const int limit = 1000 + outcome_.questionCount * 3000;
  while (!resultsClosed_ && outcome_.ticks < limit) {
    engine_.game.Tick();
    ++outcome_.ticks;
    Observe();
    Act();
  }
  return outcome_;
}

void SimulatedPlayer::ChooseSettings() {
  Settings& settings = engine_.settings();
  settings.SetMode(static_cast<QuestionMode>(Below(3)));
  const int source = Below(kBuiltInGroupCount);
  const int size = engine_.sources().GetGroupSize(source);
  settings.SetSource(source);
  // Mostly short runs, now and then a long one.
  settings.SetQuestionCount(1 + Below(OneIn(3) ? size : std::min(size, 10)));
  const std::vector<int> poems = engine_.sources().GetGroupPoems(source);
  settings.SetFavouritePoem(OneIn(3) ? poems[Below(size)] : Below(100));
  settings.SetShowAfterKimariji(OneIn(2));
  settings.SetAcceptOmission(OneIn(2));
  settings.SetPlaySounds(!OneIn(4));
}

// The fakes keep what they were asked; a long soak must not mistake that for the engine's memory.
void SimulatedPlayer::ForgetFakeHistory() {
  FakeDesktop& desktop = engine_.desktop;
  std::vector<SoundId>().swap(desktop.sound.played);
  std::vector<FakePrompts::Question>().swap(desktop.prompts.asked);
  std::vector<FakeNotices::Notice>().swap(desktop.notices.shown);
}

void SimulatedPlayer::Observe() {
  const Phase phase = engine_.phase();
  if (phase == Phase::kAnswering && lastPhase_ == Phase::kSetUp) {
    outcome_.poems.push_back(engine_.game.run().question.poem);
    // Mostly quick answers; sometimes slower than the time bar.
    waitTicks_ = OneIn(10) ? 300 + Below(200) : Below(60);
  }
  if (phase == Phase::kReview && lastPhase_ != Phase::kReview) waitTicks_ = Below(40);
  lastPhase_ = phase;
}

void SimulatedPlayer::Act() {
  if (resultsClosed_) return;
  if (engine_.state() == PlayState::Paused) {
    if (OneIn(60)) engine_.commands.Dispatch(kCommandPause);  // resume
    return;
  }
  if (engine_.state() != PlayState::Running) return;
  Meddle();
  if (engine_.state() != PlayState::Running) return;
  if (waitTicks_ > 0) {
    --waitTicks_;
    return;
  }
  const RunState& run = engine_.game.run();
  if (engine_.phase() == Phase::kAnswering) Answer();
  if (engine_.phase() == Phase::kReview && !run.lastResult) engine_.PressEnter();
}

void SimulatedPlayer::Answer() {
  std::string& box = engine_.desktop.answerBox.text;
  switch (Below(10)) {
    case 0: box = "a"; break;  // a half-width slip
    case 1: box.clear(); break;
    case 2: box = SjisLiteral("ちがうこたえ"); break;
    case 3: box = std::string(engine_.ExpectedReading()) + SjisLiteral("とてもながいつけたし"); break;
    default: box = std::string(engine_.ExpectedReading()); break;
  }
  engine_.PressEnter();
  waitTicks_ = 1000000;  // nothing more to answer until the next question
}

// Keys and commands a player presses at odd moments.
void SimulatedPlayer::Meddle() {
  if (OneIn(200)) engine_.keys.Store(OneIn(2) ? kEnterKey : 'x');
  if (OneIn(500)) engine_.commands.Dispatch(kCommandPause);
  if (OneIn(700)) engine_.commands.Dispatch(kCommandStart);
  if (OneIn(900)) engine_.commands.Dispatch(kCommandSettings);
  if (OneIn(2000)) {
    engine_.desktop.prompts.answer = false;
    engine_.commands.Dispatch(OneIn(2) ? kCommandRestart : kCommandExit);
  }
}

// Inside the results dialog's modal loop: ticks keep coming until the player closes it.
void SimulatedPlayer::OnResults() {
  outcome_.finished = engine_.state() == PlayState::Finished;
  outcome_.asked = engine_.tallies().asked;
  outcome_.correct = engine_.tallies().correct;
  outcome_.score = engine_.tallies().score;
  engine_.Tick(Below(5));
  resultsClosed_ = true;
  engine_.CloseResults(OneIn(4));
}

}  // namespace verselane
