// A notice that comes while a run goes is shown over a paused game: the timer ticks on behind it
// but reveals nothing and runs no clock down, and the run goes on as it closes.
#include "game/run_notices.h"

#include <gtest/gtest.h>

#include "fakes/file_fakes.h"
#include "game/engine_harness.h"

namespace verselane {
namespace {

TEST(RunNoticesTest, ARunningGameIsPausedUnderTheNoticeAndGoesOnAfterIt) {
  SeededRandom random{3};
  EngineHarness engine{random};
  FakeNotices shown;
  RunNotices notices(shown, engine.game, engine.commands);
  engine.UseSource(0, 3);
  ASSERT_GT(engine.StartAndReachFirstQuestion(), 0);
  engine.Tick(30);
  shown.whileShown = [&] {
    EXPECT_EQ(engine.state(), PlayState::Paused);
    EXPECT_FALSE(engine.desktop.answerBox.visible);
    const int seconds = engine.game.seconds(GameClock::kQuestion);
    const int revealed = engine.animation().reveal();
    engine.Tick(100);  // five seconds of the timer while the notice is open
    EXPECT_EQ(engine.game.seconds(GameClock::kQuestion), seconds);
    EXPECT_EQ(engine.animation().reveal(), revealed);
    EXPECT_EQ(engine.phase(), Phase::kAnswering);
  };
  notices.ShowNotice("voice", "Notice", NoticeIcon::kExclamation);
  EXPECT_EQ(engine.state(), PlayState::Running);
  EXPECT_TRUE(engine.desktop.answerBox.visible);
  EXPECT_TRUE(engine.game.clockRunning(GameClock::kQuestion));

  // Over the player's own pause, and at Idle, the game is left as it was.
  shown.whileShown = nullptr;
  engine.commands.Dispatch(kCommandPause);
  notices.ShowNotice("paused", "Notice", NoticeIcon::kExclamation);
  EXPECT_EQ(engine.state(), PlayState::Paused);
  engine.game.ResetGame();
  notices.ShowNotice("idle", "Notice", NoticeIcon::kExclamation);
  EXPECT_EQ(engine.state(), PlayState::Idle);
  EXPECT_EQ(shown.texts(), (std::vector<std::string>{"voice", "paused", "idle"}));
}

}  // namespace
}  // namespace verselane
