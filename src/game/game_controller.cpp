#include "game/game_controller.h"

#include <algorithm>
#include <cstdint>

#include "catalogue/phrase_match.h"
#include "game/desktop_ports.h"
#include "game/frame.h"
#include "game/key_latch.h"
#include "game/menu_state.h"
#include "base/random_source.h"
#include "settings/environment.h"

namespace verselane {

GameController::GameController(Environment& environment, KeyLatch& keys, DesktopPorts& desktop,
                               RandomSource& random)
    : environment_(environment),
      keys_(keys),
      desktop_(desktop),
      random_(random),
      checker_(environment, desktop.answerBox, desktop.sound) {
  for (TickCounter& clock : clocks_) clock.SetInterval(kTicksPerSecond);
}

void GameController::ResetGame() {
  Clock(GameClock::kGame).Reset(0);
  environment_.SetPlayState(PlayState::Idle);
  run_.phase = kPhaseStart;
  environment_.ResetTallies();
  BuildPool();
  run_.question.favourite = FavouriteState::None;
  environment_.retryList().SetCount(0);
  animation_.Reset();
  animationTick_ = 0;
  redrawPending_ = true;
  ApplyMenuState(desktop_.window, MenuState::kIdle);
}

void GameController::BuildPool() {
  pool_ = environment_.sources().GetGroupPoems(environment_.settings().source());
}

int GameController::remainingPoems() const {
  return static_cast<int>(pool_.size()) - environment_.askedCount();
}

// Draws without repeats: the poem taken is replaced by the last one not yet asked.
void GameController::PickQuestion() {
  const int remaining = remainingPoems();
  const int k = static_cast<int>(random_.Below(static_cast<std::uint32_t>(remaining)));
  run_.question = QuestionState{};
  run_.question.poem = pool_[k];
  pool_[k] = pool_[remaining - 1];
  LoadPrompt();
}

void GameController::LoadPrompt() {
  const Settings& settings = environment_.settings();
  const PoemCatalogue& catalogue = environment_.catalogue();
  const int poem = run_.question.poem;
  const QuestionMode mode = settings.mode();
  const PhraseRows shown = LoadPhraseRows(
      catalogue, poem, mode == QuestionMode::Normal ? Phrase::kUpper : Phrase::kLower);
  run_.prompt =
      mode == QuestionMode::Poet ? catalogue.FieldView(poem, kPoetReading) : shown.reading();
  run_.revealLimit = run_.promptCells();
  // Some poets' names are shorter than the kimariji that limits them; never reveal past the end.
  if (!settings.showAfterKimariji()) {
    run_.revealLimit = std::min(run_.revealLimit, shown.kimarijiBytes / 2);
  }
}

bool GameController::Tick() {
  TickClocks();
  StepPhase();
  return UpdateFrame();
}

void GameController::TickClocks() {
  for (TickCounter& clock : clocks_) clock.Tick();
}

void GameController::StepPhase() {
  const int key = keys_.Take();
  if (environment_.playState() == PlayState::Running) RunPhase(key);
  keys_.Clear();
}

void GameController::RunPhase(int key) {
  switch (run_.phase) {
    case kPhaseStart:
      RestartClock(GameClock::kInterval);
      run_.phase = kPhaseFirstWait;
      break;
    case kPhaseFirstWait:
      WaitOneSecond(kPhaseCountdown);
      break;
    case kPhaseSetUp:
      SetUpQuestion();
      break;
    case kPhaseAnswering:
      if (key == kEnterKey) TakeAnswer();
      break;
    case kPhaseReview:
      Review(key);
      break;
    case kPhaseNext:
      NextQuestion();
      break;
    case kPhaseBetween:
      WaitOneSecond(kPhaseSetUp);
      break;
    default:  // the animation ends the countdown, the pop-ups and the clear-down
      break;
  }
}

void GameController::RestartClock(GameClock clock) {
  Clock(clock).Reset(0);
  Clock(clock).SetRunning(true);
}

void GameController::WaitOneSecond(int nextPhase) {
  TickCounter& interval = Clock(GameClock::kInterval);
  if (interval.steps() < 1) return;
  interval.SetRunning(false);
  run_.phase = nextPhase;
}

void GameController::SetUpQuestion() {
  PickQuestion();
  AnswerBoxControlPort& answerBox = desktop_.answerBox;
  answerBox.Clear();
  answerBox.Show();
  answerBox.Focus();
  desktop_.inputMethod.RequestOpen();
  RestartClock(GameClock::kQuestion);
  Clock(GameClock::kGame).SetRunning(true);
  run_.phase = kPhaseAnswering;
}

void GameController::TakeAnswer() {
  Clock(GameClock::kQuestion).SetRunning(false);
  desktop_.answerBox.Hide();
  run_.question.seconds = seconds(GameClock::kQuestion);
  run_.lastResult = checker_.CheckAnswer(run_.question);
  // After a wrong answer the clear time stands still until the next question.
  if (!run_.lastResult) Clock(GameClock::kGame).SetRunning(false);
  run_.phase = kPhasePopupIn;
}

// A correct answer moves on by itself; a wrong one keeps the expected reading up until Enter.
void GameController::Review(int key) {
  const FavouriteState favourite = run_.question.favourite;
  if (run_.lastResult || favourite == FavouriteState::PenaltyShown) {
    run_.phase = kPhaseClearDown;
    return;
  }
  if (key != kEnterKey) return;
  // A missed favourite fades out first, to come back with its penalty.
  run_.phase = favourite == FavouriteState::Missed ? kPhasePopupOut : kPhaseClearDown;
}

void GameController::NextQuestion() {
  if (environment_.askedCount() < environment_.settings().questionCount() &&
      remainingPoems() > 0) {
    RestartClock(GameClock::kInterval);
    run_.phase = kPhaseBetween;
    return;
  }
  FinishRun();
}

void GameController::FinishRun() {
  if (environment_.settings().playSounds()) desktop_.sound.Play(SoundId::kRunFinished);
  Clock(GameClock::kGame).SetRunning(false);
  environment_.SetPlayState(PlayState::Finished);
  // The dialog may run a modal loop in which the results close, the game is reset and the next
  // run even starts: nothing of this run may be touched after it.
  desktop_.dialogs.OpenResults();
}

bool GameController::UpdateFrame() {
  bool changed = ShownStateChanged();
  changed |= animation_.Step(animationTick_, environment_.playState(),
                             clockRunning(GameClock::kGame), run_);
  changed |= redrawPending_;
  bool drawn = true;
  if (changed) {
    drawn = desktop_.screen.DrawFrame(ComposeFrame(*this, environment_));
    redrawPending_ = !drawn;
  }
  AdvanceAnimationTick();
  return drawn;
}

// The tallies change together with the asked counter; the mode changes only while Idle, in the
// settings dialog, and swaps the icons.
bool GameController::ShownStateChanged() {
  const int asked = environment_.askedCount();
  const QuestionMode mode = environment_.settings().mode();
  if (asked == shownAsked_ && mode == shownMode_) return false;
  shownAsked_ = asked;
  shownMode_ = mode;
  return true;
}

void GameController::AdvanceAnimationTick() {
  switch (environment_.playState()) {
    case PlayState::Running:
      animationTick_ = animationTick_ + 1 == kTickLimit ? 0 : animationTick_ + 1;
      break;
    case PlayState::Idle:
      animationTick_ = 0;
      break;
    default:  // held while Paused or Finished
      break;
  }
}

void GameController::PauseClocks() {
  for (std::size_t i = 0; i < clocks_.size(); ++i) {
    runningAtPause_[i] = clocks_[i].running();
    clocks_[i].SetRunning(false);
  }
}

void GameController::ResumeClocks() {
  for (std::size_t i = 0; i < clocks_.size(); ++i) clocks_[i].SetRunning(runningAtPause_[i]);
}

ResultsView GameController::ShowResults() {
  ResultsView view = BuildResultsView(environment_, seconds(GameClock::kGame));
  environment_.settings().RestoreSavedSource();
  return view;
}

}  // namespace verselane
