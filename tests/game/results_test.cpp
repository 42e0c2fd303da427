#include "game/results.h"

#include <gtest/gtest.h>

#include "base/shift_jis.h"
#include "fakes/desktop_fakes.h"
#include "game/answer_check.h"
#include "game/comments.h"
#include "catalogue/poem_catalogue.h"
#include "game/run.h"
#include "settings/settings.h"

namespace verselane {
namespace {

class ResultsTest : public ::testing::Test {
 protected:
  // Plays a run over the given poem numbers, answering each right or wrong within 3 seconds.
  void Play(std::initializer_list<std::pair<int, bool>> answers) {
    for (auto [number, right] : answers) {
      std::string lower;
      catalogue.GetPoemField(number - 1, kLowerReading, lower);
      box.text = right ? lower : SjisLiteral("ちがう");
      checker.CheckAnswer(number - 1, 3, settings, run.tallies, run.wrong);
    }
  }

  // The run as the game reports it at its end.
  RunFigures Figures(int clearSeconds = 0) const {
    return {run.tallies.score, run.tallies.correct, run.tallies.asked, clearSeconds, "",
            run.questionCount, run.wrong.CopyEntries()};
  }

  const PoemCatalogue catalogue;
  Settings settings;
  RunState run;
  FakeAnswerBox box;
  FakeSound sound;
  AnswerChecker checker{catalogue, box, sound};
};

TEST_F(ResultsTest, ViewShowsTheRunsTallies) {
  run.questionCount = 4;
  Play({{1, true}, {2, true}, {3, false}, {4, true}});
  ResultsView view = BuildResultsView(Figures(3725));
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
  run.tallies.asked = 100;
  run.tallies.correct = 29;
  EXPECT_EQ(BuildResultsView(Figures()).correctRate, "28 %");
}

TEST_F(ResultsTest, NoWrongAnswersLeaveTheRetryButtonsDisabled) {
  run.questionCount = 2;
  Play({{1, true}, {2, true}});
  EXPECT_FALSE(BuildResultsView(Figures(10)).retryEnabled);
}

}  // namespace
}  // namespace verselane
