// The simulated learner forgets as the ACT-R model says, worked by hand for a learner of ease
// −0.7 and least decay 0.177 (τ = −0.704, s = 0.255, c = 0.217):
//
//   seen once on day 0, asked on day 7: m = −0.7 + ln 7^−0.177 = −1.044426, P = 0.208333;
//   seen on days 0 and 1, asked on day 4: the second trace was laid at m = −0.7, so it decays by
//   d = 0.217·e^−0.7 + 0.177 = 0.284759; m = −0.7 + ln(4^−0.177 + 3^−0.284759) = −0.285391,
//   P = 0.837753 (against 0.279576 for one reading four days before: the second reading helps).
//
// Each case is drawn 4000 times (40 learners of 100 poems): the share recalled must lie within
// about three and a half standard errors of the worked chance.
#include "evaluate/learner.h"

#include <gtest/gtest.h>

namespace verselane {
namespace {

const Day kStart = *DayOf("2027-01-04");

double ShareRecalled(const std::vector<double>& seenOn, double askedOn) {
  int right = 0, asked = 0;
  for (std::uint64_t seed = 1; seed <= 40; ++seed) {
    SimulatedLearner learner(LearnerTraits{}, seed);
    for (int poem = 0; poem < 100; ++poem) {
      for (double day : seenOn) learner.Answer(poem, day, kStart);
      right += learner.Answer(poem, askedOn, kStart).correct ? 1 : 0;
      ++asked;
    }
  }
  return static_cast<double>(right) / asked;
}

TEST(SimulatedLearnerTest, RecallFollowsTheActivationModel) {
  SimulatedLearner learner(LearnerTraits{}, 1);
  EXPECT_EQ(learner.RecallChance(0, 0.0), 0.0);
  EXPECT_FALSE(learner.Answer(0, 0.0, kStart).correct);  // never seen: never recalled
  EXPECT_NEAR(learner.RecallChance(0, 7.0), 0.208333, 1e-6);
  learner.Study(1, 0.0);
  learner.Study(1, 1.0);
  EXPECT_NEAR(learner.RecallChance(1, 4.0), 0.837753, 1e-6);

  EXPECT_NEAR(ShareRecalled({0.0}, 7.0), 0.208333, 0.022);
  EXPECT_NEAR(ShareRecalled({0.0, 1.0}, 4.0), 0.837753, 0.020);
}

TEST(SimulatedLearnerTest, AnswersAreRecordedAsTheGameRecordsThem) {
  LearnerTraits traits;
  traits.ease = 3.0;  // recalls everything seen
  SimulatedLearner learner(traits, 7);
  learner.Study(5, -1.0);
  const AnswerRecord answer = learner.Answer(5, 2.0 + 0.5 + 30.0 / 86400.0, kStart);
  EXPECT_EQ(answer.poem, 5);
  EXPECT_TRUE(answer.correct);
  EXPECT_EQ(answer.localTime, "2027-01-06 12:00:30");
  EXPECT_EQ(answer.answeredAt, (kStart + 2) * 86400LL + 12 * 3600 + 30);
  // The typing takes about the learner's 7 s, recalling a well known poem hardly any time.
  EXPECT_GT(answer.milliseconds, 4000);
  EXPECT_LT(answer.milliseconds, 11000);
}

}  // namespace
}  // namespace verselane
