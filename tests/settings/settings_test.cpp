#include "settings/settings.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace verselane
