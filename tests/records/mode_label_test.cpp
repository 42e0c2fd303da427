#include "records/mode_label.h"

#include <gtest/gtest.h>

#include "base/shift_jis.h"

namespace verselane {
namespace {

TEST(ModeLabelTest, NamesTheModeAndMarksAcceptedOmission) {
  EXPECT_EQ(ModeLabel(QuestionMode::Normal, false), SjisLiteral("普通"));
  EXPECT_EQ(ModeLabel(QuestionMode::Reverse, false), SjisLiteral("逆順"));
  EXPECT_EQ(ModeLabel(QuestionMode::Poet, false), SjisLiteral("詠人"));
  EXPECT_EQ(ModeLabel(QuestionMode::Normal, true), SjisLiteral("普通*"));
  EXPECT_EQ(ModeLabel(QuestionMode::Reverse, true), SjisLiteral("逆順*"));
  EXPECT_EQ(ModeLabel(QuestionMode::Poet, true), SjisLiteral("詠人*"));
}

}  // namespace
}  // namespace verselane
