// Which answers are foretold, and from what: only the first answer to a poem on a day, of a poem
// answered on an earlier day, from the answers before that day.
#include "evaluate/scored_answers.h"

#include <gtest/gtest.h>

#include "game/memory_model.h"

namespace verselane {
namespace {

const Day kStart = *DayOf("2027-01-10");

AnswerRecord Answer(int poem, int day, bool correct) {
  AnswerRecord answer;
  answer.poem = poem;
  answer.correct = correct;
  answer.milliseconds = 8000;
  answer.answeredAt = (kStart + day) * 86400LL + 8 * 3600;
  answer.localTime = DateText(kStart + day) + " 08:00:00";
  return answer;
}

TEST(ScoredAnswersTest, EachDaysFirstAnswerIsForetoldFromTheDaysBefore) {
  const std::vector<ScoredAnswer> scored = ScoreAnswers({
      Answer(0, 0, true), Answer(0, 0, false),  // the same day: no new day of memory
      Answer(1, 3, true),  // never answered before: nothing to foretell it from
      Answer(0, 3, true), Answer(0, 3, false),  // a second time that day
  });
  ASSERT_EQ(scored.size(), 1u);
  // FSRS: one Good on day 0 (the day's first answer), S = 2.3065; R(3 days) = 0.880948.
  EXPECT_NEAR(scored[0].fsrsChance, 0.880948, 1e-6);
  // Weakness from both day-0 answers: miss (1+1)/(2+2) = 0.5, slow (8−5)/10 = 0.3, forgotten
  // 1 − 2^(−3/7) = 0.257003: 0.6·0.5 + 0.25·0.3 + 0.15·0.257003 = 0.413550.
  EXPECT_NEAR(scored[0].weakness, 0.413550, 1e-6);
  EXPECT_TRUE(scored[0].recalled);
  EXPECT_EQ(scored[0].answer, 3u);  // its place among the answers given
}

}  // namespace
}  // namespace verselane
