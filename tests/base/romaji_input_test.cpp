#include "base/romaji_input.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <string>
#include <string_view>
#include <utility>

#include "catalogue/poem_catalogue.h"
#include "base/shift_jis.h"

namespace verselane {
namespace {

RomajiInput Typed(std::string_view keys) {
  RomajiInput input;
  for (char key : keys) input.Type(key);
  return input;
}

std::string KanaOf(std::string_view keys) { return Typed(keys).kana(); }

// The generic romaji table of the SKK input method (Debian package libskk-common), as data.
constexpr const char* kSkkRomKana = "/usr/share/libskk/rules/default/rom-kana/default.json";

bool IsHiragana(const std::string& sjis) {
  if (sjis.empty() || sjis.size() % 2 != 0) return false;
  for (std::size_t n = 0; n < CellCount(sjis); ++n) {
    auto lead = static_cast<unsigned char>(sjis[2 * n]);
    auto trail = static_cast<unsigned char>(sjis[2 * n + 1]);
    bool hiragana = lead == 0x82 && trail >= 0x9F && trail <= 0xF1;
    if (!hiragana && !(lead == 0x81 && trail == 0x5B)) return false;  // 0x815B: ー
  }
  return true;
}

// Each rule is "keys": ["left pending", "output", ...]. Checked are the rules that give hiragana.
// Skipped: the z-prefixed symbols and the punctuation keys (the table's own convention for
// full-width marks, while this line ignores punctuation), and the v-row with vv, which the table
// writes as う plus a separate voiced mark because ゔ has no CP932 form: the line drops v.
TEST(RomajiInputTest, AgreesWithTheSkkRomajiTable) {
  std::ifstream file(kSkkRomKana);
  ASSERT_TRUE(file) << kSkkRomKana << " is missing: install libskk-common";
  const std::regex rule(R"re(^\s*"([^"]+)"\s*:\s*\[\s*"([^"]*)"\s*,\s*"([^"]*)")re");
  int checked = 0;
  for (std::string line; std::getline(file, line);) {
    std::smatch match;
    if (!std::regex_search(line, match, rule)) continue;
    const std::string keys = match[1], left = match[2];
    const Conversion output = Utf8ToSjis(match[3].str());
    if (keys[0] == 'v' || !output.ok() || !IsHiragana(output.text)) continue;
    RomajiInput input = Typed(keys);
    EXPECT_EQ(input.kana(), output.text) << keys;
    EXPECT_EQ(input.pending(), left) << keys;
    ++checked;
  }
  EXPECT_GE(checked, 200);
}

// Kana to romaji as a player would spell them: the Kunrei syllables, from which the Hepburn ones
// are made. ぢ and づ are di and du in both, as zi/ji and zu give じ and ず.
const std::map<std::string, std::string>& KunreiSyllables() {
  static const auto syllables = [] {
    std::map<std::string, std::string> table;
    const std::pair<std::string, std::string> rows[] = {
        {"", "あいうえお"}, {"k", "かきくけこ"}, {"s", "さしすせそ"}, {"t", "たちつてと"},
        {"n", "なにぬねの"}, {"h", "はひふへほ"}, {"m", "まみむめも"}, {"y", "や・ゆ・よ"},
        {"r", "らりるれろ"}, {"w", "わ・・・を"}, {"g", "がぎぐげご"}, {"z", "ざじずぜぞ"},
        {"d", "だぢづでど"}, {"b", "ばびぶべぼ"}, {"p", "ぱぴぷぺぽ"}};
    for (const auto& [consonant, kana] : rows) {
      for (std::size_t v = 0; v < 5; ++v) {
        if (kana.substr(3 * v, 3) != "・") table[kana.substr(3 * v, 3)] = consonant + "aiueo"[v];
      }
      if (consonant.empty() || consonant == "y" || consonant == "w") continue;
      for (std::size_t v = 0; v < 3; ++v) {
        table[kana.substr(3, 3) + std::string("ゃゅょ").substr(3 * v, 3)] = consonant + "y" + "auo"[v];
      }
    }
    return table;
  }();
  return syllables;
}

std::string Hepburn(std::string syllable) {
  const std::pair<std::string, std::string> changes[] = {
      {"si", "shi"}, {"ti", "chi"}, {"tu", "tsu"}, {"hu", "fu"}, {"zi", "ji"},
      {"sy", "sh"},  {"ty", "ch"},  {"zy", "j"}};
  for (const auto& [kunrei, hepburn] : changes) {
    if (syllable.starts_with(kunrei)) return hepburn + syllable.substr(kunrei.size());
  }
  return syllable;
}

// っ doubles the next consonant (Hepburn: t before ch); ん is n before a consonant, and before a
// vowel, y or n it is n' in Hepburn and nn in Kunrei; at the end Hepburn leaves n for Finish.
std::string Spell(const std::string& sjisKana, bool hepburn) {
  const std::string utf8 = SjisToUtf8(sjisKana).text;
  std::string romaji;
  bool doubled = false, n = false;
  auto append = [&](std::string syllable) {
    if (n) {
      bool apart = syllable.find_first_of("aiueoyn") == 0;
      romaji += apart ? (hepburn ? "n'" : "nn") : "n";
    }
    if (doubled) romaji += hepburn && syllable.starts_with("ch") ? 't' : syllable[0];
    romaji += syllable;
    doubled = n = false;
  };
  for (std::size_t pos = 0; pos < utf8.size(); pos += 3) {
    std::string kana = utf8.substr(pos, 3);
    if (kana == "っ") {
      doubled = true;
      continue;
    }
    if (kana == "ん") {
      if (n) romaji += hepburn ? "n'" : "nn";
      n = true;
      continue;
    }
    std::string pair = utf8.substr(pos, 6);
    auto found = KunreiSyllables().find(pair);
    if (found != KunreiSyllables().end()) {
      pos += 3;
    } else {
      found = KunreiSyllables().find(kana);
    }
    if (found == KunreiSyllables().end()) {
      ADD_FAILURE() << "no romaji for " << kana << " in " << utf8;
      return romaji;
    }
    append(hepburn ? Hepburn(found->second) : found->second);
  }
  if (n) romaji += hepburn ? "n" : "nn";
  return romaji;
}

// The readings hold ぢ, づ, を and small ょ; the poets' names add ゃ, ゅ, っ and ん in every position.
TEST(RomajiInputTest, HepburnAndKunreiSpellingsOfEveryReadingGiveTheReading) {
  const PoemCatalogue catalogue;
  int typed = 0;
  for (int poem = 0; poem < catalogue.poemCount(); ++poem) {
    for (PoemField field : {kUpperReading, kLowerReading, kPoetReading}) {
      const std::string reading(catalogue.FieldView(poem, field));
      ASSERT_FALSE(reading.empty()) << poem + 1;
      for (bool hepburn : {true, false}) {
        const std::string romaji = Spell(reading, hepburn);
        RomajiInput input = Typed(romaji);
        input.Finish();
        EXPECT_EQ(input.kana(), reading) << poem + 1 << ": " << romaji;
        ++typed;
      }
    }
  }
  EXPECT_EQ(typed, 600);
  EXPECT_EQ(Spell(SjisLiteral("ほっしょうじ"), true), "hosshouji");
  EXPECT_EQ(Spell(SjisLiteral("ちゅうなごんあつただ"), false), "tyuunagonnatutada");
}

TEST(RomajiInputTest, NAndDoubledConsonants) {
  EXPECT_EQ(KanaOf("kanta"), SjisLiteral("かんた"));
  EXPECT_EQ(KanaOf("kan'i"), SjisLiteral("かんい"));
  EXPECT_EQ(KanaOf("kanni"), SjisLiteral("かんい"));
  EXPECT_EQ(KanaOf("kannni"), SjisLiteral("かんに"));
  EXPECT_EQ(KanaOf("kanya"), SjisLiteral("かにゃ"));
  EXPECT_EQ(KanaOf("kan'ya"), SjisLiteral("かんや"));
  EXPECT_EQ(KanaOf("nn'"), SjisLiteral("ん"));
  EXPECT_EQ(KanaOf("n-"), SjisLiteral("んー"));
  EXPECT_EQ(KanaOf("kka"), SjisLiteral("っか"));
  EXPECT_EQ(KanaOf("kkka"), SjisLiteral("っっか"));
  EXPECT_EQ(KanaOf("ssha"), SjisLiteral("っしゃ"));
  EXPECT_EQ(KanaOf("cchi"), SjisLiteral("っち"));
  EXPECT_EQ(KanaOf("matcha"), SjisLiteral("まっちゃ"));
}

TEST(RomajiInputTest, SmallKanaWithXOrLAndTheLongVowelMark) {
  for (std::string_view keys : {"xa", "la"}) EXPECT_EQ(KanaOf(keys), SjisLiteral("ぁ")) << keys;
  for (std::string_view keys : {"xtu", "ltu", "xtsu", "ltsu"}) {
    EXPECT_EQ(KanaOf(keys), SjisLiteral("っ")) << keys;
  }
  for (std::string_view keys : {"xyo", "lyo"}) EXPECT_EQ(KanaOf(keys), SjisLiteral("ょ")) << keys;
  for (std::string_view keys : {"xwa", "lwa"}) EXPECT_EQ(KanaOf(keys), SjisLiteral("ゎ")) << keys;
  EXPECT_EQ(KanaOf("wyiwyetsatso"), SjisLiteral("ゐゑつぁつぉ"));
  EXPECT_EQ(KanaOf("ra-men"), SjisLiteral("らーめ"));
}

TEST(RomajiInputTest, LettersAnyCaseKeysThatCannotContinueAndIgnoredKeys) {
  EXPECT_EQ(KanaOf("KaShI"), SjisLiteral("かし"));
  RomajiInput input = Typed("kaKY");
  EXPECT_EQ(input.kana(), SjisLiteral("か"));
  EXPECT_EQ(input.pending(), "ky");
  for (char ignored : std::string_view("1 !?'qvQV.")) input.Type(ignored);
  EXPECT_EQ(input.kana(), SjisLiteral("か"));
  EXPECT_EQ(input.pending(), "ky");
  input.Type('t');  // "kyt" can never be a kana: the t starts afresh
  EXPECT_EQ(input.pending(), "t");
  input.Type('u');
  EXPECT_EQ(input.kana(), SjisLiteral("かつ"));
  EXPECT_EQ(input.pending(), "");
  EXPECT_EQ(Typed("nq").pending(), "n");
}

TEST(RomajiInputTest, FinishMakesAPendingNIntoNAndDropsOtherLetters) {
  RomajiInput input = Typed("kan");
  input.Finish();
  EXPECT_EQ(input.kana(), SjisLiteral("かん"));
  EXPECT_EQ(input.pending(), "");
  input.Finish();
  input.Type('a');
  EXPECT_EQ(input.kana(), SjisLiteral("かんあ"));
  input = Typed("kaky");
  input.Finish();
  EXPECT_EQ(input.kana(), SjisLiteral("か"));
  EXPECT_EQ(input.pending(), "");
  input = Typed("kaky");
  input.Clear();
  EXPECT_EQ(input.kana(), "");
  EXPECT_EQ(input.pending(), "");
  input.Type('n');
  input.Type('a');
  EXPECT_EQ(input.kana(), SjisLiteral("な"));
}

// Taken up after text already in a line, the letters a key can still continue are pending: up to
// three, in lower case; letters before them, or that make a kana on their own, stay as they are.
TEST(RomajiInputTest, ResumeTakesUpTheLettersStillPendingBeforeTheCaret) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"", ""},     {"かk", "k"}, {"XTS", "xts"}, {"axts", "xts"}, {"abc", "c"},  {"ka", ""},
      {"n", "n"},   {"nn", "n"},  {"kk", "k"},    {"tch", "ch"},    {"-", ""}};
  for (const auto& [before, pending] : cases) {
    RomajiInput input = Typed("ka");
    EXPECT_EQ(input.Resume(before), pending.size()) << before;
    EXPECT_EQ(input.pending(), pending) << before;
    EXPECT_EQ(input.kana(), "") << before;
  }
  RomajiInput input;
  input.Resume("xts");
  input.Type('u');
  EXPECT_EQ(input.kana(), SjisLiteral("っ"));
  input.Resume("n");
  input.Finish();
  EXPECT_EQ(input.kana(), SjisLiteral("ん"));
}

// A whole answer typed in letters (UTF-8 here) is read as the romaji line reads keys; it is
// refused (nothing) when anything but kana is left over.
TEST(RomajiInputTest, AnAnswerInLettersIsReadAsRomajiUnlessSomethingIsLeftOver) {
  const std::pair<const char*, const char*> cases[] = {
      {"mukashihamonowoomowazarikeri", "むかしはものをおもわざりけり"},
      {"MUKASHI ha  mono　wo", "むかしはものを"},  // any case; spaces dropped
      {"ｍｕｋａｓｈｉ ＨＡ", "むかしは"},              // full width, as some input methods type
      {"kan'i kanni kan", "かんいかんいかん"},         // n', nn and a last n
      {"ko-ri ko－ri", "こーりこーり"},                 // either hyphen for ー
      {"muかしはmonowo", "むかしはものを"},             // typed before the input method was on
      {"kanい", "かんい"},
      {"わがころも", "わがころも"},                     // no letters: as typed
      {"1ab", nullptr},                                 // a digit is no kana
      {"x", nullptr},                                   // letters pending at the end
      {"mukas", nullptr},
      {"qa", nullptr},                                  // q begins nothing
      {"ktsu", nullptr},                                // t cannot continue k
      {"kあ", nullptr},                                 // k left before the kana
      {"wo!", nullptr},                                 // a mark
  };
  for (const auto& [typed, read] : cases) {
    const std::optional<std::string> got = ReadRomajiAnswer(SjisLiteral(typed));
    if (read == nullptr) {
      EXPECT_FALSE(got.has_value()) << typed;
    } else {
      EXPECT_EQ(got, SjisLiteral(read)) << typed;
    }
  }
  EXPECT_EQ(ReadRomajiAnswer("1"), "1") << "no letters: judged as typed";
}

}  // namespace
}  // namespace verselane
