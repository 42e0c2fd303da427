#include "game/answer_check.h"

#include <string>

#include "catalogue/phrase_match.h"
#include "base/shift_jis.h"
#include "game/desktop_ports.h"
#include "settings/environment.h"

namespace verselane {
namespace {

// Never cut inside a double-byte character: a right answer followed by more text than fits
// would otherwise end in half a character and be refused as odd.
std::string ReadAnswer(AnswerBoxPort& answerBox) {
  std::string typed = answerBox.ReadText();
  typed.resize(SjisPrefixLength(typed, kAnswerMaxBytes));
  return typed;
}

bool IsCorrect(const std::string& typed, const PhraseRows& rows, bool acceptOmission) {
  const PhraseMatch match = MatchPhrase(typed, rows);
  if (match.end == MatchEnd::kComplete) return true;
  return acceptOmission && match.AcceptedFrom(static_cast<std::size_t>(rows.kimarijiBytes));
}

}  // namespace

bool AnswerChecker::CheckAnswer(QuestionState& question) {
  const std::string typed = ReadAnswer(answerBox_);
  environment_.SetAskedCount(environment_.askedCount() + 1);
  // Half-width characters take one byte: such an answer is wrong without a sound or a booking,
  // but the poem was missed all the same and belongs among the poems to practise again.
  if (typed.size() % 2 != 0) {
    environment_.retryList().Append(question.poem);
    return false;
  }

  const Settings& settings = environment_.settings();
  const Phrase phrase = settings.mode() == QuestionMode::Reverse ? Phrase::kUpper : Phrase::kLower;
  const PhraseRows rows = LoadPhraseRows(environment_.catalogue(), question.poem, phrase);
  const bool correct = IsCorrect(typed, rows, settings.acceptOmission());
  const bool favourite = question.poem == settings.favouritePoem();

  if (correct) {
    question.favourite = favourite ? FavouriteState::Hit : FavouriteState::None;
    Play(favourite ? SoundId::kFavouriteHit : SoundId::kCorrect);
  } else {
    environment_.retryList().Append(question.poem);
    if (!favourite) {
      question.favourite = FavouriteState::None;
      Play(SoundId::kWrong);
      return false;
    }
    question.favourite = FavouriteState::Missed;
    Play(SoundId::kFavouriteMissed);
  }

  const Booking booking = BookAnswer(question.favourite, question.seconds, environment_.score());
  environment_.SetScore(booking.score);
  question.points = booking.points;
  question.time = SplitSeconds(question.seconds);
  if (correct) environment_.SetCorrectCount(environment_.correctCount() + 1);
  return correct;
}

void AnswerChecker::Play(SoundId sound) {
  if (environment_.settings().playSounds()) sound_.Play(sound);
}

}  // namespace verselane
