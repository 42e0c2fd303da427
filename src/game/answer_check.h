// Judging the typed answer of the current question and booking its outcome.
#pragma once

#include <cstddef>

#include "game/scoring.h"
#include "settings/types.h"

namespace verselane {

class AnswerBoxPort;
class Environment;
class SoundPort;
enum class SoundId : int;

// At most this many bytes of the answer line are judged.
inline constexpr std::size_t kAnswerMaxBytes = 49;

// The question being answered and what its answer booked, for the score pop-up.
struct QuestionState {
  int poem = 0;                 // poem index asked
  int seconds = 0;              // whole seconds on the question's clock at Enter
  FavouriteState favourite = FavouriteState::None;
  int points = 0;               // points booked by the answer (tripled for the favourite)
  TimeSplit time;               // the question's time, split for display
};

class AnswerChecker {
 public:
  AnswerChecker(Environment& environment, AnswerBoxPort& answerBox, SoundPort& sound)
      : environment_(environment), answerBox_(answerBox), sound_(sound) {}

  // Reads and judges the answer to `question` against the phrase its mode asks for, and books
  // the outcome: the asked and correct counters, the wrong-answer log, the favourite state, the
  // sound, the points. Returns true when the answer is correct.
  bool CheckAnswer(QuestionState& question);

 private:
  void Play(SoundId sound);

  Environment& environment_;
  AnswerBoxPort& answerBox_;
  SoundPort& sound_;
};

}  // namespace verselane
