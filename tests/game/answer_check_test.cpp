#include "game/answer_check.h"

#include <gtest/gtest.h>

#include "catalogue/phrase_match.h"
#include "base/shift_jis.h"
#include "fakes/desktop_fakes.h"
#include "catalogue/poem_catalogue.h"
#include "settings/settings.h"

namespace verselane {
namespace {

class AnswerCheckTest : public ::testing::Test {
 protected:
  AnswerCheckTest() { settings.SetFavouritePoem(28); }

  // Judges `typedUtf8` as the answer to poem number `poemNumber` after `seconds`.
  bool Answer(int poemNumber, std::string_view typedUtf8, int seconds = 3) {
    return AnswerBytes(poemNumber, SjisLiteral(typedUtf8), seconds);
  }
  bool AnswerBytes(int poemNumber, std::string_view typed, int seconds = 3) {
    box.text = std::string(typed);
    question = QuestionState{};
    question.poem = poemNumber - 1;
    question.seconds = seconds;
    outcome = checker.CheckAnswer(question.poem, seconds, settings, tallies, wrong);
    return outcome.correct;
  }
  void SetMode(QuestionMode mode) { settings.SetMode(mode); }

  const PoemCatalogue catalogue;
  Settings settings;
  Tallies tallies;
  RetryList wrong;
  FakeAnswerBox box;
  FakeSound sound;
  AnswerChecker checker{catalogue, box, sound};
  QuestionState question;
  AnswerOutcome outcome;
};

TEST_F(AnswerCheckTest, CorrectAnswerBooksPointsAndPlaysTheCorrectSound) {
  EXPECT_TRUE(Answer(1, "わがころもではつゆにぬれつつ", 6));
  EXPECT_EQ(sound.played, std::vector<SoundId>{SoundId::kCorrect});
  EXPECT_EQ(tallies.asked, 1);
  EXPECT_EQ(tallies.correct, 1);
  EXPECT_EQ(tallies.score, 933);
  EXPECT_EQ(outcome.points, 933);
  EXPECT_EQ(outcome.favourite, FavouriteState::None);
  EXPECT_EQ(wrong.count(), 0);
}

TEST_F(AnswerCheckTest, NormalModeAcceptsKanjiVariantsAndTrailingText) {
  EXPECT_TRUE(Answer(1, "我が衣手は露にぬれつつ"));
  EXPECT_TRUE(Answer(1, "わかころもてはつゆにぬれつつ"));
  EXPECT_TRUE(Answer(1, "わがころもではつゆにぬれつつです"));
  EXPECT_FALSE(Answer(1, "わがころもではつゆにぬれつ"));
  EXPECT_EQ(tallies.correct, 3);
  EXPECT_EQ(tallies.asked, 4);
}

TEST_F(AnswerCheckTest, OmissionAcceptsAnAnswerFromTheKimarijiOn) {
  EXPECT_FALSE(Answer(1, "わがころもでは"));
  EXPECT_FALSE(Answer(1, "わがころもで"));
  settings.SetAcceptOmission(true);
  EXPECT_TRUE(Answer(1, "わがころもでは"));
  EXPECT_FALSE(Answer(1, "わがころもで"));
  EXPECT_FALSE(Answer(1, ""));
}

TEST_F(AnswerCheckTest, EachModeExpectsItsPhrase) {
  SetMode(QuestionMode::Reverse);
  EXPECT_TRUE(Answer(100, "ももしきやふるきのきばのしのぶにも"));
  EXPECT_TRUE(Answer(100, "百敷や古き軒場の偲ぶにも"));
  EXPECT_FALSE(Answer(100, "なおあまりあるむかしなりけり"));
  SetMode(QuestionMode::Poet);
  EXPECT_TRUE(Answer(1, "わがころもではつゆにぬれつつ"));
  EXPECT_FALSE(Answer(1, "あきのたのかりほのいおのとまをあらみ"));
}

TEST_F(AnswerCheckTest, OddLengthIsWrongSilentAndUnbookedButLoggedAsMissed) {
  // Even the favourite: it is not booked as a missed favourite. (Letters are read as romaji.)
  EXPECT_FALSE(AnswerBytes(29, "1"));
  EXPECT_EQ(outcome.favourite, FavouriteState::None);
  EXPECT_EQ(outcome.points, 0);
  EXPECT_TRUE(sound.played.empty());
  EXPECT_EQ(wrong.CopyEntries(), std::vector<int>{28});
  EXPECT_EQ(tallies.asked, 1);
  EXPECT_EQ(tallies.score, 0);
  // One half-width character ahead of a right answer makes it odd too.
  EXPECT_FALSE(AnswerBytes(1, "1" + SjisLiteral("わがころもではつゆにぬれつつ")));
}

TEST_F(AnswerCheckTest, WrongAnswerIsLoggedAndBooksNothing) {
  tallies.score = 500;
  EXPECT_FALSE(Answer(5, "ちがう"));
  EXPECT_EQ(sound.played, std::vector<SoundId>{SoundId::kWrong});
  EXPECT_EQ(wrong.CopyEntries(), std::vector<int>{4});
  EXPECT_EQ(tallies.score, 500);
  EXPECT_EQ(outcome.points, 0);
  EXPECT_EQ(outcome.favourite, FavouriteState::None);
}

TEST_F(AnswerCheckTest, FavouriteCountsThreeTimes) {
  EXPECT_TRUE(Answer(29, "おきまどわせるしらぎくのはな", 7));
  EXPECT_EQ(outcome.favourite, FavouriteState::Hit);
  EXPECT_EQ(outcome.points, 2598);
  EXPECT_EQ(tallies.score, 2598);
  tallies.score = 1000;
  EXPECT_FALSE(Answer(29, "おきまど", 7));
  EXPECT_EQ(outcome.favourite, FavouriteState::Missed);
  EXPECT_EQ(outcome.points, 2598);
  EXPECT_EQ(tallies.score, 0);
  EXPECT_EQ(wrong.CopyEntries(), std::vector<int>{28});
  EXPECT_EQ(sound.played, (std::vector<SoundId>{SoundId::kFavouriteHit, SoundId::kFavouriteMissed}));
  EXPECT_EQ(tallies.correct, 1);
}

TEST_F(AnswerCheckTest, SoundsOffPlaysNothingButJudgesTheSame) {
  settings.SetPlaySounds(false);
  EXPECT_TRUE(Answer(29, "おきまどわせるしらぎくのはな"));
  EXPECT_FALSE(Answer(1, "ちがう"));
  EXPECT_TRUE(sound.played.empty());
  EXPECT_EQ(tallies.score, 3000);
}

TEST_F(AnswerCheckTest, LongAnswerIsCutWithoutSplittingACharacter) {
  // 28 bytes of answer and 22 of chatter: a cut at 49 bytes would leave half a kana and an odd
  // length; the cut at 48 keeps the answer right.
  EXPECT_TRUE(Answer(1, "わがころもではつゆにぬれつつあいうえおかきくけこさ"));
  // The longest reading, 38 bytes, followed by more text.
  SetMode(QuestionMode::Reverse);
  EXPECT_TRUE(Answer(4, "たごのうらにうちいでてみればしろたえのふじのたかね"));
}

// Every poem, every mode: what the mode expects is accepted as read, as written and (with the
// omission option) from its kimariji on; a wrong last kana or one kana short of the kimariji is not.
TEST_F(AnswerCheckTest, EveryPoemInEveryMode) {
  for (QuestionMode mode : {QuestionMode::Normal, QuestionMode::Reverse, QuestionMode::Poet}) {
    SetMode(mode);
    const Phrase phrase = mode == QuestionMode::Reverse ? Phrase::kUpper : Phrase::kLower;
    for (int poem = 0; poem < 100; ++poem) {
      SCOPED_TRACE("mode " + std::to_string(static_cast<int>(mode)) + " poem " +
                   std::to_string(poem + 1));
      const PhraseRows rows = LoadPhraseRows(catalogue, poem, phrase);
      const std::string_view reading = rows.reading();
      const std::size_t k = static_cast<std::size_t>(rows.kimarijiBytes);
      settings.SetAcceptOmission(false);
      EXPECT_TRUE(AnswerBytes(poem + 1, reading));
      std::string wrongEnd = std::string(reading.substr(0, reading.size() - 2)) + SjisLiteral("ぁ");
      EXPECT_FALSE(AnswerBytes(poem + 1, wrongEnd));
      EXPECT_FALSE(AnswerBytes(poem + 1, reading.substr(0, k)));

      // The phrase as the poem is written, which the two phrases make up whole.
      const std::string_view written = WrittenPhrase(catalogue, poem, phrase);
      EXPECT_TRUE(AnswerBytes(poem + 1, written));
      EXPECT_EQ(std::string(WrittenPhrase(catalogue, poem, Phrase::kUpper)) +
                    std::string(WrittenPhrase(catalogue, poem, Phrase::kLower)),
                catalogue.FieldView(poem, kFullText));

      settings.SetAcceptOmission(true);
      EXPECT_TRUE(AnswerBytes(poem + 1, reading.substr(0, k)));
      EXPECT_FALSE(AnswerBytes(poem + 1, reading.substr(0, k - 2)));
    }
  }
}

}  // namespace
}  // namespace verselane
