#include "settings/environment.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace verselane {
namespace {

using ::testing::ElementsAre;

TEST(EnvironmentTest, NewEnvironmentIsIdleWithDefaultSettings) {
  Environment env;
  EXPECT_EQ(env.playState(), PlayState::Idle);
  EXPECT_EQ(env.score(), 0);
  EXPECT_EQ(env.correctCount(), 0);
  EXPECT_EQ(env.askedCount(), 0);
  EXPECT_EQ(env.retryList().count(), 0);
  EXPECT_EQ(env.settings().source(), 0);
  EXPECT_EQ(env.settings().questionCount(), 100);
  EXPECT_EQ(env.settings().favouritePoem(), 28);
  EXPECT_EQ(env.catalogue().poemCount(), 100);
}

TEST(EnvironmentTest, ScoreNeverGoesBelowZero) {
  Environment env;
  env.SetScore(1000);
  env.SetScore(env.score() - 2598);
  EXPECT_EQ(env.score(), 0);
}

TEST(EnvironmentTest, ResetTalliesZeroesScoreAndCounters) {
  Environment env;
  env.SetScore(5000);
  env.SetCorrectCount(4);
  env.SetAskedCount(6);
  env.ResetTallies();
  EXPECT_EQ(env.score(), 0);
  EXPECT_EQ(env.correctCount(), 0);
  EXPECT_EQ(env.askedCount(), 0);
}

// Wrong answers on poems 5, 62 and 100 become a three-question run over exactly those poems,
// and the player's own source and count come back afterwards.
TEST(EnvironmentTest, RetryRunRoundTrip) {
  Environment env;
  env.settings().SetSource(3);
  env.settings().SetQuestionCount(13);
  for (int number : {5, 62, 100}) env.retryList().Append(number - 1);

  env.sources().SetRetrySource(env.retryList().CopyEntries());
  env.settings().SaveSourceForRetry(env.retryList().count());
  int source = env.settings().source();
  EXPECT_EQ(source, kRetrySource);
  EXPECT_EQ(env.settings().questionCount(), 3);
  EXPECT_EQ(env.sources().GetGroupSize(source), 3);
  EXPECT_THAT(env.sources().GetGroupPoems(source), ElementsAre(4, 61, 99));

  EXPECT_TRUE(env.settings().RestoreSavedSource());
  EXPECT_EQ(env.settings().source(), 3);
  EXPECT_EQ(env.settings().questionCount(), 13);
}

}  // namespace
}  // namespace verselane
