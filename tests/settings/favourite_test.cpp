#include "settings/favourite.h"

#include <gtest/gtest.h>

#include "fakes/desktop_fakes.h"
#include "catalogue/phrase_match.h"
#include "catalogue/poem_catalogue.h"
#include "base/shift_jis.h"

namespace verselane {
namespace {

class FavouriteTest : public ::testing::Test {
 protected:
  std::optional<int> Find(std::string_view utf8) {
    return FindPoemByUpperPhrase(catalogue, SjisLiteral(utf8));
  }
  PoemCatalogue catalogue;
};

TEST_F(FavouriteTest, FindsAPoemFromItsKimarijiOn) {
  EXPECT_EQ(Find(""), std::nullopt);
  EXPECT_EQ(Find("こころ"), std::nullopt);  // poems 29 and 68 both need four kana
  EXPECT_EQ(Find("こころあ"), 28);
  EXPECT_EQ(Find("こころに"), 67);
  EXPECT_EQ(Find("心当"), 28);  // 心 covers こころ, 当 covers あ
  EXPECT_EQ(Find("こころあてにおらばやおらむはつしものおきまどわせる"), 28);
  EXPECT_EQ(Find("む"), 86);  // poem 87, the only one beginning with む
  EXPECT_EQ(Find("ちがう"), std::nullopt);
}

TEST_F(FavouriteTest, EveryPoemIsFoundByItsUpperPhraseAndKimariji) {
  for (int poem = 0; poem < 100; ++poem) {
    SCOPED_TRACE("poem " + std::to_string(poem + 1));
    const PhraseRows rows = LoadPhraseRows(catalogue, poem, Phrase::kUpper);
    const std::string_view reading = rows.reading();
    const std::size_t k = static_cast<std::size_t>(rows.kimarijiBytes);
    EXPECT_EQ(FindPoemByUpperPhrase(catalogue, reading), poem);
    EXPECT_EQ(FindPoemByUpperPhrase(catalogue, reading.substr(0, k)), poem);
    EXPECT_NE(FindPoemByUpperPhrase(catalogue, reading.substr(0, k - 2)), poem);
  }
}

TEST_F(FavouriteTest, SearchExplainsWhyNothingWasFound) {
  FavouriteSearch odd = SearchFavourite(catalogue, "a");
  EXPECT_EQ(odd.poem, std::nullopt);
  ASSERT_EQ(odd.refusal, Notice::kFavouriteNotFullWidth);
  EXPECT_EQ(ComposeNotice(*odd.refusal).text, SjisLiteral("すべて全角文字で入力してください "));
  EXPECT_EQ(ComposeNotice(*odd.refusal).caption, "Notice");
  FavouriteSearch none = SearchFavourite(catalogue, "");
  EXPECT_EQ(none.poem, std::nullopt);
  ASSERT_EQ(none.refusal, Notice::kFavouriteNotFound);
  EXPECT_EQ(ComposeNotice(*none.refusal).text,
            SjisLiteral("入力された上の句を持つ歌を特定できませんでした "));
  EXPECT_EQ(ComposeNotice(*none.refusal).caption, SjisLiteral(" 歌検索の結果"));
  FavouriteSearch found = SearchFavourite(catalogue, SjisLiteral("こころあ"));
  EXPECT_EQ(found.poem, 28);
  EXPECT_EQ(found.refusal, std::nullopt);
  // Only 49 bytes are read, cut before a character that would not fit whole.
  std::string upper;
  catalogue.GetPoemField(3, kUpperReading, upper);  // 38 bytes
  EXPECT_EQ(SearchFavourite(catalogue, upper + SjisLiteral("ふじのたかねに")).poem, 3);
}

TEST(RandomPoemPicker, NeverTheSamePoemTwiceInARow) {
  ScriptedRandom random({5, 5, 0, 5, 105});
  RandomPoemPicker picker(random);
  EXPECT_EQ(picker.PickRandomPoem(), 5);
  const int second = picker.PickRandomPoem();  // 5 again: drawn anew among the others
  EXPECT_NE(second, 5);
  EXPECT_EQ(second, 6);
  EXPECT_EQ(picker.PickRandomPoem(), 5);
  EXPECT_NE(picker.PickRandomPoem(), 5);

  SystemRandom system;
  RandomPoemPicker real(system);
  int last = -1;
  for (int press = 0; press < 1000; ++press) {
    const int poem = real.PickRandomPoem();
    EXPECT_GE(poem, 0);
    EXPECT_LT(poem, 100);
    EXPECT_NE(poem, last);
    last = poem;
  }
}

TEST(ShowFavourite, PoemTextAndPoetWithReading) {
  PoemCatalogue catalogue;
  FavouriteTexts texts = ShowFavourite(catalogue, 28);
  EXPECT_EQ(texts.poem, SjisLiteral("心あてに折らばや折らむ初霜の置きまどはせる白菊の花"));
  EXPECT_EQ(texts.poet, SjisLiteral("凡河内躬恒(おおしこうちのみつね)"));
}

}  // namespace
}  // namespace verselane
