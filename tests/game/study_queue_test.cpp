// Today's plan taken step by step: new poems met before they are asked and asked only with other
// questions between, misses asked again later until right or asked three times.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "game/study_queue.h"

namespace verselane {
namespace {

struct Case {
  const char* name;
  std::vector<int> due;
  std::vector<int> fresh;
  // How many times each poem is answered wrong before it is answered right.
  std::map<int, int> misses;
  // The steps taken: "S3" shows poem 3, "A3" asks it and it is answered right, "X3" wrong.
  const char* steps;
};

std::string Walk(const Case& c) {
  std::vector<PlanItem> plan;
  for (int poem : c.due) plan.push_back({poem, PlanKind::kDue, 0.5, 0});
  for (int poem : c.fresh) plan.push_back({poem, PlanKind::kNew, std::nullopt, 0});
  StudyQueue queue(plan);
  std::map<int, int> misses = c.misses;
  std::string steps;
  for (int guard = 0; guard < 100; ++guard) {
    const std::optional<StudyStep> step = queue.Take();
    if (!step) {
      EXPECT_FALSE(queue.HasSteps());
      break;
    }
    if (!steps.empty()) steps += ' ';
    if (step->action == StudyAction::kShow) {
      steps += "S" + std::to_string(step->poem);
      queue.Shown(step->poem);
      continue;
    }
    const bool right = misses[step->poem]-- <= 0;
    steps += (right ? "A" : "X") + std::to_string(step->poem);
    queue.Answered(step->poem, right);
  }
  return steps;
}

TEST(StudyQueueTest, MeetsNewPoemsBeforeAskingThemAndAsksMissesAgainLater) {
  const Case cases[] = {
      {"new poems met two at a time, each asked after others", {}, {0, 1, 2}, {},
       "S0 S1 A0 S2 A1 A2"},
      {"met poems wait two questions", {10, 11, 12}, {0, 1}, {},
       "S0 S1 A10 A11 A0 A1 A12"},
      {"a miss comes back after three other questions", {10, 11, 12, 13, 14}, {}, {{10, 1}},
       "X10 A11 A12 A13 A10 A14"},
      {"a miss comes back at the end of a short run", {10, 11}, {}, {{10, 1}},
       "X10 A11 A10"},
      {"asked three times at most", {10}, {}, {{10, 5}}, "X10 X10 X10"},
      {"a new poem missed is asked again", {}, {0}, {{0, 1}}, "S0 X0 A0"},
      {"with nothing else to ask, the one nearest the end of its wait", {10}, {0, 1},
       {{10, 1}}, "S0 S1 X10 A0 A1 A10"},
      {"nothing planned, nothing asked", {}, {}, {}, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(Walk(c), c.steps) << c.name;
}

TEST(StudyQueueTest, AnEmptyQueueIsNoStudyRun) {
  StudyQueue none;
  EXPECT_FALSE(none.active());
  EXPECT_FALSE(none.Take().has_value());
  EXPECT_TRUE(StudyQueue(std::vector<PlanItem>{}).active());
}

}  // namespace
}  // namespace verselane
