#include "records/rank_in.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/shift_jis.h"
#include "fakes/file_fakes.h"
#include "fakes/temp_folder.h"
#include "records/mode_label.h"
#include "records/record_list.h"
#include "settings/settings_controller.h"

namespace verselane {
namespace {

class RankInTest : public ::testing::Test {
 protected:
  RankInTest() {
    controller.settings().SetPlayerName(SjisLiteral("前の名"));
    EXPECT_TRUE(records.ResetRecordList().ok());
  }
  std::string RecordDat() const { return folder.File("record.dat"); }

  bool Commit(const std::string& typedName, const RunFigures& figures) {
    return CommitRankIn(typedName, figures, records, controller, notices, clock);
  }
  bool Commit(const std::string& typedName) { return Commit(typedName, run); }

  // The list as record.dat holds it now.
  std::string StoredLine(int position) {
    RecordList stored(RecordDat());
    EXPECT_TRUE(stored.LoadRecordList().ok());
    return FormatRecordLine(stored.record(position));
  }

  TempFolder folder;
  FakeNotices notices;
  SettingsController controller{folder.File("env.ini")};
  RecordList records{RecordDat()};
  FakeClock clock{{2026, 3, 7, 9, 5}};
  RunFigures run{823, 29, 100, 3725, ModeLabel(QuestionMode::Reverse, true), 0, {}};
};

TEST_F(RankInTest, TheRunEntersTheListAndTheFile) {
  ASSERT_TRUE(Commit("たろう"));
  const std::string expected = SjisLiteral("たろう,823,01:02:05,28,逆順*,26/03/07 09:05");
  EXPECT_EQ(FormatRecordLine(records.record(0)), expected);
  EXPECT_EQ(StoredLine(0), expected);
  EXPECT_EQ(StoredLine(1), "noname,0,00:00:00,0,-,00/00/00 00:00");
  EXPECT_EQ(clock.reads, 1);
  EXPECT_TRUE(notices.shown.empty());
}

TEST_F(RankInTest, TheNameBecomesThePlayersName) {
  ASSERT_TRUE(Commit("はなこ"));
  EXPECT_EQ(controller.settings().playerName(), SjisLiteral("はなこ"));
  EXPECT_TRUE(controller.settingsChanged());
}

TEST_F(RankInTest, AnEmptyNameIsStoredAsNoname) {
  ASSERT_TRUE(Commit(""));
  EXPECT_EQ(records.record(0).name, "noname");
  EXPECT_EQ(controller.settings().playerName(), "noname");
}

TEST_F(RankInTest, TheRunTakesItsPlaceAmongEqualScores) {
  for (int score : {500, 400, 400, 300, 200}) records.InsertRecord({"old", score});
  ASSERT_TRUE(Commit("new", {400, 1, 1, 100000, "m", 0, {}}));
  EXPECT_EQ(StoredLine(3), "new,400,27:46:40,100,m,26/03/07 09:05");
  EXPECT_EQ(records.record(2).score, 400);
  EXPECT_EQ(records.record(2).name, "old");
  EXPECT_EQ(records.record(4).score, 300);  // 200 dropped out
}

TEST_F(RankInTest, ALongNameIsCutWithoutSplittingACharacter) {
  const std::pair<const char*, const char*> cases[] = {
      {"abcdefghijkl", "abcdefghij"},
      {"あいうえおか", "あいうえお"},  // 12 bytes: five characters fit
      {"aあいうえおか", "aあいうえ"},  // the fifth would need bytes 10 and 11
      {"ｱｲｳｴｵｶｷｸｹｺｻ", "ｱｲｳｴｵｶｷｸｹｺ"},   // half-width kana are one byte each
  };
  RunFigures better = run;
  for (const auto& [typed, kept] : cases) {
    ++better.score;  // each one goes to the top
    ASSERT_TRUE(Commit(typed, better)) << typed;
    EXPECT_EQ(records.record(0).name, SjisLiteral(kept)) << typed;
    EXPECT_EQ(controller.settings().playerName(), SjisLiteral(kept)) << typed;
  }
}

TEST(RankInName, TheFieldHoldsTenBytesOfShiftJis) {
  EXPECT_TRUE(NameFitsField(""));
  EXPECT_TRUE(NameFitsField("abcdefghij"));
  EXPECT_FALSE(NameFitsField("abcdefghijk"));
  EXPECT_TRUE(NameFitsField("やまだたろ"));
  EXPECT_FALSE(NameFitsField("やまだたろう"));
  EXPECT_TRUE(NameFitsField("ｱｲｳｴｵｶｷｸｹｺ"));  // half-width kana are one byte each
  EXPECT_TRUE(NameFitsField("abあいう€"));   // what Shift-JIS lacks counts two: OK refuses it
  EXPECT_FALSE(NameFitsField("abcあいう€"));
}

TEST_F(RankInTest, ANameTheFilesCannotHoldKeepsTheDialogOpen) {
  const std::pair<const char*, const char*> cases[] = {
      {"a,b", "名前に\",\"を使うことはできません。"},
      {"a/b", "名前に\"/\"を使うことはできません。"},
      {"a,/b", "名前に\",\"を使うことはできません。"},
      {"€uro", "名前に使えない文字が含まれています。"},  // no such character in Shift-JIS
      {"𠮷野", "名前に使えない文字が含まれています。"},
      // Stored, these would read back as other names: ～, a backslash.
      {"1〜10", "名前に使えない文字が含まれています。"},
      {"¥100", "名前に使えない文字が含まれています。"},
      {"a\tb", "名前に使えない文字が含まれています。"},      // a tab would break record.dat apart
      {"\xff\xfe", "名前に使えない文字が含まれています。"},  // not UTF-8 at all
  };
  const std::string fileBefore = ReadBytes(RecordDat());
  for (const auto& [typed, notice] : cases) {
    notices.shown.clear();
    EXPECT_FALSE(Commit(typed)) << typed;
    ASSERT_EQ(notices.shown.size(), 1u) << typed;
    EXPECT_EQ(notices.shown[0].text, SjisLiteral(notice)) << typed;
    EXPECT_EQ(notices.shown[0].caption, "Notice");
    EXPECT_EQ(notices.shown[0].icon, NoticeIcon::kExclamation);
  }
  EXPECT_EQ(records.record(0).score, 0);
  EXPECT_EQ(ReadBytes(RecordDat()), fileBefore);
  EXPECT_EQ(controller.settings().playerName(), SjisLiteral("前の名"));
  EXPECT_FALSE(controller.settingsChanged());
}

TEST_F(RankInTest, OnlyTheBytesKeptAreChecked) {
  // The name is read to ten bytes first; what lies beyond is never stored.
  ASSERT_TRUE(Commit("abcdefghij,/"));
  EXPECT_EQ(records.record(0).name, "abcdefghij");
}

TEST_F(RankInTest, AListThatCannotBeSavedIsToldAndKeptUntilTheEnd) {
  const std::string kNotSaved = SjisLiteral(
      "NOTICE(SaveRecordList):\n記録一覧ファイルを保存できませんでした\n今回の記録は保存されません");
  // A folder in record.dat's place cannot be replaced, by anyone, root included.
  std::filesystem::remove(RecordDat());
  std::filesystem::create_directory(RecordDat());
  ASSERT_TRUE(Commit("たろう"));
  ASSERT_EQ(notices.shown.size(), 1u);
  EXPECT_EQ(notices.shown[0].text, kNotSaved);
  EXPECT_EQ(notices.shown[0].caption, "Notice");
  EXPECT_EQ(notices.shown[0].icon, NoticeIcon::kExclamation);
  EXPECT_TRUE(std::filesystem::is_directory(RecordDat()));
  // The record list shows the run until the program ends, and the name still counts.
  EXPECT_EQ(records.record(0).name, SjisLiteral("たろう"));
  EXPECT_EQ(controller.settings().playerName(), SjisLiteral("たろう"));
}

TEST_F(RankInTest, AListTooLongToReadBackIsNotWrittenAndThatIsTold) {
  const std::string fileBefore = ReadBytes(RecordDat());
  // Names as long as a hand-edited record.dat may hold: the five lines no longer fit 300 bytes.
  for (int place = 0; place < 5; ++place) {
    records.InsertRecord({std::string(50, 'n'), 1000 - place});
  }
  ASSERT_TRUE(Commit("short", {2000, 1, 1, 60, "m", 0, {}}));
  ASSERT_EQ(notices.shown.size(), 1u);
  EXPECT_EQ(notices.shown[0].text,
            SjisLiteral("NOTICE(SaveRecordList):\n記録一覧ファイルを保存できませんでした\n"
                        "今回の記録は保存されません"));
  EXPECT_EQ(ReadBytes(RecordDat()), fileBefore);
  EXPECT_EQ(records.record(0).name, "short");
}

}  // namespace
}  // namespace verselane
