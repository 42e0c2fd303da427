#include "game/results.h"

#include <gtest/gtest.h>

#include "base/shift_jis.h"
#include "fakes/desktop_fakes.h"
#include "game/answer_check.h"
#include "game/comments.h"
#include "settings/environment.h"

namespace verselane {
namespace {

class ResultsTest : public ::testing::Test {
 protected:
  // Plays a run over the given poem numbers, answering each right or wrong within 3 seconds.
  void Play(std::initializer_list<std::pair<int, bool>> answers) {
    for (auto [number, right] : answers) {
      std::string lower;
      environment.catalogue().GetPoemField(number - 1, kLowerReading, lower);
      box.text = right ? lower : SjisLiteral("ちがう");
      QuestionState question;
      question.poem = number - 1;
      question.seconds = 3;
      checker.CheckAnswer(question);
    }
  }

  Environment environment;
  FakeAnswerBox box;
  FakeSound sound;
  AnswerChecker checker{environment, box, sound};
};

TEST_F(ResultsTest, ViewShowsTheRunsTallies) {
  environment.settings().SetQuestionCount(4);
  Play({{1, true}, {2, true}, {3, false}, {4, true}});
  ResultsView view = BuildResultsView(environment, 3725);
  EXPECT_EQ(view.caption, SjisLiteral(" 全4問 解答完了"));
  EXPECT_EQ(view.clearTime, "01:02:05");
  EXPECT_EQ(view.totalScore, "3000 pt");
  EXPECT_EQ(view.correctRate, "75 %");
  EXPECT_EQ(view.correctCount, "3");
  // 3000 points in 4 questions: character 0; 3000 is not above 3003, but 75 % of 4 lifts it.
  EXPECT_EQ(view.portraitFrame, 0);
  std::string expected;
  GetComment(0, 1, expected);
  EXPECT_EQ(view.comment, expected);
  EXPECT_TRUE(view.retryEnabled);
}

TEST_F(ResultsTest, RateIsTruncatedInDoublePrecision) {
  environment.SetAskedCount(100);
  environment.SetCorrectCount(29);
  EXPECT_EQ(BuildResultsView(environment, 0).correctRate, "28 %");
}

TEST_F(ResultsTest, NoWrongAnswersLeaveTheRetryButtonsDisabled) {
  environment.settings().SetQuestionCount(2);
  Play({{1, true}, {2, true}});
  EXPECT_FALSE(BuildResultsView(environment, 10).retryEnabled);
}

TEST_F(ResultsTest, RetryRunAsksExactlyTheWrongAnswersThenRestores) {
  environment.settings().SetSource(9);
  environment.settings().SetQuestionCount(16);
  Play({{5, false}, {62, false}, {100, false}, {2, true}});
  BuildRetryRun(environment);
  EXPECT_EQ(environment.settings().source(), 16);
  EXPECT_EQ(environment.settings().questionCount(), 3);
  EXPECT_EQ(environment.sources().GetGroupSize(16), 3);
  EXPECT_EQ(environment.sources().GetGroupPoems(16), (std::vector<int>{4, 61, 99}));
  // The retry run's results put the earlier choice back.
  EXPECT_TRUE(environment.settings().RestoreSavedSource());
  EXPECT_EQ(environment.settings().source(), 9);
  EXPECT_EQ(environment.settings().questionCount(), 16);
}

}  // namespace
}  // namespace verselane
