#include "base/scramble.h"

#include <gtest/gtest.h>

#include "base/shift_jis.h"

namespace verselane {
namespace {

std::string Encoded(std::string text) {
  Scramble(text, ScrambleDirection::kEncode);
  return text;
}
std::string Decoded(std::string text) {
  Scramble(text, ScrambleDirection::kDecode);
  return text;
}

TEST(Scramble, ReversesAndShiftsEveryByte) {
  EXPECT_EQ(Encoded("abc"), "dcb");
  EXPECT_EQ(Decoded("dcb"), "abc");
  EXPECT_EQ(Encoded("a\nb"), "c\x0B" "b");  // no line end survives: one physical line
  EXPECT_EQ(Encoded("4,17,0"), "1-82-5");
}

TEST(Scramble, EmptyTextIsRefused) {
  std::string text;
  EXPECT_FALSE(Scramble(text, ScrambleDirection::kEncode));
  EXPECT_TRUE(text.empty());
  EXPECT_FALSE(Scramble(text, ScrambleDirection::kDecode));
}

TEST(Scramble, AByteThatBecomesZeroEndsTheText) {
  // Reversed, the bytes after 0xFF come first; 0xFF itself becomes 0x00 and ends the text.
  EXPECT_EQ(Encoded(std::string("ab\xFF" "cd", 5)), "ed");
  EXPECT_EQ(Decoded(std::string("xy\x01z", 4)), "y");
}

TEST(Scramble, ShiftJisTextRoundTrips) {
  const std::string text = SjisLiteral("表示ソ十能･ 0/0/100/28/1/0/1/noname\n次");
  EXPECT_EQ(Decoded(Encoded(text)), text);
  for (int byte = 0; byte < 256; ++byte) {
    if (byte == 0 || byte == 0xFF) continue;
    const std::string one(1, static_cast<char>(byte));
    EXPECT_EQ(Decoded(Encoded(one)), one) << byte;
  }
}

}  // namespace
}  // namespace verselane
