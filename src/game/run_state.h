// Where a run stands between ticks: the phase of the current question and what it showed and
// booked. The phase steps and the screen animation both move it.
#pragma once

#include <string_view>

#include "base/shift_jis.h"
#include "game/answer_check.h"

namespace verselane {

// The GamePhase of a run; the numbers are ordered, and the screen tests ranges of them.
enum GamePhase : int {
  kPhaseStart = 0,        // the interval clock starts for the first wait
  kPhaseFirstWait = 1,    // one second before the countdown
  kPhaseCountdown = 2,    // "START !!" fades in
  kPhaseSetUp = 3,        // a question is picked and the answer line shown
  kPhaseAnswering = 4,    // the prompt is revealed and the time bar runs down
  kPhasePopupIn = 5,      // the score pop-up fades in
  kPhaseReview = 6,       // a wrong answer waits for Enter
  kPhaseClearDown = 7,    // the prompt is cleared and the bar refilled
  kPhasePopupOut = 8,     // the pop-up fades out
  kPhaseNext = 9,         // the next question, or the end of the run
  kPhaseBetween = 10,     // one second between questions
};

struct RunState {
  int phase = kPhaseSetUp;
  bool lastResult = false;  // whether the last answer was correct
  QuestionState question;   // poem, time, favourite state and points of the current question
  std::string_view prompt;  // the reading shown as the question (a view into the catalogue)
  int revealLimit = 0;      // how many kana of the prompt may be revealed while answering

  int promptCells() const { return static_cast<int>(CellCount(prompt)); }
};

}  // namespace verselane
