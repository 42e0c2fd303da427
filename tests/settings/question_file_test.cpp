#include "settings/question_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <numeric>
#include <string>
#include <vector>

#include "catalogue/poem_groups.h"
#include "base/notices.h"
#include "base/shift_jis.h"
#include "fakes/file_fakes.h"
#include "fakes/temp_folder.h"
#include "settings/settings_controller.h"

namespace verselane {
namespace {

using Poems = std::vector<int>;

TEST(QuestionListTest, PoemsAreJoinedByCommas) {
  EXPECT_EQ(FormatQuestionList(Poems{4, 17, 0}), "4,17,0");
  EXPECT_EQ(FormatQuestionList(Poems{99}), "99");
}

TEST(QuestionListTest, EveryPieceMustNameAPoem) {
  EXPECT_EQ(ParseQuestionList("4,17,0"), (Poems{4, 17, 0}));
  EXPECT_EQ(ParseQuestionList("7"), (Poems{7}));
  EXPECT_EQ(ParseQuestionList("3,3,0,99"), (Poems{3, 3, 0, 99}));  // duplicates kept
  for (const char* text : {"", "3,,5", "3,5,", ",3", ","}) {
    EXPECT_EQ(ParseQuestionList(text), std::nullopt) << text;
  }
  // Outside the hundred poems: the whole file is refused, so no such entry reaches a run.
  for (const char* text : {"-3", "100", "5,100", "99999999999", "5,-1,6"}) {
    EXPECT_EQ(ParseQuestionList(text), std::nullopt) << text;
  }
}

TEST(QuestionListTest, PiecesAreReadAsForgivingDecimals) {
  EXPECT_EQ(ParseQuestionList("x"), (Poems{0}));  // no digits: poem no. 1
  EXPECT_EQ(ParseQuestionList("12x"), (Poems{12}));
  EXPECT_EQ(ParseQuestionList(" 5,+6,\t7"), (Poems{5, 6, 7}));
  EXPECT_EQ(ParseQuestionList("2+1+0"), (Poems{2}));
}

class QuestionFileTest : public ::testing::Test {
 protected:
  QuestionFileTest() {
    for (int poem : {4, 17, 0}) missed.push_back(poem);
    const Poems previous = {10, 20, 30, 40, 50};
    controller.sources().SetFileList(previous);
  }
  std::string ScrambledFile(const std::string& name, std::string text) {
    WriteBytes(folder.File(name), Scrambled(text));
    return folder.File(name);
  }
  Poems FileList() const { return controller.sources().GetGroupPoems(kFileSource); }
  // Saves as the results dialog does, telling a failure.
  FileStatus Write() {
    FileStatus saved = WriteQuestionFile(missed, controller, files);
    TellIfFailed(notices, FileTask::kSaveChosenFile, saved);
    return saved;
  }
  FileStatus Load(const std::string& path) { return LoadQuestionFile(path, controller.sources()); }

  TempFolder folder;
  std::vector<int> missed;
  FakeNotices notices;
  FakeFileChooser files;
  SettingsController controller{folder.File("env.ini")};
};

TEST_F(QuestionFileTest, WrongAnswersAreSavedAsOneScrambledLine) {
  files.answer = folder.File("wrong.vlq");
  ASSERT_TRUE(Write().ok());
  EXPECT_EQ(ReadBytes(folder.File("wrong.vlq")), "1-82-5");
  EXPECT_TRUE(notices.shown.empty());

  ASSERT_EQ(Load(folder.File("wrong.vlq")), FileStatus::Ok(folder.File("wrong.vlq")));
  EXPECT_EQ(FileList(), (Poems{4, 17, 0}));
}

TEST_F(QuestionFileTest, TheSaveDialogIsSetUpForQuestionFiles) {
  files.answer = std::nullopt;
  EXPECT_EQ(Write(), FileStatus()) << "cancelled: nothing to tell";
  ASSERT_EQ(files.saveDialogs.size(), 1u);
  const FileDialogSpec expected = {
      SjisLiteral(" Verselane 問題ファイルの生成"),
      {{"Verselane question file(*.vlq)", "*.vlq"}, {"All files(*.*)", "*.*"}},
      "vlq",
      SjisLiteral("Verselane_問題.vlq")};
  EXPECT_EQ(DialogFields(files.saveDialogs[0]), DialogFields(expected));
}

TEST_F(QuestionFileTest, NothingIsWrittenWithoutWrongAnswersOrAName) {
  files.answer = "";
  EXPECT_EQ(Write(), FileStatus());  // an empty name

  missed.clear();
  files.answer = folder.File("none.vlq");
  EXPECT_EQ(Write(), FileStatus());
  EXPECT_EQ(files.saveDialogs.size(), 1u);  // no dialog without wrong answers
  EXPECT_FALSE(std::filesystem::exists(folder.File("none.vlq")));
  EXPECT_TRUE(notices.shown.empty());
}

TEST_F(QuestionFileTest, AFileThatCannotBeWrittenIsReportedAndChangesNothing) {
  const std::string path = folder.File("in_use.vlq");
  controller.settings().SetSource(kFileSource);
  controller.settings().SetQuestionFilePath(path);
  controller.settings().SetQuestionCount(10);
  std::filesystem::create_directory(path);  // cannot be replaced by a file
  files.answer = path;
  EXPECT_EQ(Write(), FileStatus::NotRegularFile(path));
  ASSERT_EQ(notices.shown.size(), 1u);
  EXPECT_EQ(notices.shown[0].text, ComposeNotice(Notice::kChosenFileNotSaved, path).text);
  EXPECT_EQ(FileList(), (Poems{10, 20, 30, 40, 50}));
  EXPECT_EQ(controller.settings().questionCount(), 10);
}

TEST_F(QuestionFileTest, OverwritingTheFileInUseTakesItInAndLowersTheCount) {
  const std::string path = folder.File("in_use.vlq");
  WriteBytes(path, "1-82-5");  // any valid file
  controller.settings().SetSource(kFileSource);
  controller.settings().SetQuestionFilePath(path);
  controller.settings().SetQuestionCount(10);
  missed.push_back(9);

  files.answer = path;
  ASSERT_TRUE(Write().ok());
  EXPECT_EQ(FileList(), (Poems{4, 17, 0, 9}));
  EXPECT_EQ(controller.settings().questionCount(), 4);
  EXPECT_TRUE(controller.settingsChanged());
}

TEST_F(QuestionFileTest, ACountThatStillFitsIsKept) {
  const std::string path = folder.File("in_use.vlq");
  controller.settings().SetSource(kFileSource);
  controller.settings().SetQuestionFilePath(path);
  controller.settings().SetQuestionCount(3);
  files.answer = path;
  ASSERT_TRUE(Write().ok());
  EXPECT_EQ(FileList(), (Poems{4, 17, 0}));
  EXPECT_EQ(controller.settings().questionCount(), 3);
  EXPECT_FALSE(controller.settingsChanged());
}

TEST_F(QuestionFileTest, AnotherFileLeavesTheSourceAlone) {
  controller.settings().SetSource(kFileSource);
  controller.settings().SetQuestionFilePath(folder.File("in_use.vlq"));
  controller.settings().SetQuestionCount(5);
  files.answer = folder.File("other.vlq");
  ASSERT_TRUE(Write().ok());
  EXPECT_EQ(FileList(), (Poems{10, 20, 30, 40, 50}));
  EXPECT_EQ(controller.settings().questionCount(), 5);
  EXPECT_EQ(controller.settings().source(), kFileSource);
  EXPECT_FALSE(controller.settingsChanged());
}

TEST_F(QuestionFileTest, TheSamePathIsNotInUseUnderAnotherSource) {
  const std::string path = folder.File("in_use.vlq");
  controller.settings().SetSource(3);
  controller.settings().SetQuestionFilePath(path);
  controller.settings().SetQuestionCount(10);
  files.answer = path;
  ASSERT_TRUE(Write().ok());
  EXPECT_EQ(FileList(), (Poems{10, 20, 30, 40, 50}));
  EXPECT_EQ(controller.settings().questionCount(), 10);
}

TEST_F(QuestionFileTest, AnInvalidFileLeavesTheListAsItWas) {
  std::vector<std::string> invalid = {folder.File("missing.vlq")};
  for (const std::string& text : {std::string(), std::string("3,,5"), std::string("3,5,"),
                                  std::string(",3"), std::string("3,100"), std::string("-3")}) {
    invalid.push_back(ScrambledFile("bad" + std::to_string(invalid.size()) + ".vlq", text));
  }
  WriteBytes(folder.File("two_lines.vlq"), "4\r\n5");
  invalid.push_back(folder.File("two_lines.vlq"));
  for (const std::string& path : invalid) {
    const FileStatus loaded = Load(path);
    // Missing, or there but no question file.
    EXPECT_EQ(loaded.code(), path == invalid[0] ? FileStatus::Code::kNotFound
                                                : FileStatus::Code::kCorrupt)
        << path;
    EXPECT_EQ(loaded.path(), path);
    EXPECT_EQ(FileList(), (Poems{10, 20, 30, 40, 50})) << path;
  }
}

TEST_F(QuestionFileTest, AFileMustFitInFourHundredNinetyNineBytes) {
  ASSERT_TRUE(Load(ScrambledFile("fits.vlq", FormatQuestionList(Poems(250, 1)))).ok());  // 499 bytes
  EXPECT_EQ(FileList(), Poems(250, 1));
  // 500 bytes arrive as two pieces, which no question file is.
  EXPECT_EQ(Load(ScrambledFile("long.vlq", FormatQuestionList(Poems(249, 1)) + ",10")).code(),
            FileStatus::Code::kCorrupt);
  EXPECT_EQ(FileList(), Poems(250, 1));
}

TEST_F(QuestionFileTest, WhatAFileHoldsIsReadAsDecodedText) {
  WriteBytes(folder.File("plain.vlq"), "1,2,3");  // never scrambled: decodes to 2+1+0
  ASSERT_TRUE(Load(folder.File("plain.vlq")).ok());
  EXPECT_EQ(FileList(), (Poems{2}));

  WriteBytes(folder.File("seven.vlq"), "8");
  ASSERT_TRUE(Load(folder.File("seven.vlq")).ok());
  EXPECT_EQ(FileList(), (Poems{7}));
}

TEST_F(QuestionFileTest, AllHundredPoemsMakeTheLongestFile) {
  Poems all(100);
  std::iota(all.begin(), all.end(), 0);
  const std::string path = ScrambledFile("all.vlq", FormatQuestionList(all));
  EXPECT_EQ(ReadBytes(path).size(), 289u);
  ASSERT_TRUE(Load(path).ok());
  EXPECT_EQ(FileList(), all);
}

}  // namespace
}  // namespace verselane
