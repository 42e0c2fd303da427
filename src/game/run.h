// One run of questions, from START to its results: the poems still to ask, the tallies, the
// wrong answers and the question in hand. The game controller owns it; everything else reads it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "base/shift_jis.h"
#include "game/phase.h"
#include "game/recitation.h"
#include "game/retry_list.h"
#include "game/scoring.h"
#include "game/study_queue.h"

namespace verselane {

// The question being answered and what its answer booked, for the score pop-up.
struct QuestionState {
  int poem = 0;                 // poem index asked
  int seconds = 0;              // whole seconds on the question's clock at Enter
  FavouriteState favourite = FavouriteState::None;
  int points = 0;               // points booked by the answer (tripled for the favourite)
  TimeSplit time;               // the question's time, split for display
  // When each cell of the prompt is heard, in milliseconds from the set-up, while the reader's
  // voice speaks it; empty: the prompt is revealed one kana a second.
  std::vector<int> cellStartMs;
  bool textHidden = false;      // the prompt is only heard until the question is answered
  std::string answer;           // the answer as judged (CP932)
  std::size_t answerAgreed = 0; // its bytes that agreed with the reading before judging stopped
  // What the answer was typed in: the phrase as written (it holds kanji) or the reading; and the
  // bytes of that text it agreed with.
  bool answerAgainstWritten = false;
  std::size_t expectedAgreed = 0;
  // Enter gave an answer whose letters make no kana: it was not judged, and the screen says how
  // to type kana until the question is answered.
  bool kanaAsked = false;
};

// What the run's answers booked so far.
struct Tallies {
  int score = 0;  // never below 0: a penalty larger than the score leaves 0
  int correct = 0;
  int asked = 0;
};

struct RunState {
  Phase phase = Phase::kStart;
  // The questions this run asks at most: the settings' count, or the number of poems put in
  // (a retry or weak-poems run).
  int questionCount = 0;
  // The first (size − asked) poems are those not asked yet.
  std::vector<int> pool;
  // The poems in the order the run asks them: today's plan in its order, or a recited run's,
  // drawn at its start so that their recitations can be made ready ahead; empty: each question
  // draws its poem from the pool.
  std::vector<int> order;
  // The phrase read outside a question (of the opening poem, or of a poem met), and how long it
  // lasts.
  RecitedPart readPart = RecitedPart::kUpper;
  int readMs = 0;
  // Today's plan, step by step: poems met before they are asked, misses asked again. Inactive in
  // any other run.
  StudyQueue study;
  // The poem whose card is shown, while one is (-1 otherwise), and whether the player has closed
  // it.
  int meetingPoem = -1;
  bool meetingClosed = false;
  Tallies tallies;
  RetryList wrong;           // the poems answered wrongly, each once
  bool retry = false;        // the run asks poems put in: the misses of the run before, or the
                             // weakest of the history, today's plan
  bool lastResult = false;   // whether the last answer was correct
  QuestionState question;    // poem, time, favourite state and points of the current question
  std::string_view prompt;   // the reading shown as the question (a view into the catalogue)
  int revealLimit = 0;       // how many kana of the prompt may be revealed while answering

  int promptCells() const { return static_cast<int>(CellCount(prompt)); }
  int remainingPoems() const { return static_cast<int>(pool.size()) - tallies.asked; }
};

}  // namespace verselane
