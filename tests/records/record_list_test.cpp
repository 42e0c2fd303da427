#include "records/record_list.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/shift_jis.h"
#include "fakes/file_fakes.h"
#include "fakes/temp_folder.h"

namespace verselane {
namespace {

constexpr const char* kDefaultLine = "noname,0,00:00:00,0,-,00/00/00 00:00";

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += (text.empty() ? "" : "\n") + line;
  return text;
}

std::vector<std::string> DefaultLines() { return std::vector<std::string>(5, kDefaultLine); }

// A record line with the given name and score and fixed other fields.
std::string Line(const std::string& name, int score) {
  return name + "," + std::to_string(score) + ",00:12:34,70," + SjisLiteral("普通") +
         ",26/03/07 09:05";
}

class RecordListTest : public ::testing::Test {
 protected:
  std::string RecordDat() const { return folder.File("record.dat"); }
  void WriteRecordFile(const std::vector<std::string>& lines) {
    WriteBytes(RecordDat(), Scrambled(Joined(lines)));
  }
  // As the program starts.
  void Load(RecordList& records) { LoadRecordListAtStartUp(records, notices); }
  // What the file holds, unscrambled; fails the test when it is not one line without a line end.
  std::string DecodedRecordFile() {
    std::string bytes = ReadBytes(RecordDat());
    EXPECT_EQ(bytes.find_first_of("\r\n"), std::string::npos);
    return Unscrambled(bytes);
  }
  void ExpectDefaults(const RecordList& list) {
    for (int position = 0; position < RecordList::kSize; ++position) {
      EXPECT_EQ(FormatRecordLine(list.record(position)), kDefaultLine) << position;
    }
  }
  void ExpectNotice(const char* utf8) {
    ASSERT_EQ(notices.shown.size(), 1u);
    EXPECT_EQ(notices.shown[0].text, SjisLiteral(utf8));
    EXPECT_EQ(notices.shown[0].caption, "Notice");
    EXPECT_EQ(notices.shown[0].icon, NoticeIcon::kExclamation);
  }
  void ExpectCorruptFileReplaced() {
    ExpectNotice(
        "NOTICE(LoadRecordList):"
        "\n記録一覧ファイルが破損しています\n初期値を設定してファイルを新規生成します");
    ExpectDefaults(list);
    EXPECT_EQ(DecodedRecordFile(), Joined(DefaultLines()));
  }

  TempFolder folder;
  FakeNotices notices;
  RecordList list{RecordDat()};
};

TEST(RecordFormatTest, FieldsAreJoinedAndFormattedAsStored) {
  EXPECT_EQ(FormatRecordLine(ScoreRecord{}), kDefaultLine);
  EXPECT_EQ(FormatRecordLine({"a", -5, "t", "r", "m", "d"}), "a,-5,t,r,m,d");
  EXPECT_EQ(FormatRecordDate({2026, 3, 7, 9, 5}), "26/03/07 09:05");
  EXPECT_EQ(FormatRecordDate({2031, 12, 31, 23, 59}), "31/12/31 23:59");
}

TEST_F(RecordListTest, ParseRecordLineNeedsFiveSeparatorsAndADate) {
  EXPECT_TRUE(list.ParseRecordLine(SjisLiteral("花子,1200,00:03:20,85,詠人*,26/03/07 09:05"), 2));
  const ScoreRecord& record = list.record(2);
  EXPECT_EQ(record.name, SjisLiteral("花子"));
  EXPECT_EQ(record.score, 1200);
  EXPECT_EQ(record.time, "00:03:20");
  EXPECT_EQ(record.rate, "85");
  EXPECT_EQ(record.mode, SjisLiteral("詠人*"));
  EXPECT_EQ(record.date, "26/03/07 09:05");

  // Only the separators and the date are tested: empty name, time, rate and mode pass.
  EXPECT_TRUE(list.ParseRecordLine("a,1,,,,x", 0));
  EXPECT_EQ(FormatRecordLine(list.record(0)), "a,1,,,,x");
  EXPECT_TRUE(list.ParseRecordLine(",0,,,,x", 0));
  EXPECT_EQ(list.record(0).name, "");

  EXPECT_FALSE(list.ParseRecordLine("a,1,t,r,m,d,extra", 1));  // six separators
  EXPECT_FALSE(list.ParseRecordLine("a,1,t,r,d", 1));          // four
  EXPECT_FALSE(list.ParseRecordLine("a,1,t,r,m,", 1));         // empty date
  EXPECT_FALSE(list.ParseRecordLine("noname", 1));
  EXPECT_FALSE(list.ParseRecordLine("", 1));
  EXPECT_FALSE(list.ParseRecordLine("a,1,t,r,m,d", 5));  // no such place
}

TEST_F(RecordListTest, ParseRecordLineReadsTheScoreForgivingly) {
  const std::pair<const char*, int> cases[] = {{"12x", 12}, {"x", 0},  {"", 0},
                                               {" -3", -3}, {"+7", 7}, {"99999999999", 2147483647}};
  for (const auto& [field, score] : cases) {
    ASSERT_TRUE(list.ParseRecordLine(std::string("a,") + field + ",t,r,m,d", 0)) << field;
    EXPECT_EQ(list.record(0).score, score) << field;
  }
}

TEST_F(RecordListTest, ALineWithAControlByteIsNotARecord) {
  // A line that ended in a line end before decoding comes out with a tab in front.
  EXPECT_FALSE(list.ParseRecordLine(std::string("\t") + kDefaultLine, 0));
  EXPECT_FALSE(list.ParseRecordLine("a\rb,1,t,r,m,d", 0));
  EXPECT_FALSE(list.ParseRecordLine("a\x7f,1,t,r,m,d", 0));
}

TEST_F(RecordListTest, FirstStartCreatesTheDefaultList) {
  Load(list);
  ExpectNotice(
      "NOTICE(LoadRecordList):"
      "\n記録一覧ファイルが読み込めませんでした\n初期値を設定してファイルを新規生成します");
  ExpectDefaults(list);
  // Five lines, scrambled into one physical line without any line end.
  EXPECT_EQ(ReadBytes(RecordDat()), Scrambled(Joined(DefaultLines())));
}

// The load itself only reads; the caller tells the player, and the new file follows the notice
// that announces it.
TEST_F(RecordListTest, LoadingSaysWhyAndWritesNothing) {
  EXPECT_EQ(list.LoadRecordList(), FileStatus::NotFound(RecordDat()));
  EXPECT_FALSE(std::filesystem::exists(RecordDat()));
  ExpectDefaults(list);
  WriteRecordFile({Line("a", 900), Line("b", 800), Line("c", 700)});
  const std::string corrupt = ReadBytes(RecordDat());
  EXPECT_EQ(list.LoadRecordList(), FileStatus::Corrupt(RecordDat()));
  ExpectDefaults(list);  // the good records before the gap go too
  EXPECT_EQ(ReadBytes(RecordDat()), corrupt);

  std::vector<std::string> onDiskWhileTold;
  notices.whileShown = [&] { onDiskWhileTold.push_back(ReadBytes(RecordDat())); };
  Load(list);
  EXPECT_EQ(onDiskWhileTold, std::vector<std::string>{corrupt});
  EXPECT_EQ(DecodedRecordFile(), Joined(DefaultLines()));
}

TEST_F(RecordListTest, AStoredListLoadsAsItIs) {
  const std::vector<std::string> lines = {Line(SjisLiteral("一郎"), 900), Line("b", 800),
                                          Line("c", 700), Line("d", 600), Line("e", 0)};
  WriteRecordFile(lines);
  const std::string before = ReadBytes(RecordDat());
  EXPECT_EQ(list.LoadRecordList(), FileStatus::Ok(RecordDat()));
  Load(list);
  EXPECT_TRUE(notices.shown.empty());
  for (int position = 0; position < RecordList::kSize; ++position) {
    EXPECT_EQ(FormatRecordLine(list.record(position)), lines[position]);
  }
  EXPECT_EQ(ReadBytes(RecordDat()), before);  // loading never writes
}

TEST_F(RecordListTest, AListThatWasNotScrambledIsCorrupt) {
  WriteBytes(RecordDat(), Joined(DefaultLines()));
  Load(list);
  ExpectCorruptFileReplaced();
}

TEST_F(RecordListTest, OneBadLineReplacesTheWholeList) {
  WriteRecordFile({Line("a", 900), Line("b", 800), Line("c", 700), "d,600,,,", Line("e", 500)});
  Load(list);
  ExpectCorruptFileReplaced();  // the three good records before it go too
}

TEST_F(RecordListTest, FewerThanFiveLinesAreCorrupt) {
  WriteRecordFile({Line("a", 900), Line("b", 800), Line("c", 700)});
  Load(list);
  ExpectCorruptFileReplaced();
}

TEST_F(RecordListTest, AnEmptyFileIsCorrupt) {
  WriteBytes(RecordDat(), "");
  Load(list);
  ExpectCorruptFileReplaced();
}

TEST_F(RecordListTest, ASixthLineIsDropped) {
  std::vector<std::string> lines = {Line("a", 6), Line("b", 5), Line("c", 4),
                                    Line("d", 3), Line("e", 2), Line("f", 1)};
  WriteRecordFile(lines);
  Load(list);
  EXPECT_TRUE(notices.shown.empty());
  EXPECT_EQ(list.record(4).name, "e");
}

TEST_F(RecordListTest, TheFileMustFitInThreeHundredBytes) {
  // Five records whose first name is long enough to make the file `bytes` long.
  auto recordsOfSize = [](std::size_t bytes) {
    std::vector<std::string> lines(5, Line("n", 1));
    const std::size_t besidesFirstName = Joined(lines).size() - 1;
    lines[0] = Line(std::string(bytes - besidesFirstName, 'n'), 1);
    return lines;
  };
  WriteRecordFile(recordsOfSize(300));
  ASSERT_EQ(ReadBytes(RecordDat()).size(), 300u);
  Load(list);
  EXPECT_TRUE(notices.shown.empty());
  EXPECT_EQ(FormatRecordLine(list.record(0)), recordsOfSize(300)[0]);
  const std::string full = ReadBytes(RecordDat());
  EXPECT_TRUE(list.SaveRecordList().ok());  // and it is written back byte for byte
  EXPECT_EQ(ReadBytes(RecordDat()), full);

  WriteRecordFile(recordsOfSize(301));
  ASSERT_EQ(ReadBytes(RecordDat()).size(), 301u);
  Load(list);
  ExpectCorruptFileReplaced();
}

TEST_F(RecordListTest, AListTooLongToReadBackIsNotWritten) {
  WriteRecordFile(DefaultLines());
  const std::string before = ReadBytes(RecordDat());
  for (int score = 1; score <= 5; ++score) list.InsertRecord({std::string(60, 'n'), score});
  EXPECT_EQ(list.SaveRecordList(), FileStatus::Corrupt(RecordDat()));
  EXPECT_EQ(ReadBytes(RecordDat()), before);
  EXPECT_EQ(list.record(0).score, 5);
}

TEST_F(RecordListTest, LinesScrambledOneByOneAreCorrupt) {
  // Each physical line decodes on its own with a tab in front: not a record of this program.
  std::string bytes;
  for (const std::string& line : DefaultLines()) bytes += Scrambled(line) + "\r\n";
  WriteBytes(RecordDat(), bytes);
  Load(list);
  ExpectCorruptFileReplaced();
}

TEST_F(RecordListTest, RankPositionsGoBelowEqualScores) {
  for (int score : {500, 400, 400, 300, 200}) list.InsertRecord({"x", score});
  EXPECT_EQ(list.FindRankPosition(400), 3);
  EXPECT_EQ(list.FindRankPosition(1000), 0);
  EXPECT_EQ(list.FindRankPosition(500), 1);
  EXPECT_EQ(list.FindRankPosition(201), 4);
  EXPECT_EQ(list.FindRankPosition(200), -1);
  EXPECT_EQ(list.FindRankPosition(0), -1);
}

TEST_F(RecordListTest, OnlyAPositiveScoreEntersAnEmptyList) {
  EXPECT_EQ(list.FindRankPosition(1), 0);
  EXPECT_EQ(list.FindRankPosition(102000), 0);
  EXPECT_EQ(list.FindRankPosition(0), -1);
  EXPECT_EQ(list.FindRankPosition(-10), -1);
}

TEST_F(RecordListTest, InsertingPushesTheFifthOut) {
  for (int score : {500, 400, 300, 200, 100}) list.InsertRecord({std::to_string(score), score});
  list.InsertRecord({"new", 400});  // the older 400 stands higher
  const char* names[] = {"500", "400", "new", "300", "200"};
  for (int position = 0; position < RecordList::kSize; ++position) {
    EXPECT_EQ(list.record(position).name, names[position]);
  }
  list.InsertRecord({"low", 150});  // not above the fifth: nothing changes
  EXPECT_EQ(list.record(4).name, "200");
}

TEST_F(RecordListTest, ASavedListLoadsBackTheSame) {
  list.InsertRecord(
      {SjisLiteral("表示"), 823, "01:02:05", "28", SjisLiteral("逆順*"), "26/03/07 09:05"});
  list.InsertRecord({"b", 10, "00:00:07", "100", SjisLiteral("普通"), "26/03/08 10:00"});
  ASSERT_EQ(list.SaveRecordList(), FileStatus::Ok(RecordDat()));
  EXPECT_EQ(DecodedRecordFile(),
            Joined({FormatRecordLine(list.record(0)), FormatRecordLine(list.record(1)),
                    kDefaultLine, kDefaultLine, kDefaultLine}));

  RecordList loaded(RecordDat());
  Load(loaded);
  EXPECT_TRUE(notices.shown.empty());
  for (int position = 0; position < RecordList::kSize; ++position) {
    EXPECT_EQ(FormatRecordLine(loaded.record(position)), FormatRecordLine(list.record(position)));
  }
}

TEST_F(RecordListTest, AListThatCannotBeSavedStaysInMemory) {
  const std::string path = folder.File("no/such/folder/record.dat");
  RecordList nowhere(path);
  nowhere.InsertRecord({"a", 5});
  EXPECT_EQ(nowhere.SaveRecordList(), FileStatus::NotFound(path));
  EXPECT_EQ(nowhere.ResetRecordList(), FileStatus::NotFound(path));
  ExpectDefaults(nowhere);
  nowhere.InsertRecord({"b", 7});
  EXPECT_EQ(nowhere.record(0).name, "b");
  EXPECT_TRUE(notices.shown.empty());
}

TEST_F(RecordListTest, TheDialogShowsSixTextsAPlace) {
  list.InsertRecord(
      {SjisLiteral("花子"), 1200, "00:03:20", "85", SjisLiteral("詠人*"), "26/03/07 09:05"});
  const auto texts = RecordListTexts(list);
  const std::string first[] = {SjisLiteral("花子"),  "1200",          "00:03:20", "85%",
                               SjisLiteral("詠人*"), "26/03/07 09:05"};
  for (int field = 0; field < kRecordListTextsPerRow; ++field)
    EXPECT_EQ(texts[field], first[field]);
  const std::string defaults[] = {"noname", "0", "00:00:00", "0%", "-", "00/00/00 00:00"};
  for (int position = 1; position < RecordList::kSize; ++position) {
    for (int field = 0; field < kRecordListTextsPerRow; ++field) {
      EXPECT_EQ(texts[position * kRecordListTextsPerRow + field], defaults[field]);
    }
  }
}

}  // namespace
}  // namespace verselane
