#include "catalogue/poem_catalogue.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "base/shift_jis.h"

namespace verselane {
namespace {

std::string Field(const PoemCatalogue& catalogue, int poem, int field) {
  std::string text;
  catalogue.GetPoemField(poem, field, text);
  return text;
}

// A row written as in the table, one cell per kana: "〃" continuation, "·" blank.
std::string Row(std::string_view cells) {
  std::string utf8;
  for (std::size_t pos = 0; pos < cells.size();) {
    std::size_t next = cells.find(' ', pos);
    if (next == std::string_view::npos) next = cells.size();
    std::string_view cell = cells.substr(pos, next - pos);
    utf8 += cell == "·" ? std::string("  ") : std::string(cell);
    pos = next + 1;
  }
  std::string row = SjisLiteral(utf8);
  for (std::size_t n = 0; n < CellCount(row); ++n) {
    if (CellAt(row, n) == SjisLiteral("〃")) row.replace(n * 2, 2, "\\\\");
  }
  return row;
}

class PoemCatalogueTest : public ::testing::Test {
 protected:
  PoemCatalogue catalogue;
};

TEST_F(PoemCatalogueTest, HasOneHundredPoemsAndFifteenFieldIndices) {
  EXPECT_EQ(catalogue.poemCount(), 100);
  EXPECT_EQ(catalogue.fieldBound(), 15);
}

TEST_F(PoemCatalogueTest, ReadsFieldsByIndex) {
  EXPECT_EQ(Field(catalogue, 0, kFullText), SjisLiteral("秋の田の仮庵の庵の苫をあらみわが衣手は露にぬれつつ"));
  EXPECT_EQ(Field(catalogue, 99, kPoet), SjisLiteral("順徳院"));
  EXPECT_EQ(Field(catalogue, 30, kUpperKimarijiBytes), "12");
  EXPECT_EQ(Field(catalogue, 25, kLowerKimarijiBytes), "16");
  EXPECT_EQ(Field(catalogue, 28, kPoetReading), SjisLiteral("おおしこうちのみつね"));
  EXPECT_EQ(Field(catalogue, 61, kLowerVariant2), Row("· · · お · · · · · · · · · ·"));
}

TEST_F(PoemCatalogueTest, AbsentAndEmptyFieldsLeaveTheTextUntouched) {
  std::string text = "previous";
  EXPECT_TRUE(catalogue.GetPoemField(30, kUpperVariant1, text));  // poem 31 has 9 fields
  EXPECT_EQ(text, "previous");
  EXPECT_TRUE(catalogue.GetPoemField(61, kUpperVariant1, text));  // empty between separators
  EXPECT_EQ(text, "previous");
  EXPECT_TRUE(catalogue.GetPoemField(61, kUpperVariant2, text));
  EXPECT_EQ(text, "previous");
  for (int poem = 0; poem < 100; ++poem) {
    EXPECT_TRUE(catalogue.GetPoemField(poem, 14, text));
    EXPECT_TRUE(catalogue.GetPoemField(poem, 13, text));
  }
  EXPECT_EQ(text, "previous");
}

TEST_F(PoemCatalogueTest, OutOfRangeIndicesFailAndLeaveTheTextUntouched) {
  std::string text = "previous";
  EXPECT_FALSE(catalogue.GetPoemField(100, 0, text));
  EXPECT_FALSE(catalogue.GetPoemField(-1, 0, text));
  EXPECT_FALSE(catalogue.GetPoemField(0, 15, text));
  EXPECT_FALSE(catalogue.GetPoemField(0, -1, text));
  EXPECT_EQ(text, "previous");
}

TEST(PoemFieldScan, SeparatorsAreTakenLeftToRightWithoutOverlap) {
  PoemCatalogue catalogue({"a;;;;b", "a;;;b;;c", "a;;b;;", ";;x", "only"});
  EXPECT_EQ(catalogue.FieldCount(0), 3);
  EXPECT_EQ(Field(catalogue, 0, 0), "a");
  std::string text = "kept";
  EXPECT_TRUE(catalogue.GetPoemField(0, 1, text));
  EXPECT_EQ(text, "kept");  // ";;;;" is two separators around an empty field
  EXPECT_EQ(Field(catalogue, 0, 2), "b");

  EXPECT_EQ(Field(catalogue, 1, 1), ";b");  // in ";;;" the third ';' begins the next field
  EXPECT_EQ(Field(catalogue, 1, 2), "c");
  EXPECT_EQ(catalogue.FieldCount(1), 3);

  EXPECT_EQ(catalogue.FieldCount(2), 3);  // a trailing separator makes an empty last field
  EXPECT_EQ(Field(catalogue, 2, 1), "b");
  text = "kept";
  EXPECT_TRUE(catalogue.GetPoemField(2, 2, text));
  EXPECT_EQ(text, "kept");

  text = "kept";
  EXPECT_TRUE(catalogue.GetPoemField(3, 0, text));  // an empty first field
  EXPECT_EQ(text, "kept");
  EXPECT_EQ(Field(catalogue, 3, 1), "x");

  EXPECT_EQ(Field(catalogue, 4, 0), "only");
  text = "kept";
  EXPECT_TRUE(catalogue.GetPoemField(4, 1, text));
  EXPECT_EQ(text, "kept");
  EXPECT_FALSE(catalogue.GetPoemField(5, 0, text));
}

TEST(PoemFieldScan, ShiftJisBytesNeverLookLikeSeparators) {
  // Trail bytes start at 0x40, so a double-byte character can never contain ';' (0x3B).
  const std::string omote = SjisLiteral("表");
  PoemCatalogue catalogue({omote + ";;" + omote + omote});
  EXPECT_EQ(Field(catalogue, 0, 0), omote);
  EXPECT_EQ(Field(catalogue, 0, 1), omote + omote);
}

struct GivenPoem {
  int number;
  const char* fullText;
  const char* poet;
  const char* poetReading;
  const char* upperKimariji;
  const char* lowerKimariji;
  int fieldCount;
  std::map<int, const char*> rows;
};

// Five records exactly as fixed for the program, cell by cell.
const GivenPoem kGivenPoems[] = {
    {1, "秋の田の仮庵の庵の苫をあらみわが衣手は露にぬれつつ", "天智天皇", "てんちてんのう", "6", "14", 11,
     {{5, "あ き の た の か り ほ の い お の と ま を あ ら み"},
      {7, "秋 〃 · 田 · 仮 庵 〃 · 庵 〃 · 苫 〃 · · · ·"},
      {9, "· · · · · · · · · · ほ · · · · · · ·"},
      {6, "わ が こ ろ も で は つ ゆ に ぬ れ つ つ"},
      {8, "我 · 衣 〃 〃 手 · 露 〃 · 濡 · · ·"},
      {10, "· か · · · て · · · · · · · ·"}}},
    // Cell 14 of the lower kanji row continues 山 over the final ま, so that 天の香具山 as written
    // is accepted.
    {2, "春過ぎて夏来にけらし白妙の衣ほすてふ天の香具山", "持統天皇", "じとうてんのう", "6", "8", 11,
     {{5, "は る す ぎ て な つ き に け ら し し ろ た え の"},
      {7, "春 〃 過 · · 夏 〃 来 · · · · 白 〃 妙 〃 ·"},
      {9, "· · · き · · · · · · · · · · · へ ·"},
      {6, "こ ろ も ほ す ち ょ う あ ま の か ぐ や ま"},
      {8, "衣 〃 〃 · · · · · 天 〃 · 香 具 山 〃"},
      {10, "· · · · · て ふ 〃 · · · · く · ·"}}},
    {31, "朝ぼらけ有明の月と見るまでに吉野の里にふれる白雪", "坂上是則", "さかのうえのこれのり", "12", "4", 9,
     {{5, "あ さ ぼ ら け あ り あ け の つ き と み る ま で に"},
      {7, "朝 〃 · · · 有 〃 明 〃 · 月 〃 · 見 · · · ·"},
      {6, "よ し の の さ と に ふ れ る し ら ゆ き"},
      {8, "吉 〃 野 · 里 〃 · 降 · · 白 〃 雪 〃"}}},
    {62, "夜をこめて鳥の空音ははかるとも世に逢坂の関はゆるさじ", "清少納言", "せいしょうなごん", "4", "4", 13,
     {{5, "よ を こ め て と り の そ ら ね は は か る と も"},
      {7, "夜 · · · · 鳥 〃 · 空 〃 音 · 謀 〃 · · ·"},
      {6, "よ に お う さ か の せ き は ゆ る さ じ"},
      {8, "世 · 逢 〃 坂 〃 · 関 〃 · 許 〃 · ·"},
      {10, "· · あ ふ · · · · · · · · · し"},
      {12, "· · · お · · · · · · · · · ·"}}},
    {100, "百敷や古き軒場のしのぶにもなほあまりある昔なりけり", "順徳院", "じゅんとくいん", "4", "6", 11,
     {{5, "も も し き や ふ る き の き ば の し の ぶ に も"},
      {7, "百 〃 敷 〃 · 古 〃 · 軒 〃 場 · 偲 〃 · · ·"},
      {9, "· · · · · · · · · · 端 · 忍 〃 · · ·"},
      {6, "な お あ ま り あ る む か し な り け り"},
      {8, "猶 〃 · · · · · 昔 〃 〃 · · · ·"},
      {10, "· ほ · · · · · · · · · · · ·"}}},
};

TEST_F(PoemCatalogueTest, GivenPoemsAreStoredCellByCell) {
  for (const GivenPoem& given : kGivenPoems) {
    SCOPED_TRACE("poem " + std::to_string(given.number));
    const int poem = given.number - 1;
    EXPECT_EQ(catalogue.FieldCount(poem), given.fieldCount);
    EXPECT_EQ(Field(catalogue, poem, kFullText), SjisLiteral(given.fullText));
    EXPECT_EQ(Field(catalogue, poem, kPoet), SjisLiteral(given.poet));
    EXPECT_EQ(Field(catalogue, poem, kPoetReading), SjisLiteral(given.poetReading));
    EXPECT_EQ(Field(catalogue, poem, kUpperKimarijiBytes), given.upperKimariji);
    EXPECT_EQ(Field(catalogue, poem, kLowerKimarijiBytes), given.lowerKimariji);
    for (int field = kUpperReading; field < given.fieldCount; ++field) {
      auto row = given.rows.find(field);
      std::string expected = row == given.rows.end() ? "" : Row(row->second);
      EXPECT_EQ(Field(catalogue, poem, field), expected) << "field " << field;
    }
  }
}

}  // namespace
}  // namespace verselane
