// The frames the engine hands to the screen: what a player sees at each moment of a run.
#include "game/frame.h"

#include <gtest/gtest.h>

#include <vector>

#include "catalogue/poem_groups.h"
#include "engine_harness.h"

namespace verselane {
namespace {

class FrameTest : public ::testing::Test {
 protected:
  FrameTest() { engine.UseSource(kAllPoemsSource, 2); }

  const GameFrame& frame() const { return engine.lastFrame(); }

  ScriptedRandom random{{0}};
  EngineHarness engine{random};
};

TEST_F(FrameTest, IdleScreenShowsZerosAFullBarAndNothingOfARun) {
  EXPECT_EQ(frame().playState, PlayState::Idle);
  EXPECT_EQ(frame().mode, QuestionMode::Normal);
  EXPECT_FALSE(frame().promptShown);
  EXPECT_FALSE(frame().popupShown);
  EXPECT_FALSE(frame().bannerShown);
  EXPECT_FALSE(frame().markerShown);
  EXPECT_EQ(frame().score, 0);
  EXPECT_EQ(frame().correctRate, 0);
  EXPECT_EQ(frame().askedCount, 0);
  EXPECT_EQ(frame().clock.hours + frame().clock.minutes + frame().clock.seconds, 0);
  EXPECT_TRUE(frame().colonShown);
  EXPECT_EQ(frame().timeBarWidth, kTimeBarFull);
}

TEST_F(FrameTest, StartBannerFadesFromGreyToWhite) {
  engine.commands.Start();
  std::vector<int> greys;
  while (engine.phase() <= Phase::kCountdown) {
    engine.Tick();
    if (!frame().bannerShown) break;
    EXPECT_EQ(frame().bannerText, "START !!");
    if (greys.empty() || greys.back() != frame().bannerColour.red) {
      greys.push_back(frame().bannerColour.red);
    }
  }
  EXPECT_EQ(greys, (std::vector<int>{130, 142, 155, 167, 180, 192, 205, 217, 230, 242, 255}));
  EXPECT_EQ(engine.phase(), Phase::kSetUp);
  EXPECT_FALSE(frame().bannerShown);
}

TEST_F(FrameTest, ScorePopupFadesInFromWhiteToBlueGrey) {
  engine.StartAndReachFirstQuestion();
  engine.Answer(true);
  engine.Tick();
  EXPECT_TRUE(frame().popupShown);
  EXPECT_EQ(frame().popupFont, PopupFont::kScore);
  EXPECT_EQ(frame().popupColour, (Rgb{255, 255, 255}));
  engine.Tick(5);
  EXPECT_EQ(frame().popupColour, (Rgb{177, 177, 202}));
  engine.TickUntilPhase(Phase::kReview);
  EXPECT_EQ(frame().popupColour, (Rgb{100, 100, 150}));
  engine.TickUntilPhase(Phase::kNext);
  EXPECT_FALSE(frame().popupShown);
}

TEST_F(FrameTest, WrongAnswerPopupShowsTheExpectedReadingInRed) {
  engine.settings().SetMode(QuestionMode::Reverse);
  engine.StartAndReachFirstQuestion();
  engine.Answer(false);
  engine.Tick();
  EXPECT_EQ(frame().popupColour, (Rgb{255, 255, 255}));
  engine.TickUntilPhase(Phase::kReview);
  EXPECT_EQ(frame().mode, QuestionMode::Reverse);
  EXPECT_EQ(frame().popupText, SjisLiteral("あきのたのかりほのいおのとまをあらみ"));
  EXPECT_EQ(frame().popupFont, PopupFont::kReading);
  EXPECT_EQ(frame().popupColour, (Rgb{200, 100, 100}));
}

// Each answer is given to a question of its own; the frame is the one the miss waits on.
TEST_F(FrameTest, AMissShowsTheAnswerGivenMarkedFromWhereItLeftTheReading) {
  struct Case {
    const char* what;
    std::size_t keep;      // bytes of the reading typed first
    const char* then;      // UTF-8 typed after them
    const char* shownEnd;  // UTF-8 the line ends in after the typed text
    std::size_t agreed;    // bytes of the typed text left unmarked
  };
  const Case cases[] = {
      {"a wrong cell", 4, "×", "", 4},
      {"stopped short", 4, "", "…", 4},
      {"empty", 0, "", "（空欄）", 0},
      {"half-width", 2, "1", "", 2},
  };
  const std::string label = SjisLiteral("入力：");
  engine.UseSource(kAllPoemsSource, 5);
  engine.commands.Start();
  for (const Case& c : cases) {
    engine.TickUntilPhase(Phase::kAnswering);
    const std::string typed =
        std::string(engine.ExpectedReading().substr(0, c.keep)) + SjisLiteral(c.then);
    engine.desktop.answerBox.text = typed;
    engine.PressEnter();
    engine.TickUntilPhase(Phase::kReview);
    EXPECT_TRUE(frame().missShown) << c.what;
    EXPECT_EQ(frame().missText, label + typed + SjisLiteral(c.shownEnd)) << c.what;
    EXPECT_EQ(frame().missMarkFrom, label.size() + c.agreed) << c.what;
    EXPECT_EQ(frame().missColour, (Rgb{100, 100, 100})) << c.what;
    EXPECT_EQ(frame().missMarkColour, (Rgb{190, 20, 20})) << c.what;
    engine.PressEnter();
  }
  engine.TickUntilPhase(Phase::kAnswering);
  engine.Answer(true);
  engine.TickUntilPhase(Phase::kReview);
  EXPECT_FALSE(frame().missShown) << "a right answer shows only its points";
}

TEST_F(FrameTest, PromptShowsTheRevealedKanaWhileAnswering) {
  engine.StartAndReachFirstQuestion();
  const std::string reading(engine.game.run().prompt);
  EXPECT_TRUE(frame().promptShown);
  EXPECT_EQ(frame().prompt, reading.substr(0, 2));
  engine.Tick(2 * kTicksPerSecond);
  EXPECT_EQ(frame().reveal, 3);
  EXPECT_EQ(frame().prompt, reading.substr(0, 6));
  engine.Answer(true);
  engine.TickUntilPhase(Phase::kPopupOut);
  EXPECT_TRUE(frame().promptShown);
  EXPECT_EQ(frame().prompt, "") << "cleared down before the pop-up fades out";
  engine.TickUntilPhase(Phase::kBetween);
  EXPECT_FALSE(frame().promptShown);
}

TEST_F(FrameTest, MarkerBouncesBetweenItsFramesWhileAnswering) {
  engine.StartAndReachFirstQuestion();
  std::vector<int> frames{frame().markerFrame};
  for (int i = 0; i < 11; ++i) {
    engine.Tick();
    frames.push_back(frame().markerFrame);
    EXPECT_EQ(frame().markerShown, frame().markerFrame >= 0);
  }
  EXPECT_EQ(frames, (std::vector<int>{0, 1, 2, 3, 4, 3, 2, 1, 0, -1, 0, 1}));
  engine.Answer(true);
  engine.Tick();
  EXPECT_FALSE(frame().markerShown);
}

TEST_F(FrameTest, ColonsBlinkEveryQuarterSecondOnlyWhileTheClockRuns) {
  engine.StartAndReachFirstQuestion();
  std::vector<bool> colons;
  for (int i = 0; i < 20; ++i) {
    engine.Tick();
    colons.push_back(frame().colonShown);
  }
  int flips = 0;
  for (std::size_t i = 1; i < colons.size(); ++i) flips += colons[i] != colons[i - 1];
  EXPECT_EQ(flips, 4);
  engine.commands.Pause();
  engine.Tick(20);
  EXPECT_TRUE(frame().colonShown);
}

TEST_F(FrameTest, TimeBarRunsDownWhileAnsweringAndRefillsInTheClearDown) {
  engine.StartAndReachFirstQuestion();
  EXPECT_EQ(frame().timeBarWidth, kTimeBarFull - 1);
  engine.Tick(99);
  EXPECT_EQ(frame().timeBarWidth, kTimeBarFull - 100);
  engine.Answer(true);
  engine.TickUntilPhase(Phase::kReview);
  EXPECT_EQ(frame().timeBarWidth, kTimeBarFull - 100) << "the bar stops at Enter";
  engine.TickUntilPhase(Phase::kPopupOut);
  EXPECT_EQ(frame().timeBarWidth, kTimeBarFull);
}

TEST_F(FrameTest, TalliesAndClockFollowTheRun) {
  engine.StartAndReachFirstQuestion();
  engine.Answer(true);
  engine.TickUntilPhase(Phase::kAnswering);
  engine.Tick(3661 * kTicksPerSecond);  // the time bar long gone, the clock still runs
  engine.Answer(false);
  engine.Tick();
  EXPECT_EQ(frame().askedCount, 2);
  EXPECT_EQ(frame().correctCount, 1);
  EXPECT_EQ(frame().correctRate, 50);
  EXPECT_EQ(frame().score, 1000);
  EXPECT_EQ(frame().clock.hours, 1);
  EXPECT_EQ(frame().clock.minutes, 1);
  EXPECT_GE(frame().clock.seconds, 1);
}

}  // namespace
}  // namespace verselane
