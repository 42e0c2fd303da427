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
#include "game/poem_card.h"
#include "game/weak_poems.h"
#include "base/shift_jis.h"
#include "records/mode_label.h"
#include "settings/preferences.h"
#include "settings/settings.h"

namespace verselane {
namespace {

// Takes a poem at random from the first `remaining` of `pool`, which the last of them replaces.
int DrawPoem(std::vector<int>& pool, int remaining, RandomSource& random) {
  const int k = static_cast<int>(random.Below(static_cast<std::uint32_t>(remaining)));
  const int poem = pool[k];
  pool[k] = pool[remaining - 1];
  return poem;
}

// The `count` poems a run asks (fewer when the pool runs out), drawn at once by the same draws
// its questions would make one by one.
std::vector<int> DrawOrder(std::vector<int> pool, int count, RandomSource& random) {
  std::vector<int> order;
  for (int remaining = static_cast<int>(pool.size());
       remaining > 0 && static_cast<int>(order.size()) < count; --remaining) {
    order.push_back(DrawPoem(pool, remaining, random));
  }
  return order;
}

}  // namespace

GameController::GameController(const PoemCatalogue& catalogue, const Settings& settings,
                               const QuestionSources& sources, const Preferences& preferences,
                               KeyLatch& keys, RandomSource& random, HistoryPort& history,
                               AnswerBoxControlPort& answerBox, SoundPort& sound,
                               VoicePort& voice, InputMethodPort& inputMethod,
                               MainWindowPort& window, ScreenPort& screen, DialogPort& dialogs)
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
      checker_(catalogue, answerBox, sound),
      reader_(voice, preferences) {
  for (TickCounter& clock : clocks_) clock.SetInterval(kTicksPerSecond);
}

void GameController::ResetGame() {
  ResetRun();
  ReadPlan();
  ApplyMenu(MenuState::kIdle);
}

void GameController::ResetRun() {
  Clock(GameClock::kGame).Reset(0);
  playState_ = PlayState::Idle;
  NewRun();
  animation_.Reset();
  animationTick_ = 0;
  redrawPending_ = true;
  ++meetings_;
  reader_.Stop();
}

void GameController::ApplyMenu(MenuState state) {
  ApplyMenuState(window_, state, history_.HasAnswers(), planStatus_);
  ApplyVoiceMenuState(window_, state, reader_.installed(), preferences_.recite);
}

void GameController::ResetWithPoems(std::vector<int> poems) {
  ResetGame();
  nextPoems_ = std::move(poems);
}

void GameController::ResetForRetry() { ResetWithPoems(run_.wrong.CopyEntries()); }

bool GameController::ResetForWeakPoems() {
  const HistoryOutlook history = history_.Outlook();
  std::vector<int> weakest = WeakestPoems(history.figures, history.now,
                                          std::min(settings_.questionCount(), kWeakRunPoems));
  if (weakest.empty()) return false;
  ResetWithPoems(std::move(weakest));
  return true;
}

bool GameController::ResetForPlan() {
  ResetGame();
  if (PlanPoems().value_or(0) == 0) return false;
  for (const PlanItem& item : *plan_) nextPoems_.push_back(item.poem);
  nextPlan_ = *plan_;
  return true;
}

void GameController::RefreshPlan() {
  ReadPlan();
  if (playState_ == PlayState::Idle) {
    ApplyMenu(MenuState::kIdle);
  }
}

// Read whenever the game comes back to Idle: each answer moves the plan, and so does midnight.
// The history keeps the memory model's state up to date as it records, so this reads no answer.
void GameController::ReadPlan() {
  plan_.reset();
  planStatus_.reset();
  const std::optional<KeptMemory> kept = history_.Memory();
  const std::optional<Day> today = kept ? DayOf(kept->localTime) : std::nullopt;
  if (!today) {
    // A history that could not be read is told now; the plan stays greyed meanwhile.
    history_.ReportWriteFailure();
    return;
  }
  plan_ = PlanDay(kept->memory, catalogue_, *today, preferences_.plan);
  planStatus_ = StatusOfPlan(*plan_, kept->memory, *today, preferences_.plan);
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
    // Today's plan is taken step by step, in the order given.
    if (!nextPlan_.empty()) {
      run_.study = StudyQueue(std::exchange(nextPlan_, {}));
      run_.order = run_.pool;
    }
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
  if (reader_.WantsOrder() && run_.order.empty()) {
    run_.order = DrawOrder(run_.pool, run_.questionCount, random_);
  }
  reader_.BeginRun(run_.order, settings_.mode(), run_.study.unmet());
  ApplyMenu(MenuState::kRunning);
}

void GameController::Pause() {
  if (playState_ != PlayState::Running) return;
  for (std::size_t i = 0; i < clocks_.size(); ++i) {
    runningAtPause_[i] = clocks_[i].running();
    clocks_[i].SetRunning(false);
  }
  playState_ = PlayState::Paused;
  reader_.Stop();
}

void GameController::Resume() {
  if (playState_ != PlayState::Paused) return;
  for (std::size_t i = 0; i < clocks_.size(); ++i) clocks_[i].SetRunning(runningAtPause_[i]);
  playState_ = PlayState::Running;
}

// Today's plan gives its next step; other runs draw without repeats, or take the next of the
// order drawn at the start (for the reader).
bool GameController::PickQuestion() {
  run_.question = QuestionState{};
  if (run_.study.active()) {
    const std::optional<StudyStep> step = run_.study.Take();
    if (step && step->action == StudyAction::kShow) {
      StartMeeting(step->poem);
      return false;
    }
    // NextQuestion asks for a step only while one is left.
    run_.question.poem = step ? step->poem : 0;
  } else {
    const int asked = run_.tallies.asked;
    run_.question.poem = asked < static_cast<int>(run_.order.size())
                             ? run_.order[asked]
                             : DrawPoem(run_.pool, run_.remainingPoems(), random_);
  }
  LoadPrompt();
  return true;
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
  if (playState_ == PlayState::Running) {
    reader_.CheckFailure();
    Advance(Trigger::kTick, key);
  }
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
      if (tick) break;
      if (reader_.opensRun()) {
        StartOpening();
      } else {
        run_.phase = Phase::kSetUp;
      }
      break;
    case Phase::kOpening:
      if (tick) ContinueOpening();
      break;
    case Phase::kMeeting:
      if (tick) ContinueMeeting();
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

// The opening poem's upper phrase, then its lower one, each waited out on the interval clock; a
// phrase not ready in time ends the opening there.
void GameController::StartOpening() {
  run_.phase = Phase::kOpening;
  SpeakOpening(RecitedPart::kUpper);
}

void GameController::SpeakOpening(RecitedPart part) {
  const int lengthMs = reader_.SpeakPhrase(kOpeningPoem, part);
  if (lengthMs <= 0) {
    EndOpening();
    return;
  }
  run_.readPart = part;
  run_.readMs = lengthMs;
  RestartClock(GameClock::kInterval);
}

void GameController::ContinueOpening() {
  if (Clock(GameClock::kInterval).ticks() * kTimerPeriodMs < run_.readMs) return;
  if (run_.readPart == RecitedPart::kUpper) {
    SpeakOpening(RecitedPart::kLower);
  } else {
    EndOpening();
  }
}

void GameController::EndOpening() {
  Clock(GameClock::kInterval).SetRunning(false);
  run_.phase = Phase::kSetUp;
}

// A poem never met is shown whole, and read when the voice is on, until the player closes its
// card; the clear time stands still meanwhile, as it counts the answering.
void GameController::StartMeeting(int poem) {
  run_.phase = Phase::kMeeting;
  run_.meetingPoem = poem;
  run_.meetingClosed = false;
  Clock(GameClock::kGame).SetRunning(false);
  const int meeting = ++meetings_;
  ReadMeeting(RecitedPart::kUpper);
  dialogs_.OpenMeeting(MakeMeetingCard(catalogue_, poem), [this, meeting] {
    if (meeting == meetings_) run_.meetingClosed = true;
  });
}

void GameController::ReadMeeting(RecitedPart part) {
  run_.readPart = part;
  run_.readMs = reader_.SpeakPhrase(run_.meetingPoem, part);
  RestartClock(GameClock::kInterval);
}

// The upper phrase, then the lower one, each waited out on the interval clock.
void GameController::ContinueMeeting() {
  if (run_.meetingClosed) {
    EndMeeting();
    return;
  }
  if (run_.readMs <= 0 || Clock(GameClock::kInterval).ticks() * kTimerPeriodMs < run_.readMs) {
    return;
  }
  if (run_.readPart == RecitedPart::kUpper) {
    ReadMeeting(RecitedPart::kLower);
  } else {
    run_.readMs = 0;
  }
}

void GameController::EndMeeting() {
  reader_.Stop();
  Clock(GameClock::kInterval).SetRunning(false);
  run_.study.Shown(run_.meetingPoem);
  run_.meetingPoem = -1;
  run_.phase = Phase::kNext;
}

void GameController::SetUpQuestion() {
  if (!PickQuestion()) return;
  SpokenPrompt spoken = reader_.SpeakPrompt(run_.question.poem, settings_.mode());
  run_.question.cellStartMs = std::move(spoken.cellStartMs);
  run_.question.textHidden = spoken.textHidden;
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

// An answer whose letters make no kana is not judged: the line keeps it, the question and its
// clock go on, and the screen says how to type kana.
void GameController::TakeAnswer() {
  QuestionState& question = run_.question;
  const AnswerOutcome outcome = checker_.CheckAnswer(
      question.poem, seconds(GameClock::kQuestion), settings_, run_.tallies, run_.wrong);
  if (!outcome.judged) {
    question.kanaAsked = true;
    redrawPending_ = true;
    return;
  }
  Clock(GameClock::kQuestion).SetRunning(false);
  reader_.Stop();
  answerBox_.Hide();
  question.seconds = seconds(GameClock::kQuestion);
  question.favourite = outcome.favourite;
  question.points = outcome.points;
  question.time = SplitSeconds(question.seconds);
  question.answer = outcome.typed;
  question.answerAgreed = outcome.agreedBytes;
  question.answerAgainstWritten = outcome.againstWritten;
  question.expectedAgreed = outcome.expectedAgreedBytes;
  run_.lastResult = outcome.correct;
  run_.study.Answered(question.poem, outcome.correct);
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
  const bool more = run_.study.active()
                        ? run_.study.HasSteps()
                        : run_.tallies.asked < run_.questionCount && run_.remainingPoems() > 0;
  if (more) {
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
      animation_.Step(animationTick_, playState_, clockRunning(GameClock::kGame), run_,
                      Clock(GameClock::kQuestion).ticks() * kTimerPeriodMs);
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
          // Today's plan asks a missed poem again: its questions are those it asked.
          run_.study.active() ? tallies.asked : run_.questionCount,
          run_.wrong.CopyEntries()};
}

}  // namespace verselane
