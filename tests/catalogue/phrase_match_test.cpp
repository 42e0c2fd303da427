#include "catalogue/phrase_match.h"

#include <gtest/gtest.h>

#include "catalogue/poem_catalogue.h"
#include "base/shift_jis.h"

namespace verselane {
namespace {

class PhraseMatchTest : public ::testing::Test {
 protected:
  PhraseMatch Match(int poemNumber, Phrase phrase, std::string_view typedUtf8) {
    return MatchPhrase(SjisLiteral(typedUtf8), LoadPhraseRows(catalogue, poemNumber - 1, phrase));
  }
  bool Complete(int poemNumber, Phrase phrase, std::string_view typedUtf8) {
    return Match(poemNumber, phrase, typedUtf8).end == MatchEnd::kComplete;
  }

  PoemCatalogue catalogue;
};

TEST_F(PhraseMatchTest, LoadsTheRowsOfEitherPhrase) {
  PhraseRows lower = LoadPhraseRows(catalogue, 0, Phrase::kLower);
  EXPECT_EQ(lower.reading(), SjisLiteral("わがころもではつゆにぬれつつ"));
  EXPECT_EQ(lower.kimarijiBytes, 14);
  EXPECT_FALSE(lower.rows[2].empty());
  EXPECT_TRUE(lower.rows[3].empty());  // poem 1 has no second variant row

  PhraseRows upper = LoadPhraseRows(catalogue, 61, Phrase::kUpper);
  EXPECT_EQ(upper.kimarijiBytes, 4);
  EXPECT_TRUE(upper.rows[2].empty());  // empty fields offer nothing
  EXPECT_TRUE(upper.rows[3].empty());
}

TEST_F(PhraseMatchTest, KanaKanjiAndVariantsMayBeMixed) {
  EXPECT_TRUE(Complete(1, Phrase::kLower, "わがころもではつゆにぬれつつ"));
  EXPECT_TRUE(Complete(1, Phrase::kLower, "我が衣手は露にぬれつつ"));
  EXPECT_TRUE(Complete(1, Phrase::kLower, "わかころもてはつゆにぬれつつ"));
  EXPECT_TRUE(Complete(100, Phrase::kUpper, "ももしきやふるきのきばのしのぶにも"));
  EXPECT_TRUE(Complete(100, Phrase::kUpper, "百敷や古き軒場の偲ぶにも"));
  EXPECT_TRUE(Complete(100, Phrase::kUpper, "百敷や古き軒端の忍ぶにも"));
  for (const char* typed : {"よにおうさかの", "よにあふさかの", "よにおふさかの", "よにあうさかの",
                            "よにおおさかの"}) {
    EXPECT_EQ(Match(62, Phrase::kLower, typed).end, MatchEnd::kTypedEnded) << typed;
  }
}

TEST_F(PhraseMatchTest, AcceptsWhatPlayersCommonlyTypeBesidesTheReading) {
  // Historical spelling, the sound of む and いう, the unvoiced kana of the cards.
  EXPECT_TRUE(Complete(3, Phrase::kLower, "ながながしよをひとりかもねん"));
  EXPECT_TRUE(Complete(63, Phrase::kLower, "ひとづてならでゆうよしもがな"));
  EXPECT_TRUE(Complete(63, Phrase::kLower, "人づてならでいふよしもがな"));
  EXPECT_TRUE(Complete(33, Phrase::kLower, "しづ心なく花の散るらん"));
  EXPECT_TRUE(Complete(61, Phrase::kLower, "けふ九重ににほひぬるかな"));
  EXPECT_TRUE(Complete(76, Phrase::kLower, "雲居にまがふ沖つ白波"));
  // おう of 逢ふ / 逢坂 also as おお.
  EXPECT_EQ(Match(44, Phrase::kUpper, "おおこと").end, MatchEnd::kTypedEnded);
  EXPECT_TRUE(Match(44, Phrase::kUpper, "おおこと").AcceptedFrom(4));
  EXPECT_TRUE(Complete(10, Phrase::kLower, "しるもしらぬもおおさかのせき"));
  // Other kanji than the table's own.
  EXPECT_TRUE(Complete(12, Phrase::kLower, "少女の姿暫し留めむ"));
  EXPECT_TRUE(Complete(17, Phrase::kUpper, "ちはやぶる神代も聞かず竜田川"));
  EXPECT_TRUE(Complete(19, Phrase::kUpper, "難波潟短き芦の節の間も"));
  EXPECT_TRUE(Complete(74, Phrase::kUpper, "憂かりける人を泊瀬の山颪よ"));
  EXPECT_TRUE(Complete(94, Phrase::kLower, "古里寒く衣打つなり"));
  EXPECT_TRUE(Complete(99, Phrase::kLower, "世を想ふ故に物想ふ身は"));
}

TEST_F(PhraseMatchTest, AKanjiCountsOnlyWhereItsReadingStarts) {
  // 衣 covers こ, ろ, も; typed at the cell of ろ it fits nothing.
  EXPECT_EQ(Match(1, Phrase::kLower, "わがこ衣").end, MatchEnd::kMismatch);
  // The kana こ moves on by one cell only.
  PhraseMatch kana = Match(1, Phrase::kLower, "わがこ");
  EXPECT_EQ(kana.end, MatchEnd::kTypedEnded);
  EXPECT_EQ(kana.readingBytes, 6u);
  PhraseMatch kanji = Match(1, Phrase::kLower, "わが衣");
  EXPECT_EQ(kanji.readingBytes, 10u);
  EXPECT_EQ(kanji.typedBytes, 6u);
}

TEST_F(PhraseMatchTest, AVariantRowSkipsItsOwnContinuations) {
  // てふ over ちょう: て and ふ take cells 5 and 6, the variant's continuation covers う.
  EXPECT_TRUE(Complete(2, Phrase::kLower, "ころもほすてふあまのかぐやま"));
  EXPECT_TRUE(Complete(2, Phrase::kLower, "ころもほすちょうあまのかぐやま"));
  // Having covered う, the variant leaves nothing for a typed う to match.
  EXPECT_EQ(Match(2, Phrase::kLower, "ころもほすてふう").end, MatchEnd::kMismatch);
  // Cells are matched one by one, so rows may even alternate inside ちょう.
  EXPECT_TRUE(Complete(2, Phrase::kLower, "ころもほすてょうあまのかぐやま"));
  // The table's 天の香具山 as written, 山 covering やま.
  EXPECT_TRUE(Complete(2, Phrase::kLower, "衣ほすてふ天の香具山"));
}

TEST_F(PhraseMatchTest, TextAfterACompleteMatchIsIgnored) {
  PhraseMatch match = Match(1, Phrase::kLower, "わがころもではつゆにぬれつつです");
  EXPECT_EQ(match.end, MatchEnd::kComplete);
  EXPECT_EQ(match.typedBytes, 28u);
  EXPECT_TRUE(match.AcceptedFrom(1000));
}

TEST_F(PhraseMatchTest, AShortAnswerIsAcceptedOnlyFromTheKimariji) {
  PhraseMatch seven = Match(1, Phrase::kLower, "わがころもでは");
  PhraseMatch six = Match(1, Phrase::kLower, "わがころもで");
  EXPECT_TRUE(seven.AcceptedFrom(14));
  EXPECT_FALSE(six.AcceptedFrom(14));
  // A kanji whose continuations reach past the kimariji counts in full.
  EXPECT_EQ(Match(1, Phrase::kLower, "わが衣").readingBytes, 10u);
  EXPECT_TRUE(Match(29, Phrase::kUpper, "心当").AcceptedFrom(8));
  EXPECT_FALSE(Match(29, Phrase::kUpper, "こころ").AcceptedFrom(8));
  EXPECT_FALSE(Match(1, Phrase::kLower, "").AcceptedFrom(14));
  EXPECT_EQ(Match(1, Phrase::kLower, "").readingBytes, 0u);
}

TEST(PhraseMatch, BlankCellsMatchOnlyTwoSpacesAndShortRowsOfferNothing) {
  const std::string reading = SjisLiteral("あいう");
  const std::string kanji = SjisLiteral("  亥");  // blank over あ, 亥 over い, nothing over う
  PhraseRows rows;
  rows.rows = {reading, kanji, "  "};  // the last row is shorter than the reading
  EXPECT_EQ(MatchPhrase(SjisLiteral("あ亥う"), rows).end, MatchEnd::kComplete);
  EXPECT_EQ(MatchPhrase("  " + SjisLiteral("いう"), rows).end, MatchEnd::kComplete);
  EXPECT_EQ(MatchPhrase(SjisLiteral("あい") + "  ", rows).end, MatchEnd::kMismatch);
  EXPECT_EQ(MatchPhrase(SjisLiteral("あ") + "a", rows).end, MatchEnd::kMismatch);
}

TEST(PhraseMatch, FirstMatchingRowDecidesWhichContinuationsAreSkipped) {
  const std::string reading = SjisLiteral("かかか");
  const std::string overlay = SjisLiteral("か") + "\\\\" + "  ";  // one か standing for two cells
  PhraseRows rows;
  rows.rows = {reading, overlay};
  // Row 0 matches first, so each か moves on by one cell only.
  PhraseMatch match = MatchPhrase(SjisLiteral("かか"), rows);
  EXPECT_EQ(match.end, MatchEnd::kTypedEnded);
  EXPECT_EQ(match.readingBytes, 4u);
}

}  // namespace
}  // namespace verselane
