// The answer line's text as the game reads it.
#include <gtest/gtest.h>

#include "base/shift_jis.h"
#include "ui/answer_text.h"

namespace verselane {
namespace {

TEST(AnswerTextTest, ConvertsKanaKanjiAndAsciiToCp932) {
  EXPECT_EQ(AnswerTextToSjis("わがころも手"), SjisLiteral("わがころも手"));
  EXPECT_EQ(AnswerTextToSjis("abc 123"), "abc 123");
  EXPECT_EQ(AnswerTextToSjis(""), "");
  // The characters where CP932 and plain Shift-JIS differ.
  EXPECT_EQ(AnswerTextToSjis("～\\"), "\x81\x60\x5C");
}

TEST(AnswerTextTest, ACharacterCp932CannotHoldBecomesAQuestionMark) {
  EXPECT_EQ(AnswerTextToSjis("あ😀い"), SjisLiteral("あ") + "?" + SjisLiteral("い"));
  EXPECT_EQ(AnswerTextToSjis("𠮷野"), "?" + SjisLiteral("野"));
  EXPECT_EQ(AnswerTextToSjis("€€"), "??");
  EXPECT_EQ(AnswerTextToSjis("な\xFF"), SjisLiteral("な") + "?") << "a stray byte as well";
}

TEST(AnswerTextTest, LastCharacterGivesTheCodePoint) {
  EXPECT_EQ(LastCharacter(""), 0);
  EXPECT_EQ(LastCharacter("a"), 'a');
  EXPECT_EQ(LastCharacter("aあ"), 0x3042);
  EXPECT_EQ(LastCharacter("x😀"), 0x1F600);
  EXPECT_EQ(LastCharacter("a\xE3\x81"), 0) << "a cut sequence";
}

}  // namespace
}  // namespace verselane
