// Judging the typed answer of the current question and booking its outcome.
#pragma once

#include <cstddef>
#include <string>

#include "game/run.h"

namespace verselane {

class AnswerBoxPort;
class PoemCatalogue;
class Settings;
class SoundPort;
enum class SoundId : int;

// At most this many bytes of the answer line are judged.
inline constexpr std::size_t kAnswerMaxBytes = 49;

// What an answer earned, for the score pop-up.
struct AnswerOutcome {
  // False when the answer was not judged: its letters make no kana. Nothing was booked then, and
  // the rest of the outcome is empty.
  bool judged = true;
  bool correct = false;
  FavouriteState favourite = FavouriteState::None;
  int points = 0;  // points booked (tripled for the favourite); 0 when nothing was booked
  // The answer as judged (its letters read as romaji), and how many of its bytes agreed with the
  // reading before judging stopped: a miss shows the player where the answer went wrong.
  std::string typed;
  std::size_t agreedBytes = 0;
  // Where the answer left what it was typed in: the phrase as written when it holds kanji, else
  // the reading; the bytes of that text it agreed with.
  bool againstWritten = false;
  std::size_t expectedAgreedBytes = 0;
};

class AnswerChecker {
 public:
  AnswerChecker(const PoemCatalogue& catalogue, AnswerBoxPort& answerBox, SoundPort& sound)
      : catalogue_(catalogue), answerBox_(answerBox), sound_(sound) {}

  // Reads and judges the answer to `poem`, answered after `seconds` on the question's clock,
  // against the phrase the settings' mode asks for, and books it: the tallies, the wrong
  // answers, the sound and the points. Latin letters in the answer are read as romaji first;
  // when they make no kana the answer is not judged and nothing is booked.
  AnswerOutcome CheckAnswer(int poem, int seconds, const Settings& settings, Tallies& tallies,
                            RetryList& wrong);

 private:
  void Play(SoundId sound, const Settings& settings);

  const PoemCatalogue& catalogue_;
  AnswerBoxPort& answerBox_;
  SoundPort& sound_;
};

}  // namespace verselane
