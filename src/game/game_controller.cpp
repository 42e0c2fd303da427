#include "game/game_controller.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "base/random_source.h"
#include "catalogue/phrase_match.h"
#include "catalogue/poem_catalogue.h"
#include "catalogue/poem_groups.h"
#include "game/desktop_ports.h"
#include "game/frame.h"
#include "game/key_latch.h"
#include "game/menu_state.h"
#include "game/weak_poems.h"
#include "base/shift_jis.h"
#include "records/mode_label.h"
#include "settings/preferences.h"
#include "settings/settings.h"

namespace verselane {

GameController::GameController(const PoemCatalogue& catalogue, const Settings& settings,
                               const QuestionSources& sources, const Preferences& preferences,
                               KeyLatch& keys, RandomSource& random, HistoryPort& history,
                               AnswerBoxControlPort& answerBox, SoundPort& sound,
                               InputMethodPort& inputMethod, MainWindowPort& window,
                               ScreenPort& screen, DialogPort& dialogs)
    : catalogue_(catalogue),
      settings_(settings),
      sources_(sources),
      preferences_(preferences),
      keys_(keys),
      random_(random),
      history_(history),
      answerBox_(answerBox),
      sound_(sound),
      inputMethod_(inputMethod),
      window_(window),
      screen_(screen),
      dialogs_(dialogs),
      checker_(catalogue, answerBox, sound) {
  for (TickCounter& clock : clocks_) clock.SetInterval(kTicksPerSecond);
}

void GameController::ResetGame() {
  ResetRun();
  ReadPlan();
  ApplyMenuState(window_, MenuState::kIdle, history_.HasAnswers(), PlanPoems());
}

void GameController::ResetRun() {
  Clock(GameClock::kGame).Reset(0);
  playState_ = PlayState::Idle;
  NewRun();
  animation_.Reset();
  animationTick_ = 0;
  redrawPending_ = true;
}

void GameController::ResetWithPoems(std::vector<int> poems) {
  ResetGame();
  nextPoems_ = std::move(poems);
}

void GameController::ResetForRetry() { ResetWithPoems(run_.wrong.CopyEntries()); }

bool GameController::ResetForWeakPoems() {
  const HistorySnapshot history = history_.Snapshot();
  std::vector<int> weakest = WeakestPoems(history.poems, history.now,
                                          std::min(settings_.questionCount(), kWeakRunPoems));
  if (weakest.empty()) return false;
  ResetWithPoems(std::move(weakest));
  return true;
}

bool GameController::ResetForPlan() {
  ResetGame();
  if (PlanPoems().value_or(0) == 0) return false;
  for (const PlanItem& item : *plan_) nextPoems_.push_back(item.poem);
  nextInOrder_ = true;
  return true;
}

void GameController::RefreshPlan() {
  ReadPlan();
  if (playState_ == PlayState::Idle) {
    ApplyMenuState(window_, MenuState::kIdle, history_.HasAnswers(), PlanPoems());
  }
}

// Read whenever the game comes back to Idle: each answer moves the plan, and so does midnight.
void GameController::ReadPlan() {
  plan_.reset();
  const std::optional<KeptAnswers> kept = history_.ReadAnswers();
  const std::optional<Day> today = kept ? DayOf(kept->localTime) : std::nullopt;
  if (!today) {
    // A history that could not be read is told now; the plan stays greyed meanwhile.
    history_.ReportWriteFailure();
    return;
  }
  plan_ = PlanDay(ReplayAnswers(kept->answers), catalogue_, *today, preferences_.plan);
}

std::optional<int> GameController::PlanPoems() const {
  if (!plan_) return std::nullopt;
  return static_cast<int>(plan_->size());
}

// Poems put in by ResetWithPoems are taken here, once: the run after them draws from the
// settings again.
void GameController::NewRun() {
  run_ = RunState{};
  run_.retry = !nextPoems_.empty();
  if (run_.retry) {
    run_.pool = std::exchange(nextPoems_, {});
    run_.questionCount = static_cast<int>(run_.pool.size());
    // PickQuestion takes the last poem not asked when the order counts: the pool is reversed.
    run_.inOrder = std::exchange(nextInOrder_, false);
    if (run_.inOrder) std::reverse(run_.pool.begin(), run_.pool.end());
  } else {
    run_.pool = sources_.GetGroupPoems(settings_.source());
    run_.questionCount = settings_.questionCount();
  }
}

bool GameController::HasPoemsToAsk() const {
  if (!nextPoems_.empty()) return true;
  const int poems = sources_.GetGroupSize(settings_.source());
  return std::min(poems, settings_.questionCount()) > 0;
}

void GameController::StartRun() {
  if (playState_ != PlayState::Idle) return;
  ResetRun();
  playState_ = PlayState::Running;
  if (settings_.playSounds()) sound_.Prepare();
  ApplyMenuState(window_, MenuState::kRunning, history_.HasAnswers(), PlanPoems());
}

void GameController::Pause() {
  if (playState_ != PlayState::Running) return;
  for (std::size_t i = 0; i < clocks_.size(); ++i) {
    runningAtPause_[i] = clocks_[i].running();
    clocks_[i].SetRunning(false);
  }
  playState_ = PlayState::Paused;
}

void GameController::Resume() {
  if (playState_ != PlayState::Paused) return;
  for (std::size_t i = 0; i < clocks_.size(); ++i) clocks_[i].SetRunning(runningAtPause_[i]);
  playState_ = PlayState::Running;
}

// Draws without repeats: the poem taken is replaced by the last one not yet asked. A run in order
// takes that last one itself.
void GameController::PickQuestion() {
  const int remaining = run_.remainingPoems();
  const int k = run_.inOrder
                    ? remaining - 1
                    : static_cast<int>(random_.Below(static_cast<std::uint32_t>(remaining)));
  run_.question = QuestionState{};
  run_.question.poem = run_.pool[k];
  run_.pool[k] = run_.pool[remaining - 1];
  LoadPrompt();
}

void GameController::LoadPrompt() {
  const int poem = run_.question.poem;
  const QuestionMode mode = settings_.mode();
  const PhraseRows shown = LoadPhraseRows(
      catalogue_, poem, mode == QuestionMode::Normal ? Phrase::kUpper : Phrase::kLower);
  run_.prompt =
      mode == QuestionMode::Poet ? catalogue_.FieldView(poem, kPoetReading) : shown.reading();
  run_.revealLimit = run_.promptCells();
  // Some poets' names are shorter than the kimariji that limits them; never reveal past the end.
  if (!settings_.showAfterKimariji()) {
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
  if (playState_ == PlayState::Running) Advance(Trigger::kTick, key);
  keys_.Clear();
}

void GameController::Advance(Trigger trigger, int key) {
  const bool tick = trigger == Trigger::kTick;
  switch (run_.phase) {
    case Phase::kStart:
      if (!tick) break;
      RestartClock(GameClock::kInterval);
      run_.phase = Phase::kFirstWait;
      break;
    case Phase::kFirstWait:
      if (tick) WaitOneSecond(Phase::kCountdown);
      break;
    case Phase::kCountdown:
      if (!tick) run_.phase = Phase::kSetUp;
      break;
    case Phase::kSetUp:
      if (tick) SetUpQuestion();
      break;
    case Phase::kAnswering:
      if (tick && key == kEnterKey) TakeAnswer();
      break;
    case Phase::kPopupIn:
      if (!tick) run_.phase = Phase::kReview;
      break;
    case Phase::kReview:
      if (tick) Review(key);
      break;
    case Phase::kClearDown:
      if (!tick) run_.phase = Phase::kPopupOut;
      break;
    case Phase::kPopupOut:
      if (!tick) EndPopup();
      break;
    case Phase::kNext:
      if (tick) NextQuestion();
      break;
    case Phase::kBetween:
      if (tick) WaitOneSecond(Phase::kSetUp);
      break;
  }
}

void GameController::RestartClock(GameClock clock) {
  Clock(clock).Reset(0);
  Clock(clock).SetRunning(true);
}

void GameController::WaitOneSecond(Phase next) {
  TickCounter& interval = Clock(GameClock::kInterval);
  if (interval.steps() < 1) return;
  interval.SetRunning(false);
  run_.phase = next;
}

void GameController::SetUpQuestion() {
  PickQuestion();
  answerBox_.Clear();
  OfferRomajiHint();
  answerBox_.Show();
  answerBox_.Focus();
  if (!preferences_.romajiInput) inputMethod_.RequestOpen();
  RestartClock(GameClock::kQuestion);
  Clock(GameClock::kGame).SetRunning(true);
  run_.phase = Phase::kAnswering;
}

// A player who has no Japanese input method could not type a single kana: the first question
// names the key that switches romaji input on, which works at once, in the middle of the run.
void GameController::OfferRomajiHint() {
  switch (hint_) {
    case Hint::kNotYet:
      hint_ = Hint::kDone;
      if (preferences_.romajiInput || inputMethod_.OffersJapanese()) return;
      answerBox_.SetHint(SjisLiteral("ローマ字入力: ") + kRomajiInputKey);
      hint_ = Hint::kShown;
      return;
    case Hint::kShown:
      answerBox_.SetHint({});
      hint_ = Hint::kDone;
      return;
    case Hint::kDone:
      return;
  }
}

void GameController::TakeAnswer() {
  Clock(GameClock::kQuestion).SetRunning(false);
  answerBox_.Hide();
  QuestionState& question = run_.question;
  question.seconds = seconds(GameClock::kQuestion);
  const AnswerOutcome outcome =
      checker_.CheckAnswer(question.poem, question.seconds, settings_, run_.tallies, run_.wrong);
  question.favourite = outcome.favourite;
  question.points = outcome.points;
  question.time = SplitSeconds(question.seconds);
  run_.lastResult = outcome.correct;
  // The history keeps what the answer did to the score: a missed favourite's penalty as minus.
  history_.RecordAnswer({question.poem, settings_.mode(), outcome.correct,
                          Clock(GameClock::kQuestion).ticks() * kTimerPeriodMs,
                          outcome.correct ? outcome.points : -outcome.points, 0, {}});
  // After a wrong answer the clear time stands still until the next question.
  if (!run_.lastResult) Clock(GameClock::kGame).SetRunning(false);
  run_.phase = Phase::kPopupIn;
}

// A correct answer moves on by itself; a wrong one keeps the expected reading up until Enter.
void GameController::Review(int key) {
  const FavouriteState favourite = run_.question.favourite;
  if (run_.lastResult || favourite == FavouriteState::PenaltyShown) {
    run_.phase = Phase::kClearDown;
    return;
  }
  if (key != kEnterKey) return;
  // A missed favourite fades out first, to come back with its penalty.
  run_.phase = favourite == FavouriteState::Missed ? Phase::kPopupOut : Phase::kClearDown;
}

// The missed favourite's pop-up comes back once more, with the penalty.
void GameController::EndPopup() {
  FavouriteState& favourite = run_.question.favourite;
  if (favourite == FavouriteState::Missed) {
    favourite = FavouriteState::PenaltyShown;
    run_.phase = Phase::kPopupIn;
    return;
  }
  if (favourite == FavouriteState::PenaltyShown) favourite = FavouriteState::None;
  run_.phase = Phase::kNext;
}

void GameController::NextQuestion() {
  if (run_.tallies.asked < run_.questionCount && run_.remainingPoems() > 0) {
    RestartClock(GameClock::kInterval);
    run_.phase = Phase::kBetween;
    return;
  }
  FinishRun();
}

void GameController::FinishRun() {
  if (settings_.playSounds()) sound_.Play(SoundId::kRunFinished);
  Clock(GameClock::kGame).SetRunning(false);
  playState_ = PlayState::Finished;
  const RunFigures figures = Figures();
  history_.RecordRun({0, {}, settings_.mode(), figures.questionCount, figures.answers,
                       figures.correct, figures.score, figures.clearSeconds});
  // The dialog may run a modal loop in which the results close, the game is reset and the next
  // run even starts: nothing of this run may be touched after it.
  dialogs_.OpenResults(figures, [this](bool retry) { CloseResults(retry); });
}

void GameController::CloseResults(bool retryWrongAnswers) {
  history_.ReportWriteFailure();
  if (!retryWrongAnswers || run_.wrong.count() == 0) {
    ResetGame();
    return;
  }
  // The answer line is hidden since the last answer, and the wrong answers are the poems to ask.
  ResetForRetry();
  StartRun();
}

bool GameController::UpdateFrame() {
  bool changed = ShownStateChanged();
  const AnimationStep step =
      animation_.Step(animationTick_, playState_, clockRunning(GameClock::kGame), run_);
  if (step.finished) Advance(Trigger::kAnimationDone, 0);
  changed |= step.changed || redrawPending_;
  bool drawn = true;
  if (changed) {
    drawn = screen_.DrawFrame(ComposeFrame(*this, catalogue_, settings_.mode()));
    redrawPending_ = !drawn;
  }
  AdvanceAnimationTick();
  return drawn;
}

bool GameController::Redraw() {
  const bool drawn = screen_.DrawFrame(ComposeFrame(*this, catalogue_, settings_.mode()));
  redrawPending_ |= !drawn;
  return drawn;
}

// The tallies change together with the asked counter; the mode changes only while Idle, in the
// settings dialog, and swaps the icons.
bool GameController::ShownStateChanged() {
  const int asked = run_.tallies.asked;
  const QuestionMode mode = settings_.mode();
  if (asked == shownAsked_ && mode == shownMode_) return false;
  shownAsked_ = asked;
  shownMode_ = mode;
  return true;
}

void GameController::AdvanceAnimationTick() {
  switch (playState_) {
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

RunFigures GameController::Figures() const {
  const Tallies& tallies = run_.tallies;
  return {tallies.score,
          tallies.correct,
          tallies.asked,
          seconds(GameClock::kGame),
          ModeLabel(settings_.mode(), settings_.acceptOmission()),
          run_.questionCount,
          run_.wrong.CopyEntries()};
}

}  // namespace verselane
