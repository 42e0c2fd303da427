#include "settings/settings_controller.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/shift_jis.h"
#include "fakes/file_fakes.h"
#include "fakes/temp_folder.h"

namespace verselane {
namespace {

class SettingsControllerTest : public ::testing::Test {
 protected:
  void WriteEnvIni(const std::string& decodedLine) { WriteBytes("env.ini", Scrambled(decodedLine)); }
  std::string EnvIniLine() { return Unscrambled(ReadBytes("env.ini")); }
  std::vector<std::string> NoticeTexts() {
    std::vector<std::string> texts;
    for (const auto& notice : notices.shown) {
      EXPECT_EQ(notice.caption, "Notice");
      EXPECT_EQ(notice.icon, NoticeIcon::kExclamation);
      texts.push_back(notice.text);
    }
    return texts;
  }

  TempFolder folder;
  FakeNotices notices;
  SettingsController controller{notices};
  Settings& settings = controller.settings();
};

const std::string kMissing = SjisLiteral(
    "NOTICE(LoadEnvironment):\n環境設定ファイルが見つかりません\n初期値を設定してファイルを新規生成します");
const std::string kCorrupt = SjisLiteral(
    "NOTICE(LoadEnvironment):\n環境設定ファイルが破損しています\n初期値を設定してファイルを新規生成します");
const std::string kNotSaved = SjisLiteral(
    "NOTICE(SaveEnvironment):\n環境設定ファイルを保存できませんでした\n今回の設定の変更は保存されません");
const std::string kNoQuestionFile = SjisLiteral(
    "NOTICE(LoadEnvironment):\n出題元に指定されているファイルが見つかりません\n初期値を設定しておきます");

TEST_F(SettingsControllerTest, MissingFileIsCreatedWithTheDefaults) {
  controller.LoadEnvironment();
  EXPECT_EQ(NoticeTexts(), std::vector<std::string>{kMissing});
  EXPECT_EQ(ReadBytes("env.ini"), Scrambled("0/0/100/28/1/0/1/noname"));
  EXPECT_EQ(settings.playerName(), "noname");
  EXPECT_EQ(settings.questionCount(), 100);
  EXPECT_FALSE(settings.acceptOmission());
  EXPECT_TRUE(controller.settingsChanged());
  // Written again from memory at shut-down.
  settings.SetMode(QuestionMode::Poet);
  controller.SaveEnvironment();
  EXPECT_EQ(EnvIniLine(), "2/0/100/28/1/0/1/noname");
}

TEST_F(SettingsControllerTest, AGoodFileIsReadAndLeftAloneWhenNothingChanged) {
  WriteEnvIni("1/5/43/28/1/1/0/hanako");
  controller.LoadEnvironment();
  EXPECT_TRUE(notices.shown.empty());
  EXPECT_EQ(settings.mode(), QuestionMode::Reverse);
  EXPECT_EQ(settings.source(), 5);
  EXPECT_EQ(settings.questionCount(), 43);
  EXPECT_TRUE(settings.acceptOmission());
  EXPECT_FALSE(settings.playSounds());
  EXPECT_EQ(settings.playerName(), "hanako");
  EXPECT_FALSE(controller.settingsChanged());
  settings.SetQuestionCount(7);  // a change nobody marked
  controller.SaveEnvironment();
  EXPECT_EQ(EnvIniLine(), "1/5/43/28/1/1/0/hanako");
}

TEST_F(SettingsControllerTest, CorruptFilesAreReset) {
  for (const std::string& bytes :
       {std::string(), Scrambled("0/0/100/28/1/0/1/"), Scrambled("0/0/100/28/1/0/1/a/b"),
        Scrambled("0/0/100/28/1/0/1/" + std::string(266, 'n')),  // 283 bytes: two pieces
        Scrambled("0/0/100/28/1/0/1/a") + "\r\n" + Scrambled("0/0/100/28/1/0/1/b"),
        std::string("0/0/100/28/1/0/1/noname")}) {  // plain, not scrambled
    WriteBytes("env.ini", bytes);
    FakeNotices freshNotices;
    SettingsController loader(freshNotices);
    loader.LoadEnvironment();
    ASSERT_EQ(freshNotices.shown.size(), 1u);
    EXPECT_EQ(freshNotices.shown[0].text, kCorrupt);
    EXPECT_EQ(ReadBytes("env.ini"), Scrambled("0/0/100/28/1/0/1/noname"));
    EXPECT_EQ(loader.settings().playerName(), "noname");
  }
  WriteEnvIni("0/0/100/28/1/0/1/" + std::string(265, 'n'));  // 282 bytes still fit
  controller.LoadEnvironment();
  EXPECT_TRUE(notices.shown.empty());
}

TEST_F(SettingsControllerTest, AMissingQuestionFileFallsBackToAllPoems) {
  WriteEnvIni("0/abc/12/28/1/1/1/noname");
  controller.LoadEnvironment();
  EXPECT_EQ(NoticeTexts(), std::vector<std::string>{kNoQuestionFile});
  EXPECT_EQ(settings.source(), 0);
  EXPECT_TRUE(settings.questionFilePath().empty());
  EXPECT_EQ(settings.questionCount(), 12);
  EXPECT_TRUE(controller.settingsChanged());

  FakeNotices otherNotices;
  SettingsController numeric(otherNotices);
  WriteEnvIni("0/15/12/28/1/1/1/noname");  // 15 as a number names no file
  numeric.LoadEnvironment();
  EXPECT_EQ(otherNotices.shown.size(), 1u);
  EXPECT_EQ(numeric.settings().source(), 0);
}

TEST_F(SettingsControllerTest, AQuestionFileSourceIsStoredAndReadBack) {
  WriteBytes("set1.vlq", Scrambled("4,17,0"));
  const std::string path = folder.File("set1.vlq");
  std::string stored = path;
  std::replace(stored.begin(), stored.end(), '/', '\\');
  WriteEnvIni("0/" + stored + "/3/28/1/1/1/noname");
  controller.LoadEnvironment();
  EXPECT_TRUE(notices.shown.empty());
  EXPECT_EQ(settings.source(), 15);
  EXPECT_EQ(settings.questionFilePath(), path);
  EXPECT_EQ(controller.sources().GetGroupPoems(15), (std::vector<int>{4, 17, 0}));
  controller.MarkChanged();
  controller.SaveEnvironment();
  EXPECT_EQ(EnvIniLine(), "0/" + stored + "/3/28/1/1/1/noname");
}

TEST_F(SettingsControllerTest, NumbersOutOfRangeAreBroughtIntoRange) {
  WriteEnvIni("0/6/500/150/1/0/1/p");
  controller.LoadEnvironment();
  EXPECT_TRUE(notices.shown.empty());
  EXPECT_EQ(settings.source(), 6);
  EXPECT_EQ(settings.questionCount(), 7);  // the group's size
  EXPECT_EQ(settings.favouritePoem(), 28);
  EXPECT_TRUE(controller.settingsChanged());

  SettingsController second(notices);
  WriteEnvIni("0/-4/0/99/1/0/1/p");
  second.LoadEnvironment();
  EXPECT_EQ(second.settings().source(), 0);
  EXPECT_EQ(second.settings().questionCount(), 1);
  EXPECT_EQ(second.settings().favouritePoem(), 99);
  EXPECT_TRUE(second.settingsChanged());
}

TEST_F(SettingsControllerTest, ASaveThatFailsIsToldAndAnUnchangedOneIsNotTried) {
  WriteEnvIni("1/5/43/28/1/1/0/hanako");
  controller.LoadEnvironment();
  // A folder in env.ini's place cannot be replaced, by anyone, root included.
  std::filesystem::remove("env.ini");
  std::filesystem::create_directory("env.ini");
  WriteBytes("env.ini/kept", "x");

  controller.SaveEnvironment();  // nothing changed: nothing to write, nothing to tell
  EXPECT_TRUE(notices.shown.empty());

  settings.SetMode(QuestionMode::Poet);
  controller.MarkChanged();
  controller.SaveEnvironment();
  EXPECT_EQ(NoticeTexts(), std::vector<std::string>{kNotSaved});
  EXPECT_TRUE(std::filesystem::is_directory("env.ini"));
  EXPECT_EQ(ReadBytes("env.ini/kept"), "x");

  // Once env.ini can be written again the same settings go out without a word.
  std::filesystem::remove_all("env.ini");
  notices.shown.clear();
  controller.SaveEnvironment();
  EXPECT_TRUE(notices.shown.empty());
  EXPECT_EQ(EnvIniLine(), "2/5/43/28/1/1/0/hanako");
}

}  // namespace
}  // namespace verselane
