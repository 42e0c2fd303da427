// Today's plan played by a simulated learner as the game takes it (StudyQueue): a new poem is met
// before it is asked, a miss is asked again the same day, and every answer is kept, in order.
#include "evaluate/simulation.h"

#include <gtest/gtest.h>

namespace verselane {
namespace {

TEST(PlayPlanDayTest, NewPoemsAreMetAndMissesRelearned) {
  LearnerTraits traits;
  traits.ease = 3.0;  // recalls every poem seen, and none unseen
  SimulatedLearner learner(traits, 3);
  for (int poem : {10, 11, 12}) learner.Study(poem, -2.0);
  std::vector<PlanItem> plan;
  for (int poem : {13, 10, 11, 12}) plan.push_back({poem, PlanKind::kDue, 0.9, 0});
  for (int poem : {0, 1}) plan.push_back({poem, PlanKind::kNew, std::nullopt, 0});
  double time = 0.8;
  std::vector<AnswerRecord> answers;
  const std::vector<StudyStep> steps = PlayPlanDay(learner, plan, time, answers);

  // "S0" poem 0 shown, "R0" asked and recalled, "W0" missed.
  std::string taken;
  auto answer = answers.begin();
  for (const StudyStep& step : steps) {
    if (step.action == StudyAction::kShow) {
      taken += " S" + std::to_string(step.poem);
      continue;
    }
    ASSERT_NE(answer, answers.end());
    EXPECT_EQ(answer->poem, step.poem);
    EXPECT_EQ(answer->localTime.substr(0, 11), "2027-01-04 ");
    if (answer != answers.begin()) {
      EXPECT_GT(answer->answeredAt, (answer - 1)->answeredAt);
    }
    taken += (answer++->correct ? " R" : " W") + std::to_string(step.poem);
  }
  EXPECT_EQ(answer, answers.end());
  // 13, never seen, is missed and asked again after three others; the new poems, asked two
  // questions after they were shown, are recalled: the card left its trace.
  EXPECT_EQ(taken, " S0 S1 W13 R10 R0 R1 R13 R11 R12");
  EXPECT_NEAR(time, 0.8 + 9 * 20 / 86400.0, 1e-9);
}

}  // namespace
}  // namespace verselane
