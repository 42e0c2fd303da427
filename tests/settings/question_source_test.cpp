#include "settings/question_source.h"

#include <gtest/gtest.h>

#include "catalogue/poem_groups.h"
#include "base/notices.h"
#include "base/shift_jis.h"
#include "fakes/file_fakes.h"
#include "fakes/temp_folder.h"
#include "settings/settings.h"

namespace verselane {
namespace {

TEST(FileSourceLabel, NameAndPoemCount) {
  Settings settings;
  QuestionSources sources;
  EXPECT_EQ(FileSourceLabel(settings, sources), "");
  sources.SetFileList(std::vector<int>(12, 3));
  settings.SetQuestionFilePath("/home/hanako/drill/set1.vlq");
  EXPECT_EQ(FileSourceLabel(settings, sources), SjisLiteral("set1.vlq (12首)"));
  settings.SetQuestionFilePath("一枚札.vlq");  // no folder: the name whole
  EXPECT_EQ(FileSourceLabel(settings, sources), SjisLiteral("一枚札.vlq (12首)"));
  settings.SetQuestionFilePath("D:\\drill\\set2.vlq");
  EXPECT_EQ(FileSourceLabel(settings, sources), SjisLiteral("set2.vlq (12首)"));
  settings.SetQuestionFilePath("/home/1〜10—.vlq");  // never shown as another name
  EXPECT_EQ(FileSourceLabel(settings, sources), SjisLiteral("1?10?.vlq (12首)"));
}

class ChooseQuestionFileTest : public ::testing::Test {
 protected:
  TempFolder folder;
  FakeFileChooser files;
  FakeNotices notices;
  QuestionSources sources;
};

TEST_F(ChooseQuestionFileTest, AValidFileBecomesTheFileSource) {
  WriteBytes(folder.File("set1.vlq"), Scrambled("4,17,0"));
  files.answer = folder.File("set1.vlq");
  EXPECT_EQ(ChooseQuestionFile(files, notices, sources), folder.File("set1.vlq"));
  EXPECT_EQ(sources.GetGroupPoems(kFileSource), (std::vector<int>{4, 17, 0}));
  ASSERT_EQ(files.openDialogs.size(), 1u);
  const FileDialogSpec& setup = files.openDialogs[0];
  EXPECT_EQ(setup.title, SjisLiteral(" Verselane 問題ファイルの読み込み"));
  EXPECT_EQ(setup.filters.size(), 2u);
  EXPECT_EQ(setup.filters[0].first, "Verselane question files(*.vlq)");
  EXPECT_EQ(setup.filters[0].second, "*.vlq");
  EXPECT_EQ(setup.filters[1].first, "All files(*.*)");
  EXPECT_EQ(setup.defaultExtension, "vlq");
  EXPECT_EQ(setup.initialName, "*.vlq");
}

TEST_F(ChooseQuestionFileTest, CancelOrABadFileChangesNothingSilently) {
  sources.SetFileList(std::vector<int>{1, 2});
  EXPECT_EQ(ChooseQuestionFile(files, notices, sources), std::nullopt);  // cancelled
  files.answer = "";
  EXPECT_EQ(ChooseQuestionFile(files, notices, sources), std::nullopt);
  WriteBytes(folder.File("bad.vlq"), Scrambled("3,,5"));
  files.answer = folder.File("bad.vlq");
  EXPECT_EQ(ChooseQuestionFile(files, notices, sources), std::nullopt);
  EXPECT_EQ(sources.GetGroupPoems(kFileSource), (std::vector<int>{1, 2}));
  EXPECT_TRUE(notices.shown.empty());
}

TEST_F(ChooseQuestionFileTest, APathEnvIniCannotHoldIsRefusedWithANotice) {
  WriteBytes(folder.File("a\\b.vlq"), Scrambled("4"));
  files.answer = folder.File("a\\b.vlq");
  EXPECT_EQ(ChooseQuestionFile(files, notices, sources), std::nullopt);
  ASSERT_EQ(notices.shown.size(), 1u);
  EXPECT_EQ(notices.shown[0].text,
            SjisLiteral("NOTICE(ChooseQuestionFile):\nファイルのパスに\"\\\"を含むファイルは出題元に"
                        "できません\n出題元は変更しません"));
  EXPECT_EQ(notices.shown[0].caption, "Notice");
  EXPECT_EQ(sources.GetGroupSize(kFileSource), 0);

  WriteBytes(folder.File("€.vlq"), Scrambled("4"));
  files.answer = folder.File("€.vlq");
  EXPECT_EQ(ChooseQuestionFile(files, notices, sources), std::nullopt);
  ASSERT_EQ(notices.shown.size(), 2u);
  EXPECT_EQ(notices.shown[1].text, ComposeNotice(Notice::kPathNotShiftJis).text);

  const std::string longName(250, 'a');
  WriteBytes(folder.File(longName + ".vlq"), Scrambled("4"));
  files.answer = folder.File(longName + ".vlq");
  EXPECT_EQ(ChooseQuestionFile(files, notices, sources), std::nullopt);
  ASSERT_EQ(notices.shown.size(), 3u);
  EXPECT_EQ(notices.shown[2].text, ComposeNotice(Notice::kPathTooLong).text);
  EXPECT_EQ(sources.GetGroupSize(kFileSource), 0);
}

}  // namespace
}  // namespace verselane
