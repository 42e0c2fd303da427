#include "settings/environment_line.h"

#include <gtest/gtest.h>

#include "base/shift_jis.h"
#include "settings/settings.h"

namespace verselane {
namespace {

Settings Parsed(std::string_view line, bool* ok = nullptr) {
  Settings settings;
  const bool parsed = ParseEnvironmentLine(line, settings);
  if (ok != nullptr) *ok = parsed;
  return settings;
}

TEST(EnvironmentLine, ReadsEveryField) {
  bool ok = false;
  Settings s = Parsed("1/5/43/28/1/0/1/noname", &ok);
  EXPECT_TRUE(ok);
  EXPECT_EQ(s.mode(), QuestionMode::Reverse);
  EXPECT_EQ(s.source(), 5);
  EXPECT_EQ(s.questionCount(), 43);
  EXPECT_EQ(s.favouritePoem(), 28);
  EXPECT_TRUE(s.showAfterKimariji());
  EXPECT_FALSE(s.acceptOmission());
  EXPECT_TRUE(s.playSounds());
  EXPECT_EQ(s.playerName(), "noname");
}

TEST(EnvironmentLine, ModeAndOptionsReadTheirFirstByte) {
  EXPECT_EQ(Parsed("2/0/1/0/0/0/0/n").mode(), QuestionMode::Poet);
  EXPECT_EQ(Parsed("7/0/1/0/0/0/0/n").mode(), QuestionMode::Normal);
  EXPECT_EQ(Parsed("/0/1/0/0/0/0/n").mode(), QuestionMode::Normal);
  EXPECT_EQ(Parsed("12/0/1/0/0/0/0/n").mode(), QuestionMode::Reverse);
  Settings s = Parsed("0/0/1/0/2//10/n");
  EXPECT_FALSE(s.showAfterKimariji());
  EXPECT_FALSE(s.acceptOmission());
  EXPECT_TRUE(s.playSounds());
}

TEST(EnvironmentLine, NumbersReadAsTheyAlwaysWere) {
  Settings s = Parsed("0/ 7/12x/-3/1/1/1/n");
  EXPECT_EQ(s.source(), 7);
  EXPECT_EQ(s.questionCount(), 12);
  EXPECT_EQ(s.favouritePoem(), -3);  // taken as it stands; the loader brings it into range
  EXPECT_EQ(Parsed("0/15/1/0/1/1/1/n").source(), 15);
  EXPECT_TRUE(Parsed("0/15/1/0/1/1/1/n").questionFilePath().empty());
}

TEST(EnvironmentLine, ALongSourceFieldIsAQuestionFile) {
  Settings s = Parsed("0/abc/12/28/1/1/1/noname");
  EXPECT_EQ(s.source(), 15);
  EXPECT_EQ(s.questionFilePath(), "abc");
  // Stored with backslashes, read back as the Linux path it was.
  Settings file = Parsed(SjisLiteral("0/\\home\\花子\\set1.vlq/12/28/1/1/1/noname"));
  EXPECT_EQ(file.source(), 15);
  EXPECT_EQ(file.questionFilePath(), "/home/花子/set1.vlq");
}

TEST(EnvironmentLine, RefusesAnythingButSevenSeparatorsAndAName) {
  bool ok = true;
  Parsed("0/0/100/28/1/0/1/", &ok);
  EXPECT_FALSE(ok);
  Parsed("0/0/100/28/1/0/1/no/name", &ok);
  EXPECT_FALSE(ok);
  Parsed("0/0/100/28/1/0/noname", &ok);
  EXPECT_FALSE(ok);
  Parsed("", &ok);
  EXPECT_FALSE(ok);
  // A byte the scrambled line cannot carry back (a tab, 0xFF) makes the line corrupt.
  Parsed("0/0/100/28/1/0/1/a\tb", &ok);
  EXPECT_FALSE(ok);
  Parsed("0/0/100/28/1/0/1/a\xFF", &ok);
  EXPECT_FALSE(ok);
  // Fields before the failure stay applied; the loader resets them anyway.
  EXPECT_EQ(Parsed("2/3/4/5/1/1/1/").source(), 3);
}

TEST(EnvironmentLine, ComposesBothForms) {
  Settings s;
  s.SetMode(QuestionMode::Reverse);
  s.SetSource(5);
  s.SetQuestionCount(43);
  s.SetAcceptOmission(false);
  s.SetPlayerName("noname");
  EXPECT_EQ(ComposeEnvironmentLine(s), "1/5/43/28/1/0/1/noname");
  s.SetSource(15);
  s.SetQuestionFilePath("/home/hanako/drill/set1.vlq");
  s.SetQuestionCount(12);
  s.SetAcceptOmission(true);
  EXPECT_EQ(ComposeEnvironmentLine(s), "1/\\home\\hanako\\drill\\set1.vlq/12/28/1/1/1/noname");
  Settings back;
  ASSERT_TRUE(ParseEnvironmentLine(ComposeEnvironmentLine(s), back));
  EXPECT_EQ(back.questionFilePath(), s.questionFilePath());
  EXPECT_EQ(back.source(), 15);
}

TEST(EnvironmentLine, PathsThatCannotBeStoredAreRefused) {
  std::string stored;
  EXPECT_EQ(StoredPathFor("/home/表示/ソ.vlq", stored), PathProblem::kNone);
  EXPECT_EQ(PathFromStored(stored), "/home/表示/ソ.vlq");  // 0x5C trail bytes stay themselves
  EXPECT_EQ(StoredPathFor("/home/a\\b.vlq", stored), PathProblem::kBackslash);
  EXPECT_EQ(StoredPathFor("/home/😀.vlq", stored), PathProblem::kNotShiftJis);
  // Stored, these would be read back as other paths: 1～10.vlq, /home/\.
  EXPECT_EQ(StoredPathFor("/home/1〜10.vlq", stored), PathProblem::kNotShiftJis);
  EXPECT_EQ(StoredPathFor("/home/¥/a.vlq", stored), PathProblem::kNotShiftJis);
  EXPECT_EQ(StoredPathFor("/" + std::string(256, 'a'), stored), PathProblem::kTooLong);
  EXPECT_EQ(StoredPathFor("/" + std::string(255, 'a'), stored), PathProblem::kNone);
  // The longest storable path, a three-digit count and a ten-byte name still fit the line.
  Settings s;
  s.SetSource(15);
  s.SetQuestionFilePath("/" + std::string(255, 'a'));
  s.SetQuestionCount(100);
  s.SetFavouritePoem(99);
  s.SetPlayerName("0123456789");
  EXPECT_LE(ComposeEnvironmentLine(s).size(), kEnvironmentLineMaxBytes);
}

}  // namespace
}  // namespace verselane
