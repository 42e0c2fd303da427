// Guards over the whole poem table: the structure fixed for the program, and the rules that let a
// player type every poem as it is known.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "catalogue/phrase_match.h"
#include "catalogue/poem_catalogue.h"
#include "base/shift_jis.h"

namespace verselane {
namespace {

// The Unicode code point of one CP932 cell (0 when it is not one double-byte character).
char32_t CodePoint(std::string_view cell) {
  Conversion utf8 = SjisToUtf8(cell);
  const std::string& s = utf8.text;
  if (!utf8.ok() || s.size() != 3) return 0;
  return (static_cast<char32_t>(s[0] & 0x0F) << 12) | (static_cast<char32_t>(s[1] & 0x3F) << 6) |
         static_cast<char32_t>(s[2] & 0x3F);
}

bool IsHiragana(char32_t c) { return c >= U'ぁ' && c <= U'ゖ'; }
bool IsKanji(char32_t c) { return (c >= 0x4E00 && c <= 0x9FFF) || c == U'々'; }

bool IsHiraganaText(std::string_view text) {
  if (text.size() % 2 != 0 || text.empty()) return false;
  for (std::size_t n = 0; n < CellCount(text); ++n) {
    if (!IsHiragana(CodePoint(CellAt(text, n)))) return false;
  }
  return true;
}

struct Listed {
  const char* poet;
  int upperKimariji;
  int lowerKimariji;
};

// Poets and kimariji byte lengths of all one hundred poems, in anthology order.
const Listed kListed[100] = {
    {"天智天皇", 6, 14}, {"持統天皇", 6, 8}, {"柿本人麿", 4, 6}, {"山部赤人", 4, 4},
    {"猿丸大夫", 4, 4}, {"中納言家持", 4, 4}, {"安倍仲麿", 6, 4}, {"喜撰法師", 6, 6},
    {"小野小町", 6, 8}, {"蝉丸", 4, 4}, {"参議篁", 12, 8}, {"僧正遍昭", 6, 4},
    {"陽成院", 4, 6}, {"河原左大臣", 4, 8}, {"光孝天皇", 12, 14}, {"中納言行平", 4, 6},
    {"在原業平朝臣", 4, 4}, {"藤原敏行朝臣", 2, 4}, {"伊勢", 8, 6}, {"元良親王", 4, 14},
    {"素性法師", 6, 4}, {"文屋康秀", 2, 4}, {"大江千里", 4, 8}, {"菅家", 4, 4},
    {"三条右大臣", 6, 8}, {"貞信公", 4, 16}, {"中納言兼輔", 6, 4}, {"源宗于朝臣", 6, 6},
    {"凡河内躬恒", 8, 4}, {"壬生忠岑", 6, 4}, {"坂上是則", 12, 4}, {"春道列樹", 6, 6},
    {"紀友則", 4, 4}, {"藤原興風", 4, 6}, {"紀貫之", 6, 6}, {"清原深養父", 4, 6},
    {"文屋朝康", 4, 2}, {"右近", 6, 6}, {"参議等", 6, 6}, {"平兼盛", 4, 4},
    {"壬生忠見", 4, 6}, {"清原元輔", 8, 2}, {"中納言敦忠", 4, 4}, {"中納言朝忠", 4, 6},
    {"謙徳公", 6, 4}, {"曾禰好忠", 4, 4}, {"恵慶法師", 4, 10}, {"源重之", 6, 4},
    {"大中臣能宣朝臣", 6, 4}, {"藤原義孝", 12, 6}, {"藤原実方朝臣", 4, 2}, {"藤原道信朝臣", 4, 6},
    {"右大将道綱母", 6, 4}, {"儀同三司母", 6, 8}, {"大納言公任", 4, 4}, {"和泉式部", 6, 16},
    {"紫式部", 2, 6}, {"大弐三位", 6, 4}, {"赤染衛門", 4, 4}, {"小式部内侍", 6, 4},
    {"伊勢大輔", 4, 8}, {"清少納言", 4, 4}, {"左京大夫道雅", 6, 6}, {"権中納言定頼", 12, 4},
    {"相模", 4, 6}, {"前大僧正行尊", 4, 6}, {"周防内侍", 6, 4}, {"三条院", 8, 6},
    {"能因法師", 6, 4}, {"良暹法師", 2, 6}, {"大納言経信", 4, 4}, {"祐子内親王家紀伊", 4, 4},
    {"権中納言匡房", 4, 2}, {"源俊頼朝臣", 4, 4}, {"藤原基俊", 8, 6},
    {"法性寺入道前関白太政大臣", 12, 6}, {"崇徳院", 2, 4}, {"源兼昌", 6, 4},
    {"左京大夫顕輔", 6, 4}, {"待賢門院堀河", 6, 8}, {"後徳大寺左大臣", 2, 4}, {"道因法師", 4, 4},
    {"皇太后宮大夫俊成", 10, 4}, {"藤原清輔朝臣", 6, 4}, {"俊恵法師", 4, 2}, {"西行法師", 6, 4},
    {"寂蓮法師", 2, 4}, {"皇嘉門院別当", 8, 14}, {"式子内親王", 4, 4}, {"殷富門院大輔", 4, 2},
    {"後京極摂政前太政大臣", 4, 8}, {"二条院讃岐", 6, 10}, {"鎌倉右大臣", 10, 6}, {"参議雅経", 4, 4},
    {"前大僧正慈円", 6, 6}, {"入道前太政大臣", 6, 4}, {"権中納言定家", 4, 4}, {"従二位家隆", 6, 4},
    {"後鳥羽院", 6, 6}, {"順徳院", 4, 6},
};

class PoemDataTest : public ::testing::Test {
 protected:
  PoemCatalogue catalogue;
};

TEST_F(PoemDataTest, PoetsAndKimarijiLengthsAreAsListed) {
  for (int poem = 0; poem < 100; ++poem) {
    SCOPED_TRACE("poem " + std::to_string(poem + 1));
    EXPECT_EQ(catalogue.FieldView(poem, kPoet), SjisLiteral(kListed[poem].poet));
    EXPECT_EQ(catalogue.FieldView(poem, kUpperKimarijiBytes), std::to_string(kListed[poem].upperKimariji));
    EXPECT_EQ(catalogue.FieldView(poem, kLowerKimarijiBytes), std::to_string(kListed[poem].lowerKimariji));
  }
}

TEST_F(PoemDataTest, UpperKimarijiIsTheShortestUniquePrefixOfTheUpperReading) {
  std::vector<std::string> upper(100);
  for (int poem = 0; poem < 100; ++poem) upper[poem] = catalogue.FieldView(poem, kUpperReading);
  for (int poem = 0; poem < 100; ++poem) {
    std::size_t bytes = 2;
    for (; bytes <= upper[poem].size(); bytes += 2) {
      std::string_view prefix(upper[poem].data(), bytes);
      bool shared = false;
      for (int other = 0; other < 100; ++other) {
        if (other != poem && std::string_view(upper[other]).starts_with(prefix)) shared = true;
      }
      if (!shared) break;
    }
    EXPECT_EQ(std::to_string(bytes), catalogue.FieldView(poem, kUpperKimarijiBytes))
        << "poem " << poem + 1 << ": the reading, not the listed length, is to be corrected";
  }
}

TEST_F(PoemDataTest, KimarijiLengthsFitTheirReadings) {
  for (int poem = 0; poem < 100; ++poem) {
    SCOPED_TRACE("poem " + std::to_string(poem + 1));
    for (Phrase phrase : {Phrase::kUpper, Phrase::kLower}) {
      PhraseRows rows = LoadPhraseRows(catalogue, poem, phrase);
      const int k = rows.kimarijiBytes;
      EXPECT_EQ(k % 2, 0);
      EXPECT_GE(k, 2);
      EXPECT_LE(k, phrase == Phrase::kUpper ? 12 : 16);
      // The first K bytes are accepted as an answer cut short; one kana less is not.
      const std::string_view reading = rows.reading();
      EXPECT_TRUE(MatchPhrase(reading.substr(0, k), rows).AcceptedFrom(k));
      EXPECT_FALSE(MatchPhrase(reading.substr(0, k - 2), rows).AcceptedFrom(k));
    }
  }
}

TEST_F(PoemDataTest, RecordsHaveTheFixedFieldStructure) {
  std::map<int, int> byFieldCount;
  std::map<int, std::vector<int>> emptyFields;  // field index -> poem numbers
  for (int poem = 0; poem < 100; ++poem) {
    const int count = catalogue.FieldCount(poem);
    ++byFieldCount[count];
    for (int field = 0; field < count; ++field) {
      if (catalogue.FieldView(poem, field).empty()) emptyFields[field].push_back(poem + 1);
    }
  }
  EXPECT_EQ(byFieldCount, (std::map<int, int>{{9, 1}, {10, 5}, {11, 82}, {12, 8}, {13, 4}}));
  EXPECT_EQ(catalogue.FieldCount(30), 9);
  EXPECT_EQ(catalogue.FieldCount(61), 13);
  EXPECT_EQ(emptyFields, (std::map<int, std::vector<int>>{
                             {9, {20, 30, 33, 36, 37, 42, 48, 52, 55, 58, 62, 65, 72, 79, 81, 91, 94}},
                             {10, {17}},
                             {11, {10, 62, 99}}}));
}

TEST_F(PoemDataTest, ReadingsAreHiraganaInModernUsage) {
  for (int poem = 0; poem < 100; ++poem) {
    SCOPED_TRACE("poem " + std::to_string(poem + 1));
    for (int field : {kPoetReading, kUpperReading, kLowerReading}) {
      const std::string_view reading = catalogue.FieldView(poem, field);
      EXPECT_TRUE(IsHiraganaText(reading)) << "field " << field;
      for (std::size_t n = 0; n < CellCount(reading); ++n) {
        const char32_t c = CodePoint(CellAt(reading, n));
        EXPECT_TRUE(c != U'ゐ' && c != U'ゑ') << "historical kana at cell " << n;
      }
    }
  }
  EXPECT_TRUE(catalogue.FieldView(43, kUpperReading).starts_with(SjisLiteral("あう")));
}

TEST_F(PoemDataTest, OverlayRowsLineUpWithTheirReadings) {
  for (int poem = 0; poem < 100; ++poem) {
    for (Phrase phrase : {Phrase::kUpper, Phrase::kLower}) {
      PhraseRows rows = LoadPhraseRows(catalogue, poem, phrase);
      const std::string_view reading = rows.reading();
      for (int row = 1; row < 4; ++row) {
        SCOPED_TRACE("poem " + std::to_string(poem + 1) + " row " + std::to_string(row) +
                     (phrase == Phrase::kUpper ? " upper" : " lower"));
        const std::string_view overlay = rows.rows[row];
        if (row > 1 && overlay.empty()) continue;
        ASSERT_EQ(overlay.size(), reading.size());
        EXPECT_FALSE(IsContinuationCell(overlay, 0));
        bool offersSomething = false;
        for (std::size_t n = 0; n < CellCount(overlay); ++n) {
          if (IsBlankCell(overlay, n) || IsContinuationCell(overlay, n)) continue;
          offersSomething = true;
          const char32_t c = CodePoint(CellAt(overlay, n));
          if (row == 1) {
            EXPECT_TRUE(IsKanji(c)) << "cell " << n;
          } else {
            // A variant is a kanji, or a kana other than the one it stands in for.
            EXPECT_TRUE(IsKanji(c) || (IsHiragana(c) && CellAt(overlay, n) != CellAt(reading, n)))
                << "cell " << n;
          }
        }
        if (row > 1) {
          EXPECT_TRUE(offersSomething);
        }
      }
    }
  }
}

TEST_F(PoemDataTest, BothHalvesOfThePoemAsWrittenAreAccepted) {
  for (int poem = 0; poem < 100; ++poem) {
    SCOPED_TRACE("poem " + std::to_string(poem + 1));
    const std::string_view written = catalogue.FieldView(poem, kFullText);
    PhraseMatch upper = MatchPhrase(written, LoadPhraseRows(catalogue, poem, Phrase::kUpper));
    ASSERT_EQ(upper.end, MatchEnd::kComplete);
    const std::string_view lowerWritten = written.substr(upper.typedBytes);
    PhraseMatch lower = MatchPhrase(lowerWritten, LoadPhraseRows(catalogue, poem, Phrase::kLower));
    EXPECT_EQ(lower.end, MatchEnd::kComplete);
    EXPECT_EQ(lower.typedBytes, lowerWritten.size()) << "text left after the lower phrase";
  }
}

}  // namespace
}  // namespace verselane
