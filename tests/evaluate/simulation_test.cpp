// A simulated learner takes today's plan as the game does (StudyQueue): a new poem is met on its
// card before it is asked, a miss is asked again the same day, every answer is kept in order.
#include "evaluate/simulation.h"

#include <gtest/gtest.h>

#include <utility>

namespace verselane {

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
  std::string taken;  // "S0": poem 0 shown; "R0": asked and recalled; "W0": missed
  std::size_t next = 0;
  std::int64_t last = 0;
  for (const StudyStep& step : PlayPlanDay(learner, plan, time, answers)) {
    std::string mark = "S";
    if (step.action == StudyAction::kAsk) {
      const AnswerRecord& answer = answers.at(next++);
      EXPECT_EQ(answer.poem, step.poem);
      EXPECT_EQ(answer.localTime.substr(0, 11), "2027-01-04 ");
      EXPECT_GT(answer.answeredAt, std::exchange(last, answer.answeredAt));
      mark = answer.correct ? "R" : "W";
    }
    taken += " " + mark + std::to_string(step.poem);
  }
  // 13, never seen, is missed and asked again after three others; the new poems, asked two
  // questions after their cards, are recalled: a card leaves its trace.
  EXPECT_EQ(taken, " S0 S1 W13 R10 R0 R1 R13 R11 R12");
  EXPECT_EQ(next, answers.size());
  EXPECT_NEAR(time, 0.8 + 9 * 20 / 86400.0, 1e-9);
}

}  // namespace verselane
