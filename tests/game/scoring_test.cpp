#include "game/scoring.h"

#include <gtest/gtest.h>

#include <set>

#include "base/shift_jis.h"
#include "game/comments.h"

namespace verselane {
namespace {

TEST(PointsForAnswer, FallFromTheGraceTimeToTheFloor) {
  const int expected[26] = {1000, 1000, 1000, 1000, 1000, 1000, 933, 866, 800, 733, 666, 600, 533,
                            466,  400,  333,  266,  200,  133,  66,  10,  10,  10,  10,  10,  10};
  for (int seconds = 0; seconds <= 25; ++seconds) {
    EXPECT_EQ(PointsForAnswer(seconds), expected[seconds]) << seconds << " s";
  }
  EXPECT_EQ(PointsForAnswer(3600), 10);
}

TEST(BookAnswer, FavouriteCountsThreeTimesForBetterOrWorse) {
  Booking plain = BookAnswer(FavouriteState::None, 6, 500);
  EXPECT_EQ(plain.points, 933);
  EXPECT_EQ(plain.score, 1433);
  Booking hit = BookAnswer(FavouriteState::Hit, 7, 0);
  EXPECT_EQ(hit.points, 2598);
  EXPECT_EQ(hit.score, 2598);
  Booking missed = BookAnswer(FavouriteState::Missed, 7, 5000);
  EXPECT_EQ(missed.points, 2598);
  EXPECT_EQ(missed.score, 2402);
  EXPECT_EQ(BookAnswer(FavouriteState::Missed, 7, 1000).score, 0);  // never below 0
}

TEST(SplitSeconds, HoursMinutesSeconds) {
  TimeSplit t = SplitSeconds(3725);
  EXPECT_EQ(t.hours, 1);
  EXPECT_EQ(t.minutes, 2);
  EXPECT_EQ(t.seconds, 5);
  t = SplitSeconds(59);
  EXPECT_EQ(t.hours * 3600 + t.minutes * 60 + t.seconds, 59);
  EXPECT_EQ(SplitSeconds(3600).minutes, 0);
}

TEST(FormatClockTime, TwoDigitsEachHoursRunningPastThem) {
  EXPECT_EQ(FormatClockTime(0), "00:00:00");
  EXPECT_EQ(FormatClockTime(3725), "01:02:05");
  EXPECT_EQ(FormatClockTime(360000), "100:00:00");
}

TEST(CorrectRate, DoublePrecisionTruncated) {
  EXPECT_EQ(CorrectRate(29, 100), 28);  // 0.29 × 100 is 28.999… in double precision
  EXPECT_EQ(CorrectRate(2, 3), 66);
  EXPECT_EQ(CorrectRate(10, 10), 100);
  EXPECT_EQ(CorrectRate(0, 10), 0);
  EXPECT_EQ(CorrectRate(0, 0), 0);
}

struct BandCase {
  int score;
  int character;
};

TEST(SelectComment, CharacterByScoreBand) {
  const BandCase cases[] = {{0, 0},      {14999, 0}, {15000, 1}, {29999, 1}, {30000, 2},
                            {44999, 2},  {45000, 3}, {59999, 3}, {60000, 4}, {74999, 4},
                            {75000, 5},  {89999, 5}, {90000, 6}, {102000, 6}};
  for (const BandCase& c : cases) {
    EXPECT_EQ(SelectComment(c.score, 0, 100).character, c.character) << c.score;
  }
}

TEST(SelectComment, LevelsWithinABand) {
  // Character 1: top 29999, step 3000.
  EXPECT_EQ(SelectComment(29999, 0, 100).level, 4);
  EXPECT_EQ(SelectComment(27000, 0, 100).level, 4);
  EXPECT_EQ(SelectComment(26999, 0, 100).level, 3);
  EXPECT_EQ(SelectComment(24000, 0, 100).level, 3);
  EXPECT_EQ(SelectComment(23999, 0, 100).level, 2);
  EXPECT_EQ(SelectComment(20999, 0, 100).level, 1);
  EXPECT_EQ(SelectComment(17999, 0, 100).level, 0);
}

TEST(SelectComment, TheLastCharacterPraisesOnlyAPerfectRun) {
  CommentChoice hundred = SelectComment(100000, 100, 100);
  EXPECT_EQ(hundred.character, 6);
  EXPECT_EQ(hundred.level, 3);
  EXPECT_EQ(hundred.text, SjisLiteral("あとちょい。"));
  CommentChoice perfect = SelectComment(102000, 100, 100);
  EXPECT_EQ(perfect.level, 4);
  EXPECT_EQ(perfect.text, SjisLiteral("お見事！"));
}

TEST(SelectComment, CorrectRateLiftsALowScore) {
  CommentChoice none = SelectComment(0, 0, 10);
  EXPECT_EQ(none.character, 0);
  EXPECT_EQ(none.level, 0);
  EXPECT_EQ(none.text, SjisLiteral("調子悪いな。\r\n飯ちゃんと食ってるかい。"));
  // 6000 is not above 14999 − 3 × 2999 = 6002 but above 14999 − 4 × 2999 = 3003.
  EXPECT_EQ(SelectComment(6000, 7, 10).level, 2);
  EXPECT_EQ(SelectComment(6000, 6, 10).level, 1);
  EXPECT_EQ(SelectComment(6003, 0, 10).level, 2);  // the edges themselves
  EXPECT_EQ(SelectComment(6002, 0, 10).level, 1);
  EXPECT_EQ(SelectComment(3004, 0, 10).level, 1);
  EXPECT_EQ(SelectComment(3003, 0, 10).level, 0);
  // 3000 is not above 3003.
  EXPECT_EQ(SelectComment(3000, 7, 10).level, 2);
  EXPECT_EQ(SelectComment(3000, 6, 10).level, 1);
  EXPECT_EQ(SelectComment(3000, 5, 10).level, 1);
  EXPECT_EQ(SelectComment(3000, 4, 10).level, 0);
  // The rate counts only for runs of at least 10 (level 2) or 2 (level 1) questions.
  EXPECT_EQ(SelectComment(3000, 9, 9).level, 1);
  EXPECT_EQ(SelectComment(3000, 1, 1).level, 0);
  EXPECT_EQ(SelectComment(3000, 1, 2).level, 1);
}

TEST(GetComment, TextsAreExactShiftJisBytes) {
  std::string text;
  GetComment(0, 1, text);
  EXPECT_EQ(text.substr(0, 3), "\xA5\xA5\xA5");  // half-width middle dots, one byte each
  EXPECT_EQ(text, SjisLiteral("･･･懲りずまた戻ってきな。\r\n鮭みたいによ。"));
  EXPECT_NE(text.find("\r\n"), std::string::npos);
  GetComment(5, 0, text);
  EXPECT_EQ(text, SjisLiteral("なるようになる") + "\r\n" + "\x81\x40" + SjisLiteral("心配するな"));
  GetComment(6, 0, text);
  EXPECT_EQ(text, "Zzzz\xA5\xA5\xA5\xA5");
  GetComment(3, 4, text);
  EXPECT_EQ(text, SjisLiteral("もう立派な1人前や。\r\nけど、商いの道はまだこれからやで。"));
  GetComment(0, 2, text);
  EXPECT_EQ(text, SjisLiteral("ふむ。\r\nまだこれじゃカツオは釣れめぇが…。"));
}

TEST(GetComment, ThirtyFiveDistinctCommentsAndNothingOutsideTheTable) {
  std::set<std::string> seen;
  for (int character = 0; character < 7; ++character) {
    for (int level = 0; level < 5; ++level) {
      std::string text;
      GetComment(character, level, text);
      EXPECT_TRUE(SjisToUtf8(text).ok());
      seen.insert(text);
    }
  }
  EXPECT_EQ(seen.size(), 35u);
  for (auto [character, level] : {std::pair{-1, 0}, {7, 0}, {0, -1}, {0, 5}}) {
    std::string text = "kept";
    GetComment(character, level, text);
    EXPECT_EQ(text, "kept");
  }
}

}  // namespace
}  // namespace verselane
