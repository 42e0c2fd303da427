// The memory of a poem after replaying the player's answers, checked against values worked out by
// hand from the published FSRS-6 equations and default weights:
//
//   w0..w3 = 0.212 1.2931 2.3065 8.2956 (first stability of Again, Hard, Good, Easy)
//   w4..w7 = 6.4133 0.8334 3.0194 0.001, w8..w10 = 1.8722 0.1666 0.796,
//   w11..w14 = 1.4835 0.0614 0.2629 1.6483, w15 = 0.6014 (Hard), w16 = 1.8729 (Easy),
//   w17, w18 = 0.5425 0.0912, w20 = 0.1542 (the decay)
//
//   R(t, S)   = (1 + F·t/S)^(−w20) with F = 0.9^(−1/w20) − 1 = 0.980346
//   D0(G)     = w4 − e^(w5·(G−1)) + 1, within 1..10
//   D'        = w7·D0(Easy) + (1 − w7)·(D − w6·(G−3)·(10−D)/9), within 1..10, D0(Easy) = −4.771631
//   S' right  = S·(1 + e^w8·(11−D)·S^(−w9)·(e^(w10·(1−R)) − 1)·[w15 Hard]·[w16 Easy])
//   S' lapse  = min(w11·D^(−w12)·((S+1)^w13 − 1)·e^(w14·(1−R)), S / e^(w17·w18))
#include "game/memory_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace verselane {
namespace {

const Day kStart = *DayOf("2027-01-10");

AnswerRecord Answer(int poem, int day, bool correct, int milliseconds = 8000,
                    const char* clock = " 08:00:00", QuestionMode mode = QuestionMode::Normal) {
  AnswerRecord answer;
  answer.poem = poem;
  answer.mode = mode;
  answer.correct = correct;
  answer.milliseconds = milliseconds;
  answer.localTime = DateText(kStart + day) + clock;
  return answer;
}

MemoryState MemoryAfter(const std::vector<AnswerRecord>& answers, int poem = 0) {
  const std::vector<std::optional<MemoryState>> memory = ReplayAnswers(answers);
  EXPECT_TRUE(memory.at(poem).has_value());
  return memory.at(poem).value_or(MemoryState{});
}

TEST(MemoryModelTest, RightThenRightThreeDaysLater) {
  // First Good: S0 = w2 = 2.3065; D0 = 6.4133 − e^1.6668 + 1 = 6.4133 − 5.295196 + 1 = 2.118104.
  const MemoryState first = MemoryAfter({Answer(0, 0, true)});
  EXPECT_DOUBLE_EQ(first.stability, 2.3065);
  EXPECT_NEAR(first.difficulty, 2.118104, 1e-6);
  // Three days on: R = (1 + 0.980346·3/2.3065)^(−0.1542) = 2.275109^(−0.1542) = 0.880948.
  EXPECT_NEAR(Retrievability(3, first.stability), 0.880948, 1e-6);
  // Good again: e^w8 = 6.502586, S^(−w9) = 0.870025, e^(0.796·0.119052) − 1 = 0.099401;
  // growth = 6.502586 · (11 − 2.118104) · 0.870025 · 0.099401 = 4.994756;
  // S' = 2.3065 · 5.994756 = 13.826904. D' = 0.001·(−4.771631) + 0.999·2.118104 = 2.111214.
  const MemoryState second = MemoryAfter({Answer(0, 0, true), Answer(0, 3, true)});
  EXPECT_NEAR(second.stability, 13.826904, 1e-5);
  EXPECT_NEAR(second.difficulty, 2.111214, 1e-6);
  EXPECT_EQ(second.firstReview, kStart);
  EXPECT_EQ(second.lastReview, kStart + 3);
}

TEST(MemoryModelTest, WrongThenRightTheNextDay) {
  // First Again: S0 = w0 = 0.212; D0 = 6.4133 − e^0 + 1 = 6.4133.
  // A day on: R = (1 + 0.980346/0.212)^(−0.1542) = 5.624276^(−0.1542) = 0.766196.
  // Good: S^(−w9) = 1.294889, e^(0.796·0.233804) − 1 = 0.204553;
  // growth = 6.502586 · 4.5867 · 1.294889 · 0.204553 = 7.899942; S' = 0.212 · 8.899942 = 1.886788.
  // D' = 0.001·(−4.771631) + 0.999·6.4133 = 6.402115.
  const MemoryState memory = MemoryAfter({Answer(0, 0, false), Answer(0, 1, true)});
  EXPECT_NEAR(memory.stability, 1.886788, 1e-6);
  EXPECT_NEAR(memory.difficulty, 6.402115, 1e-6);
}

TEST(MemoryModelTest, ForgettingRestartsTheMemoryNeverAboveItsCap) {
  // Good, then wrong ten days later: R = 5.250364^(−0.1542) = 0.774367.
  // Relearnt: 1.4835 · 2.118104^(−0.0614) · (3.3065^0.2629 − 1) · e^(1.6483·0.225633)
  //         = 1.4835 · 0.954964 · 0.369437 · 1.450504 = 0.759160, below the cap 2.3065/1.050720.
  // D: 2.118104 + 6.0388·7.881896/9 = 7.406681, then 0.001·(−4.771631) + 0.999·7.406681 = 7.394503.
  const MemoryState lapsed = MemoryAfter({Answer(0, 0, true), Answer(0, 10, false)});
  EXPECT_NEAR(lapsed.stability, 0.759160, 1e-6);
  EXPECT_NEAR(lapsed.difficulty, 7.394503, 1e-6);
  // Wrong, then wrong again a year later: R = 0.317911, and the relearnt stability
  // 1.4835 · 6.4133^(−0.0614) · (1.212^0.2629 − 1) · e^(1.6483·0.682089) = 0.211219 would exceed
  // the cap S/e^(w17·w18) = 0.212/1.050720 = 0.201766, which it takes.
  const MemoryState capped = MemoryAfter({Answer(0, 0, false), Answer(0, 365, false)});
  EXPECT_NEAR(capped.stability, 0.201766, 1e-6);
}

TEST(MemoryModelTest, SlowAnswersGrowLessAndQuickOnesMore) {
  // Ten right answers of other poems at 8 s make the player's median; 5.9 s is under 3/4 of it.
  std::vector<AnswerRecord> answers;
  for (int poem = 1; poem <= 10; ++poem) answers.push_back(Answer(poem, 0, true, 8000));
  answers.push_back(Answer(0, 0, true, 8000));
  // Three days after a first Good (growth 4.994756 as above):
  // Hard (past the 15 s bar):  S' = 2.3065 · (1 + 4.994756·0.6014) = 9.234871,
  //                            D' = 0.001·(−4.771631) + 0.999·(2.118104 + 3.0194·7.881896/9)
  //                            = 4.752858;
  // Easy (quick):              S' = 2.3065 · (1 + 4.994756·1.8729) = 23.883064, D' held at 1.
  std::vector<AnswerRecord> slow = answers;
  slow.push_back(Answer(0, 3, true, 15001));
  EXPECT_NEAR(MemoryAfter(slow).stability, 9.234871, 1e-5);
  EXPECT_NEAR(MemoryAfter(slow).difficulty, 4.752858, 1e-6);
  std::vector<AnswerRecord> quick = answers;
  quick.push_back(Answer(0, 3, true, 5900));
  EXPECT_NEAR(MemoryAfter(quick).stability, 23.883064, 1e-5);
  EXPECT_DOUBLE_EQ(MemoryAfter(quick).difficulty, 1.0);
  // A right answer at the bar's very end is still in time.
  std::vector<AnswerRecord> atTheBar = answers;
  atTheBar.push_back(Answer(0, 3, true, 15000));
  EXPECT_NEAR(MemoryAfter(atTheBar).stability, 13.826904, 1e-5);
}

TEST(MemoryModelTest, QuickIsMeasuredAgainstEnoughRightAnswersOfTheSameMode) {
  std::vector<AnswerRecord> answers;
  for (int poem = 1; poem <= 9; ++poem) answers.push_back(Answer(poem, 0, true, 8000));
  const AnswerRecord quick = Answer(0, 0, true, 1000);
  EXPECT_EQ(GradeAnswer(quick, PaceOf(answers)), Grade::kGood) << "nine right answers are too few";
  answers.push_back(Answer(10, 0, false, 100));  // a wrong answer sets no pace
  EXPECT_EQ(GradeAnswer(quick, PaceOf(answers)), Grade::kGood);
  answers.push_back(Answer(11, 0, true, 8000));
  const AnswerPace pace = PaceOf(answers);
  EXPECT_EQ(pace.medianRightMs[0], 8000);
  EXPECT_EQ(GradeAnswer(quick, pace), Grade::kEasy);
  EXPECT_EQ(GradeAnswer(Answer(0, 0, true, 6000), pace), Grade::kGood) << "exactly 3/4";
  AnswerRecord reverse = quick;
  reverse.mode = QuestionMode::Reverse;
  EXPECT_EQ(GradeAnswer(reverse, pace), Grade::kGood) << "no pace yet in reverse mode";
  EXPECT_EQ(GradeAnswer(Answer(0, 0, false, 1000), pace), Grade::kAgain);
}

TEST(MemoryModelTest, OnlyTheFirstAnswerOfALocalDayMovesTheSchedule) {
  const MemoryState once = MemoryAfter({Answer(0, 0, true)});
  // Missed an hour later, and again late that evening: still the day's first answer alone.
  const MemoryState repeated =
      MemoryAfter({Answer(0, 0, true), Answer(0, 0, false, 8000, " 09:00:00"),
                   Answer(0, 0, false, 8000, " 23:59:59")});
  EXPECT_DOUBLE_EQ(repeated.stability, once.stability);
  EXPECT_DOUBLE_EQ(repeated.difficulty, once.difficulty);
  // Two minutes later, past midnight on the player's clock, is the next day: a review.
  const MemoryState nextDay =
      MemoryAfter({Answer(0, 0, true, 8000, " 23:59:00"), Answer(0, 1, false, 8000, " 00:01:00")});
  EXPECT_LT(nextDay.stability, once.stability);
  EXPECT_EQ(nextDay.lastReview, kStart + 1);
  // A clock set back a day (or the day before set ahead): the answers keep their order, and the
  // miss given after is a review on its own date, no time having passed. Relearnt at R = 1:
  // 1.4835 · 2.118104^(−0.0614) · (3.3065^0.2629 − 1) = 0.523377, below the cap.
  const MemoryState setBack = MemoryAfter({Answer(0, 5, true), Answer(0, 4, false)});
  EXPECT_NEAR(setBack.stability, 0.523377, 1e-6);
  EXPECT_EQ(setBack.lastReview, kStart + 4);
  EXPECT_EQ(setBack.firstReview, kStart + 5);
}

TEST(MemoryModelTest, AnswersWithoutADateOrPoemArePassedOver) {
  std::vector<AnswerRecord> answers = {Answer(0, 0, false), Answer(100, 0, true),
                                       Answer(-1, 0, true)};
  for (const char* time : {"", "2027-02-30 08:00:00", "2027-1-10 08:00:00", "yesterday"}) {
    AnswerRecord undated = Answer(0, 1, true);
    undated.localTime = time;
    answers.push_back(undated);
  }
  const std::vector<std::optional<MemoryState>> memory = ReplayAnswers(answers);
  ASSERT_EQ(memory.size(), 100u);
  ASSERT_TRUE(memory[0]);
  EXPECT_DOUBLE_EQ(memory[0]->stability, 0.212);
  EXPECT_EQ(memory[0]->lastReview, kStart);
  EXPECT_FALSE(memory[99]);
  EXPECT_EQ(DateText(*DayOf("2028-02-29 12:00:00")), "2028-02-29");
}

TEST(MemoryModelTest, TheIntervalEndsOnTheFirstDayRecallIsAtOrBelowTheTarget) {
  // At 0.90 the interval is S itself: 2.3065 days, so due on day 3 (R(2) = 0.909493 is still
  // above). At 0.80: S/F·(0.8^(−1/0.1542) − 1) = 7.648 days, due on day 8; at 0.97: 0.514, held
  // at one day.
  EXPECT_EQ(IntervalDays(2.3065, 0.90), 3);
  EXPECT_GT(Retrievability(2, 2.3065), 0.90);
  EXPECT_EQ(IntervalDays(2.3065, 0.80), 8);
  EXPECT_EQ(IntervalDays(2.3065, 0.97), 1);
  // A whole-day stability is due on that very day, R(S, S) being 0.9.
  EXPECT_EQ(IntervalDays(10.0, 0.90), 10);
  EXPECT_NEAR(Retrievability(10, 10.0), 0.90, 1e-12);
  EXPECT_EQ(IntervalDays(1e9, 0.90), 36500);
}

TEST(MemoryModelTest, OtherWeightsReplayByTheirOwnCurveAndTellEachReview) {
  // w2 = 4 and w20 = 0.5: F = 0.9^(−2) − 1 = 0.234568, still R(S, S) = 0.9;
  // R(3, 2.3065) = (1 + 0.234568·3/2.3065)^(−0.5) = 0.875344.
  FsrsWeights w = kDefaultWeights;
  w[2] = 4.0;
  w[20] = 0.5;
  EXPECT_NEAR(Retrievability(3, 2.3065, w), 0.875344, 1e-6);
  EXPECT_NEAR(Retrievability(7, 7, w), 0.9, 1e-12);
  // Good, then Good three days later: R = (1 + 0.234568·3/4)^(−0.5) = 0.922168;
  // growth = e^1.8722 · (11 − 2.118104) · 4^(−0.1666) · (e^(0.796·0.077832) − 1) = 2.930103;
  // S' = 4 · 3.930103 = 15.720412. Only the second answer is a review the replay tells of.
  int told = 0;
  const std::vector<std::optional<MemoryState>> memory = ReplayAnswers(
      {Answer(0, 0, true), Answer(0, 0, false), Answer(0, 3, true)}, w,
      [&](const AnswerRecord& answer, const MemoryState& before, Day day) {
        ++told;
        EXPECT_TRUE(answer.correct);
        EXPECT_EQ(before.stability, 4.0);
        EXPECT_EQ(day, kStart + 3);
      });
  EXPECT_EQ(told, 1);
  ASSERT_TRUE(memory[0].has_value());
  EXPECT_NEAR(memory[0]->stability, 15.720412, 1e-5);
}

}  // namespace
}  // namespace verselane
