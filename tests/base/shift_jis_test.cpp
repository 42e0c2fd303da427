#include "base/shift_jis.h"

#include <gtest/gtest.h>

#include <string>

#include "catalogue/poem_catalogue.h"

namespace verselane {
namespace {

std::string Bytes(std::initializer_list<unsigned char> bytes) {
  return std::string(bytes.begin(), bytes.end());
}

TEST(ShiftJisConversion, KanjiWhoseSecondByteIsBackslashRoundTrip) {
  // 表 ソ 十 能: their trail byte is 0x5C, which a byte-wise tool would take for '\'.
  const std::string sjis = Bytes({0x95, 0x5C, 0x83, 0x5C, 0x8F, 0x5C, 0x94, 0x5C});
  Conversion utf8 = SjisToUtf8(sjis);
  ASSERT_TRUE(utf8.ok());
  EXPECT_EQ(utf8.text, "表ソ十能");
  Conversion back = Utf8ToSjis(utf8.text);
  ASSERT_TRUE(back.ok());
  EXPECT_EQ(back.text, sjis);
}

TEST(ShiftJisConversion, SingleByteCharactersKeepTheirWindowsMeaning) {
  EXPECT_EQ(Utf8ToSjis("\\").text, "\\");  // not a yen sign
  EXPECT_EQ(SjisToUtf8("\\").text, "\\");
  EXPECT_EQ(Utf8ToSjis("･").text, Bytes({0xA5}));  // half-width middle dot
  EXPECT_EQ(SjisToUtf8(Bytes({0xA5})).text, "･");
  EXPECT_EQ(Utf8ToSjis("ｷｬﾝｾﾙ").text.size(), 5u);
  EXPECT_EQ(Utf8ToSjis("　").text, Bytes({0x81, 0x40}));  // full-width space
  EXPECT_EQ(Utf8ToSjis("〃").text, Bytes({0x81, 0x56}));
  EXPECT_EQ(Utf8ToSjis("～").text, Bytes({0x81, 0x60}));
  EXPECT_EQ(Utf8ToSjis("abc\r\n").text, "abc\r\n");
}

TEST(ShiftJisConversion, UnencodableCharacterFailsWithItsPosition) {
  // "𠮷" (U+20BB7) and an emoji have no CP932 code; the text must not be cut or substituted.
  Conversion converted = Utf8ToSjis("吉野𠮷");
  EXPECT_FALSE(converted.ok());
  EXPECT_EQ(converted.failedAt, 6u);
  EXPECT_TRUE(converted.text.empty());
  EXPECT_FALSE(Utf8ToSjis("あ😀").ok());
  EXPECT_FALSE(Utf8ToSjis("\xE3\x81").ok());  // truncated UTF-8
}

TEST(ShiftJisConversion, TheExactConversionRefusesCharactersThatComeBackAsOthers) {
  const Conversion roundTrip = Utf8ToSjisExact("表ソ～―＼\\･abc");
  ASSERT_TRUE(roundTrip.ok());
  EXPECT_EQ(roundTrip.text, Utf8ToSjis("表ソ～―＼\\･abc").text);
  for (const char* oneWay : {"〜", "—", "¥", "‖", "−", "¢", "£", "¬", "‾"}) {
    ASSERT_TRUE(Utf8ToSjis(oneWay).ok()) << oneWay;
    const Conversion exact = Utf8ToSjisExact(std::string("ab") + oneWay + "c");
    EXPECT_FALSE(exact.ok()) << oneWay;
    EXPECT_EQ(exact.failedAt, 2u) << oneWay;
    EXPECT_TRUE(exact.text.empty()) << oneWay;
  }
  EXPECT_EQ(Utf8ToSjisExact("あ😀").failedAt, 3u);  // what CP932 lacks fails as before
}

TEST(ShiftJisConversion, InvalidShiftJisFailsWithItsPosition) {
  Conversion loneLead = SjisToUtf8(Bytes({0x82, 0xA0, 0x82}));
  EXPECT_FALSE(loneLead.ok());
  EXPECT_EQ(loneLead.failedAt, 2u);
  EXPECT_FALSE(SjisToUtf8(Bytes({0x81, 0x20})).ok());  // 0x20 is never a trail byte
  EXPECT_TRUE(SjisToUtf8("").ok());
}

TEST(ShiftJisConversion, EveryCatalogueFieldRoundTrips) {
  PoemCatalogue catalogue;
  for (int poem = 0; poem < catalogue.poemCount(); ++poem) {
    for (int field = 0; field < catalogue.FieldCount(poem); ++field) {
      std::string value;
      catalogue.GetPoemField(poem, field, value);
      Conversion utf8 = SjisToUtf8(value);
      ASSERT_TRUE(utf8.ok()) << "poem " << poem + 1 << " field " << field;
      EXPECT_EQ(Utf8ToSjis(utf8.text).text, value) << "poem " << poem + 1 << " field " << field;
    }
  }
}

// Typed text on its way in: the answer line's.
TEST(ShiftJisReplacing, FromUtf8EachCharacterCp932CannotHoldBecomesAQuestionMark) {
  EXPECT_EQ(Utf8ToSjisReplacing("わがころも手"), SjisLiteral("わがころも手"));
  EXPECT_EQ(Utf8ToSjisReplacing("abc 123"), "abc 123");
  EXPECT_EQ(Utf8ToSjisReplacing(""), "");
  EXPECT_EQ(Utf8ToSjisReplacing("～\\"), "\x81\x60\x5C") << "where CP932 and Shift-JIS differ";
  EXPECT_EQ(Utf8ToSjisReplacing("あ😀い"), SjisLiteral("あ") + "?" + SjisLiteral("い"));
  EXPECT_EQ(Utf8ToSjisReplacing("𠮷野"), "?" + SjisLiteral("野"));
  EXPECT_EQ(Utf8ToSjisReplacing("€€"), "??");
  EXPECT_EQ(Utf8ToSjisReplacing("な\xFF"), SjisLiteral("な") + "?") << "a stray byte as well";
  EXPECT_EQ(Utf8ToSjisReplacing("な\xE3\x81"), SjisLiteral("な") + "?") << "a cut sequence";
}

// A file's text on its way to the screen.
TEST(ShiftJisReplacing, FromShiftJisEachByteThatIsNotCp932BecomesAQuestionMark) {
  EXPECT_EQ(SjisToUtf8Replacing(SjisLiteral("表ソ十能･ab\r\n")), "表ソ十能･ab\r\n");
  EXPECT_EQ(SjisToUtf8Replacing(""), "");
  // A lead byte before a byte that cannot follow it: the byte after it is kept.
  EXPECT_EQ(SjisToUtf8Replacing(Bytes({0x82, 0xA0, 0x81, 0x20, 0x82, 0xA2})), "あ? い");
  EXPECT_EQ(SjisToUtf8Replacing(Bytes({0x82, 0xA0, 0x82})), "あ?") << "cut short";
  EXPECT_EQ(SjisToUtf8Replacing(Bytes({0xFD, 0xFE, 0x41})), "??A") << "never CP932";
}

TEST(ShiftJisText, LeadBytes) {
  EXPECT_TRUE(IsSjisLeadByte(0x81));
  EXPECT_TRUE(IsSjisLeadByte(0x9F));
  EXPECT_TRUE(IsSjisLeadByte(0xE0));
  EXPECT_TRUE(IsSjisLeadByte(0xFC));
  EXPECT_FALSE(IsSjisLeadByte(0x5C));
  EXPECT_FALSE(IsSjisLeadByte(0xA5));  // half-width kana are single bytes
  EXPECT_FALSE(IsSjisLeadByte(0x80));
  EXPECT_FALSE(IsSjisLeadByte(0xFD));
}

TEST(ShiftJisText, PrefixNeverSplitsADoubleByteCharacter) {
  const std::string kana = SjisLiteral("わがころもではつゆにぬれつつ");  // 28 bytes
  EXPECT_EQ(SjisPrefixLength(kana, 49), 28u);
  EXPECT_EQ(SjisPrefixLength(kana, 27), 26u);
  EXPECT_EQ(SjisPrefixLength(kana, 0), 0u);
  // One half-width byte first shifts every following character to an odd offset.
  const std::string mixed = "a" + SjisLiteral("ああ");
  EXPECT_EQ(SjisPrefixLength(mixed, 4), 3u);
  EXPECT_EQ(SjisPrefixLength(mixed, 5), 5u);
  // A lead byte with its trail byte missing is not counted.
  EXPECT_EQ(SjisPrefixLength(Bytes({0x82, 0xA0, 0x82}), 49), 2u);
}

TEST(ShiftJisText, CellsAreAlignedBytePairs) {
  const std::string row = Bytes({0x95, 0x5C, 0x5C, 0x5C, 0x20, 0x20, 0x5C});  // 表 〃 blank + 1 byte
  EXPECT_EQ(CellCount(row), 3u);
  EXPECT_FALSE(IsContinuationCell(row, 0));  // 表 ends in 0x5C but is one character
  EXPECT_TRUE(IsContinuationCell(row, 1));
  EXPECT_TRUE(IsBlankCell(row, 2));
  EXPECT_FALSE(IsContinuationCell(row, 3));  // a lone trailing byte is no cell
  EXPECT_EQ(CellAt(row, 0), Bytes({0x95, 0x5C}));
  EXPECT_TRUE(CellAt(row, 3).empty());
  // A backslash pair that straddles two cells is not a continuation.
  const std::string straddling = Bytes({0x82, 0x5C, 0x5C, 0x82});
  EXPECT_FALSE(IsContinuationCell(straddling, 0));
  EXPECT_FALSE(IsContinuationCell(straddling, 1));
}

}  // namespace
}  // namespace verselane
