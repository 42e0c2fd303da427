#include "records/result_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/notices.h"
#include "base/shift_jis.h"
#include "fakes/file_fakes.h"
#include "fakes/temp_folder.h"
#include "catalogue/poem_catalogue.h"
#include "records/mode_label.h"

namespace verselane {
namespace {

// The run of 10 questions, 7 correct, 823 points, with poems no. 3, 1 and 2 answered wrongly.
constexpr const char* kResultText =
    "===================================\n"
    " Verselane 結果ファイル\n"
    "===================================\n"
    "\n"
    "記録日時：26/06/05 12:00\n"
    "出題数  ：10\n"
    "回答数  ：10\n"
    "\n"
    "出題形式：普通\n"
    "総得点  ：823\n"
    "正答数  ：7\n"
    "正答率  ：70%\n"
    "\n"
    "誤答した歌---\n"
    "足曳の山鳥の尾のしだり尾の長々し夜を独りかも寝む ／ 柿本人麿(かきのもとのひとまろ)\n"
    "秋の田の仮庵の庵の苫をあらみわが衣手は露にぬれつつ ／ 天智天皇(てんちてんのう)\n"
    "春過ぎて夏来にけらし白妙の衣ほすてふ天の香具山 ／ 持統天皇(じとうてんのう)\n";

std::string WithCrLf(const std::string& text) {
  std::string onDisk;
  for (const char byte : text) {
    if (byte == '\n') onDisk += '\r';
    onDisk += byte;
  }
  return onDisk;
}

class ResultFileTest : public ::testing::Test {
 protected:
  ResultFileTest() {
    run.questionCount = 10;
    run.answers = 10;
    run.correct = 7;
    run.score = 823;
    run.modeLabel = ModeLabel(QuestionMode::Normal, false);
    run.missedPoems = {2, 0, 1};
  }
  std::string Text() { return ResultFileText(run, catalogue, {2026, 6, 5, 12, 0}); }
  // Saves as the results dialog does, telling a failure.
  FileStatus Write() {
    FileStatus saved = WriteResultFile(run, catalogue, files, clock);
    TellIfFailed(notices, FileTask::kSaveChosenFile, saved);
    return saved;
  }

  TempFolder folder;
  const PoemCatalogue catalogue;
  RunFigures run;
  FakeNotices notices;
  FakeFileChooser files;
  FakeClock clock{{2026, 6, 5, 12, 0}};
};

TEST_F(ResultFileTest, TheReportNamesTheRunAndItsWrongPoems) {
  EXPECT_EQ(Text(), SjisLiteral(kResultText));
}

TEST_F(ResultFileTest, ARunWithoutWrongAnswersEndsWithTheRate) {
  run.missedPoems.clear();
  const std::string text = Text();
  const std::string rateLine = SjisLiteral("正答率  ：70%\n");
  ASSERT_GE(text.size(), rateLine.size());
  EXPECT_EQ(text.substr(text.size() - rateLine.size()), rateLine);
  EXPECT_EQ(text, SjisLiteral(kResultText).substr(0, text.size()));
}

TEST_F(ResultFileTest, TheFiguresFollowTheRun) {
  run.modeLabel = ModeLabel(QuestionMode::Poet, true);
  run.questionCount = 40;
  run.answers = 100;
  run.correct = 29;
  run.score = 0;
  const std::string text = Text();
  EXPECT_NE(text.find(SjisLiteral("出題数  ：40\n回答数  ：100\n")), std::string::npos);
  EXPECT_NE(text.find(SjisLiteral("出題形式：詠人*\n総得点  ：0\n正答数  ：29\n正答率  ：28%\n")),
            std::string::npos);
}

TEST_F(ResultFileTest, TheSavedFileHasCrLfLineEnds) {
  files.answer = folder.File("result.txt");
  ASSERT_EQ(Write(), FileStatus::Ok(folder.File("result.txt")));
  EXPECT_EQ(ReadBytes(folder.File("result.txt")), WithCrLf(SjisLiteral(kResultText)));
  EXPECT_EQ(clock.reads, 1);
  EXPECT_TRUE(notices.shown.empty());
}

TEST_F(ResultFileTest, TheSaveDialogIsSetUpForTextFiles) {
  files.answer = std::nullopt;
  EXPECT_EQ(Write(), FileStatus()) << "cancelled: nothing to tell";
  ASSERT_EQ(files.saveDialogs.size(), 1u);
  const FileDialogSpec expected = {SjisLiteral(" Verselane 結果ファイルの生成"),
                                   {{"Text file(*.txt)", "*.txt"}, {"All files(*.*)", "*.*"}},
                                   "txt",
                                   SjisLiteral("Verselane_結果.txt")};
  EXPECT_EQ(DialogFields(files.saveDialogs[0]), DialogFields(expected));
}

TEST_F(ResultFileTest, NothingIsWrittenWithoutAName) {
  files.answer = "";
  EXPECT_EQ(Write(), FileStatus());
  EXPECT_EQ(clock.reads, 0);
  EXPECT_TRUE(notices.shown.empty());
  EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
}

TEST_F(ResultFileTest, AFileThatCannotBeWrittenIsReported) {
  files.answer = folder.path() + "/missing/result.txt";
  EXPECT_EQ(Write(), FileStatus::NotFound(*files.answer));
  ASSERT_EQ(notices.shown.size(), 1u);
  EXPECT_EQ(notices.shown[0].text, ComposeNotice(Notice::kChosenFileNotSaved, *files.answer).text);
}

}  // namespace
}  // namespace verselane
