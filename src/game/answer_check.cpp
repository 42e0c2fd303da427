#include "game/answer_check.h"

#include <optional>
#include <string>
#include <utility>

#include "base/romaji_input.h"
#include "base/shift_jis.h"
#include "catalogue/phrase_match.h"
#include "game/desktop_ports.h"
#include "settings/settings.h"

namespace verselane {
namespace {

// Letters are read before the answer is cut, since romaji takes two or three letters a kana.
// Never cut inside a double-byte character: a right answer followed by more text than fits
// would otherwise end in half a character and be refused as odd.
std::optional<std::string> ReadAnswer(AnswerBoxPort& answerBox) {
  std::optional<std::string> typed = ReadRomajiAnswer(answerBox.ReadText());
  if (typed) typed->resize(SjisPrefixLength(*typed, kAnswerMaxBytes));
  return typed;
}

bool IsCorrect(const PhraseMatch& match, const PhraseRows& rows, bool acceptOmission) {
  if (match.end == MatchEnd::kComplete) return true;
  return acceptOmission && match.AcceptedFrom(static_cast<std::size_t>(rows.kimarijiBytes));
}

}  // namespace

AnswerOutcome AnswerChecker::CheckAnswer(int poem, int seconds, const Settings& settings,
                                         Tallies& tallies, RetryList& wrong) {
  AnswerOutcome outcome;
  std::optional<std::string> typed = ReadAnswer(answerBox_);
  if (!typed) {
    outcome.judged = false;
    return outcome;
  }
  outcome.typed = std::move(*typed);
  ++tallies.asked;
  const Phrase phrase = settings.mode() == QuestionMode::Reverse ? Phrase::kUpper : Phrase::kLower;
  const PhraseRows rows = LoadPhraseRows(catalogue_, poem, phrase);
  // A half-width character never equals a cell, so judging stops at the first one.
  const PhraseMatch match = MatchPhrase(outcome.typed, rows);
  outcome.agreedBytes = match.typedBytes;
  outcome.againstWritten = HoldsKanji(outcome.typed);
  outcome.expectedAgreedBytes =
      outcome.againstWritten
          ? WrittenBytesWithin(WrittenPhrase(catalogue_, poem, phrase), rows, match.readingBytes)
          : match.readingBytes;
  // Half-width characters take one byte: such an answer is wrong without a sound or a booking,
  // but the poem was missed all the same and belongs among the poems to practise again.
  if (outcome.typed.size() % 2 != 0) {
    wrong.Append(poem);
    return outcome;
  }

  outcome.correct = IsCorrect(match, rows, settings.acceptOmission());
  const bool favourite = poem == settings.favouritePoem();

  if (outcome.correct) {
    outcome.favourite = favourite ? FavouriteState::Hit : FavouriteState::None;
    Play(favourite ? SoundId::kFavouriteHit : SoundId::kCorrect, settings);
  } else {
    wrong.Append(poem);
    if (!favourite) {
      Play(SoundId::kWrong, settings);
      return outcome;
    }
    outcome.favourite = FavouriteState::Missed;
    Play(SoundId::kFavouriteMissed, settings);
  }

  const Booking booking = BookAnswer(outcome.favourite, seconds, tallies.score);
  tallies.score = booking.score;
  outcome.points = booking.points;
  if (outcome.correct) ++tallies.correct;
  return outcome;
}

void AnswerChecker::Play(SoundId sound, const Settings& settings) {
  if (settings.playSounds()) sound_.Play(sound);
}

}  // namespace verselane
