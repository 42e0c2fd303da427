// Where the game stands: the play state the menu commands move between, and, while a run goes,
// the phase of its current question. GameController alone changes either.
#pragma once

namespace verselane {

enum class PlayState : int {
  Idle = 0,
  Running = 1,
  Paused = 2,
  Finished = 3,
};

// The phases of a question, in the order a question passes through them.
enum class Phase : int {
  kStart,       // the interval clock starts for the first wait
  kFirstWait,   // one second before the countdown
  kCountdown,   // "START !!" fades in
  kOpening,     // the opening poem is read, when the run opens with it
  kMeeting,     // a poem of today's plan never met before is shown (and read) until Enter
  kSetUp,       // a question is picked and the answer line shown
  kAnswering,   // the prompt is revealed and the time bar runs down
  kPopupIn,     // the score pop-up fades in
  kReview,      // a wrong answer waits for Enter
  kClearDown,   // the prompt is cleared and the bar refilled
  kPopupOut,    // the pop-up fades out
  kNext,        // the next question, or the end of the run
  kBetween,     // one second between questions
};

// Before the first question: "START !!" is shown.
constexpr bool IsStarting(Phase phase) { return phase <= Phase::kCountdown; }
// The prompt of the current question is on the screen.
constexpr bool IsPromptShown(Phase phase) {
  return phase >= Phase::kAnswering && phase <= Phase::kPopupOut;
}
// The answer line takes the player's answer.
constexpr bool IsAnswerLineOpen(Phase phase) { return phase == Phase::kAnswering; }
// The question has been answered and its pop-up is coming, shown or going.
constexpr bool IsAnswered(Phase phase) {
  return phase >= Phase::kPopupIn && phase <= Phase::kPopupOut;
}
// A question has been put in this run's current round (the set-up or later).
constexpr bool IsQuestionPut(Phase phase) { return phase >= Phase::kSetUp; }

}  // namespace verselane
