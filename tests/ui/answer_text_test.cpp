// The answer line's last typed character, as the key latch takes it.
#include <gtest/gtest.h>

#include "ui/answer_text.h"

namespace verselane {
namespace {

TEST(AnswerTextTest, LastCharacterGivesTheCodePoint) {
  EXPECT_EQ(LastCharacter(""), 0);
  EXPECT_EQ(LastCharacter("a"), 'a');
  EXPECT_EQ(LastCharacter("aあ"), 0x3042);
  EXPECT_EQ(LastCharacter("x😀"), 0x1F600);
  EXPECT_EQ(LastCharacter("a\xE3\x81"), 0) << "a cut sequence";
}

}  // namespace
}  // namespace verselane
