#include "settings/settings.h"

#include <gtest/gtest.h>

#include "catalogue/poem_groups.h"

namespace verselane {
namespace {

TEST(SettingsTest, ConstructionDefaults) {
  Settings settings;
  EXPECT_EQ(settings.mode(), QuestionMode::Normal);
  EXPECT_EQ(settings.source(), 0);
  EXPECT_EQ(settings.questionCount(), 100);
  EXPECT_EQ(settings.favouritePoem(), 28);
  EXPECT_TRUE(settings.showAfterKimariji());
  EXPECT_FALSE(settings.acceptOmission());
  EXPECT_TRUE(settings.playSounds());
  EXPECT_EQ(settings.questionFilePath(), "");
  EXPECT_EQ(settings.playerName(), "");
}

TEST(SettingsRetryTest, RetryRunSwitchesToTheRetrySource) {
  Settings settings;
  settings.SetSource(5);
  settings.SetQuestionCount(20);
  settings.SaveSourceForRetry(3);
  EXPECT_EQ(settings.source(), kRetrySource);
  EXPECT_EQ(settings.questionCount(), 3);
  EXPECT_EQ(settings.savedSource(), 5);
  EXPECT_EQ(settings.savedQuestionCount(), 20);
}

TEST(SettingsRetryTest, RestorePutsBackTheSourceAndCount) {
  Settings settings;
  settings.SetSource(kFileSource);
  settings.SetQuestionCount(12);
  settings.SaveSourceForRetry(3);
  EXPECT_TRUE(settings.RestoreSavedSource());
  EXPECT_EQ(settings.source(), kFileSource);
  EXPECT_EQ(settings.questionCount(), 12);
}

TEST(SettingsRetryTest, RestoreOutsideARetryRunChangesNothing) {
  Settings settings;
  settings.SetSource(7);
  settings.SetQuestionCount(4);
  EXPECT_FALSE(settings.RestoreSavedSource());
  EXPECT_EQ(settings.source(), 7);
  EXPECT_EQ(settings.questionCount(), 4);

  settings.SaveSourceForRetry(2);
  settings.RestoreSavedSource();
  settings.SetSource(9);
  settings.SetQuestionCount(16);
  EXPECT_FALSE(settings.RestoreSavedSource());
  EXPECT_EQ(settings.source(), 9);
  EXPECT_EQ(settings.questionCount(), 16);
}

TEST(SettingsRetryTest, RetryOfARetryStillReturnsToThePlayersChoice) {
  Settings settings;
  settings.SetSource(2);
  settings.SetQuestionCount(21);
  settings.SaveSourceForRetry(6);
  settings.SaveSourceForRetry(2);
  EXPECT_EQ(settings.questionCount(), 2);
  EXPECT_TRUE(settings.RestoreSavedSource());
  EXPECT_EQ(settings.source(), 2);
  EXPECT_EQ(settings.questionCount(), 21);
}

}  // namespace
}  // namespace verselane
