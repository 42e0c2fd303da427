// One run of questions from START to the results, driven tick by tick by the 50 ms timer. The
// controller owns the run and the play state and makes every change of phase.
#pragma once

#include <array>
#include <optional>
#include <vector>

#include "game/answer_check.h"
#include "game/daily_plan.h"
#include "game/game_animation.h"
#include "game/reader.h"
#include "records/run_figures.h"
#include "game/menu_state.h"
#include "game/run.h"
#include "game/tick_counter.h"
#include "settings/types.h"

namespace verselane {

class AnswerBoxControlPort;
class DialogPort;
class HistoryPort;
class InputMethodPort;
class KeyLatch;
class MainWindowPort;
class PoemCatalogue;
class QuestionSources;
class RandomSource;
class ScreenPort;
class Settings;
class SoundPort;
class VoicePort;
struct Preferences;

// The game's clocks, each counting whole seconds.
enum class GameClock {
  kInterval,  // the waits before the first question and between questions
  kQuestion,  // the current question, from its set-up to Enter
  kGame,      // the run's clear time
};

class GameController {
 public:
  // Reads the settings, the question sources and the preferences; never changes them. Every
  // judged answer and finished run goes to `history`, which keeps nothing until it is opened.
  // The game puts the questions in `answerBox`, speaks them with `voice` when the preferences
  // say so, draws on `screen`, sets the menu of `window` and opens the results in `dialogs`.
  GameController(const PoemCatalogue& catalogue, const Settings& settings,
                 const QuestionSources& sources, const Preferences& preferences, KeyLatch& keys,
                 RandomSource& random, HistoryPort& history, AnswerBoxControlPort& answerBox,
                 SoundPort& sound, VoicePort& voice, InputMethodPort& inputMethod,
                 MainWindowPort& window, ScreenPort& screen, DialogPort& dialogs);
  GameController(const GameController&) = delete;
  GameController& operator=(const GameController&) = delete;

  // Back to Idle: a fresh run of the settings' source (or of the retry run put in by
  // ResetForRetry), zero tallies and clear time, the idle picture and the idle menu. At
  // start-up, after RESTART, and when the results close.
  void ResetGame();
  // ResetGame, with `poems` put in as the poems of the next run, which asks each of them once.
  // The settings keep the player's own source and count throughout.
  void ResetWithPoems(std::vector<int> poems);
  // ResetWithPoems of the wrong answers of the run that ended.
  void ResetForRetry();
  // ResetWithPoems of the weakest poems of the history, kWeakRunPoems at most and no more than
  // the settings' count; false (and nothing put in) when the history has none.
  bool ResetForWeakPoems();
  // ResetGame, with today's plan put in as the poems of the next run, asked in the plan's order;
  // false (and nothing put in) when the plan is empty or the history gives none.
  bool ResetForPlan();
  // The history has just been opened: while Idle, the menu offers the weak poems when it holds
  // answers, and today's plan.
  void HistoryOpened() { RefreshPlan(); }
  // Today's plan read afresh from the history (after its settings changed, say), and shown in
  // the menu while Idle. A history that cannot be read gives no plan, and the player is told.
  void RefreshPlan();
  // Today's plan as last read (ResetGame reads it); nothing when the history gives none.
  const std::optional<std::vector<PlanItem>>& plan() const { return plan_; }
  HistoryPort& history() { return history_; }
  // Whether the reader's voice is installed: its options can be chosen.
  bool VoiceInstalled() const { return reader_.installed(); }
  // Whether the next run would have a question to ask.
  bool HasPoemsToAsk() const;
  // Idle: a new run starts (after ResetGame), with the running menu.
  void StartRun();
  // The results of the finished run have closed: back to Idle, and straight into the retry run
  // when the player asked for it (and the run had wrong answers to retry). A history that could
  // not be written since is told here, between runs.
  void CloseResults(bool retryWrongAnswers);
  // Running → Paused: the clocks stop, remembering which ran. Paused → Running restarts them.
  void Pause();
  void Resume();

  // The work of one timer tick, in order: TickClocks, StepPhase, UpdateFrame. Returns false
  // when a needed redraw failed (the next tick draws again).
  bool Tick();
  void TickClocks();
  // Advances the current phase while Running; takes one key from the latch first and clears the
  // latch at the end, whatever the state.
  void StepPhase();
  // Steps the animation (which may end a phase) and redraws when anything on screen changed.
  // False when a needed redraw failed.
  bool UpdateFrame();
  // Draws the screen as it is again, stepping nothing (the view changed size); a failure leaves
  // the redraw pending for the next tick.
  bool Redraw();

  // What the results, the record list and a result file show of the finished run.
  RunFigures Figures() const;

  PlayState playState() const { return playState_; }
  const RunState& run() const { return run_; }
  Phase phase() const { return run_.phase; }
  const GameAnimation& animation() const { return animation_; }
  int seconds(GameClock clock) const { return Clock(clock).steps(); }
  bool clockRunning(GameClock clock) const { return Clock(clock).running(); }

 private:
  // What moves a phase on: a timer tick (with the key it brought), or the end of the current
  // phase's animation.
  enum class Trigger { kTick, kAnimationDone };

  const TickCounter& Clock(GameClock clock) const { return clocks_[static_cast<int>(clock)]; }
  TickCounter& Clock(GameClock clock) { return clocks_[static_cast<int>(clock)]; }
  void RestartClock(GameClock clock);

  // ResetGame without the menu and the plan.
  void ResetRun();
  void ReadPlan();
  std::optional<int> PlanPoems() const;
  void NewRun();
  void ApplyMenu(MenuState state);
  // The poem of the next question (or of the card to show first, in today's plan); false when
  // a card is shown instead of a question.
  bool PickQuestion();
  void LoadPrompt();
  // Every change of phase: the one switch over the phases.
  void Advance(Trigger trigger, int key);
  void StartOpening();
  void SpeakOpening(RecitedPart part);
  void ContinueOpening();
  void EndOpening();
  void StartMeeting(int poem);
  void ReadMeeting(RecitedPart part);
  void ContinueMeeting();
  void EndMeeting();
  void SetUpQuestion();
  void OfferRomajiHint();
  void TakeAnswer();
  void Review(int key);
  void EndPopup();
  void NextQuestion();
  void FinishRun();
  void WaitOneSecond(Phase next);
  bool ShownStateChanged();
  void AdvanceAnimationTick();

  const PoemCatalogue& catalogue_;
  const Settings& settings_;
  const QuestionSources& sources_;
  const Preferences& preferences_;
  KeyLatch& keys_;
  RandomSource& random_;
  HistoryPort& history_;
  AnswerBoxControlPort& answerBox_;
  SoundPort& sound_;
  InputMethodPort& inputMethod_;
  MainWindowPort& window_;
  ScreenPort& screen_;
  DialogPort& dialogs_;
  AnswerChecker checker_;
  Reader reader_;

  PlayState playState_ = PlayState::Idle;
  RunState run_;
  std::vector<int> nextPoems_;  // put in by ResetWithPoems, taken by the next ResetGame
  std::vector<PlanItem> nextPlan_;  // put in by ResetForPlan: the next run takes it step by step
  int meetings_ = 0;  // cards shown or runs reset: a card's closing counts only for its own
  std::optional<std::vector<PlanItem>> plan_;
  std::optional<PlanStatus> planStatus_;  // what the plan's menu item says of plan_
  std::array<TickCounter, 3> clocks_;
  std::array<bool, 3> runningAtPause_{};
  GameAnimation animation_;
  int animationTick_ = 0;
  // The romaji hint in the answer line: offered at the first question only, cleared at the next.
  enum class Hint { kNotYet, kShown, kDone } hint_ = Hint::kNotYet;

  int shownAsked_ = -1;  // the asked counter of the last frame
  QuestionMode shownMode_ = QuestionMode::Normal;
  bool redrawPending_ = true;
};

}  // namespace verselane
