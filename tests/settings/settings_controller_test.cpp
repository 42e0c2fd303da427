#include "settings/settings_controller.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "base/shift_jis.h"
#include "fakes/file_fakes.h"
#include "fakes/temp_folder.h"

namespace verselane {
namespace {

class SettingsControllerTest : public ::testing::Test {
 protected:
  std::string EnvIni() const { return folder.File("env.ini"); }
  void WriteEnvIni(const std::string& decodedLine) { WriteBytes(EnvIni(), Scrambled(decodedLine)); }
  std::string EnvIniLine() { return Unscrambled(ReadBytes(EnvIni())); }
  // As the program starts and ends.
  void Load(SettingsController& loader, NoticePort& told) { LoadEnvironmentAtStartUp(loader, told); }
  void Load() { Load(controller, notices); }
  void Save() { SaveEnvironmentAtShutDown(controller, notices); }
  std::vector<std::string> NoticeTexts() {
    EXPECT_TRUE(notices.allFileNotices());
    return notices.texts();
  }

  TempFolder folder;
  FakeNotices notices;
  SettingsController controller{EnvIni()};
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
  Load();
  EXPECT_EQ(NoticeTexts(), std::vector<std::string>{kMissing});
  EXPECT_EQ(ReadBytes(EnvIni()), Scrambled("0/0/100/28/1/0/1/noname"));
  EXPECT_EQ(settings.playerName(), "noname");
  EXPECT_EQ(settings.questionCount(), 100);
  EXPECT_FALSE(settings.acceptOmission());
  EXPECT_TRUE(controller.settingsChanged());
  // Written again from memory at shut-down.
  settings.SetMode(QuestionMode::Poet);
  Save();
  EXPECT_EQ(EnvIniLine(), "2/0/100/28/1/0/1/noname");
  EXPECT_EQ(notices.shown.size(), 1u);
}

// The load itself only reads; the caller tells the player, and the new file follows the notice
// that announces it.
TEST_F(SettingsControllerTest, LoadingSaysWhyAndWritesNothing) {
  EXPECT_EQ(controller.LoadEnvironment(), FileStatus::NotFound(EnvIni()));
  EXPECT_FALSE(std::filesystem::exists(EnvIni()));
  EXPECT_EQ(settings.playerName(), "noname");  // the defaults, all the same
  EXPECT_TRUE(controller.settingsChanged());
  EXPECT_EQ(controller.WriteEnvironment(), FileStatus::Ok(EnvIni()));
  EXPECT_EQ(EnvIniLine(), "0/0/100/28/1/0/1/noname");

  WriteEnvIni("0/0/100/28/1/0/1/");
  SettingsController corrupt(EnvIni());
  EXPECT_EQ(corrupt.LoadEnvironment(), FileStatus::Corrupt(EnvIni()));
  EXPECT_EQ(EnvIniLine(), "0/0/100/28/1/0/1/");
  WriteEnvIni("1/5/43/28/1/1/0/hanako");
  SettingsController good(EnvIni());
  EXPECT_EQ(good.LoadEnvironment(), FileStatus::Ok(EnvIni()));
  EXPECT_EQ(good.LoadQuestionSource(), FileStatus());  // no question file to load
}

TEST_F(SettingsControllerTest, TheDefaultsAreWrittenAfterThePlayerWasTold) {
  WriteEnvIni("0/0/100/28/1/0/1/");  // corrupt: no name
  std::vector<std::string> onDiskWhileTold;
  notices.whileShown = [&] { onDiskWhileTold.push_back(EnvIniLine()); };
  Load();
  EXPECT_EQ(NoticeTexts(), std::vector<std::string>{kCorrupt});
  EXPECT_EQ(onDiskWhileTold, std::vector<std::string>{"0/0/100/28/1/0/1/"});
  EXPECT_EQ(EnvIniLine(), "0/0/100/28/1/0/1/noname");
}

TEST_F(SettingsControllerTest, AGoodFileIsReadAndLeftAloneWhenNothingChanged) {
  WriteEnvIni("1/5/43/28/1/1/0/hanako");
  Load();
  EXPECT_TRUE(notices.shown.empty());
  EXPECT_EQ(settings.mode(), QuestionMode::Reverse);
  EXPECT_EQ(settings.source(), 5);
  EXPECT_EQ(settings.questionCount(), 43);
  EXPECT_TRUE(settings.acceptOmission());
  EXPECT_FALSE(settings.playSounds());
  EXPECT_EQ(settings.playerName(), "hanako");
  EXPECT_FALSE(controller.settingsChanged());
  settings.SetQuestionCount(7);  // a change nobody marked
  EXPECT_EQ(controller.SaveEnvironment(), FileStatus());
  EXPECT_EQ(EnvIniLine(), "1/5/43/28/1/1/0/hanako");
}

TEST_F(SettingsControllerTest, CorruptFilesAreReset) {
  for (const std::string& bytes :
       {std::string(), Scrambled("0/0/100/28/1/0/1/"), Scrambled("0/0/100/28/1/0/1/a/b"),
        Scrambled("0/0/100/28/1/0/1/" + std::string(266, 'n')),  // 283 bytes: two pieces
        Scrambled("0/0/100/28/1/0/1/a") + "\r\n" + Scrambled("0/0/100/28/1/0/1/b"),
        std::string("0/0/100/28/1/0/1/noname")}) {  // plain, not scrambled
    WriteBytes(EnvIni(), bytes);
    FakeNotices freshNotices;
    SettingsController loader(EnvIni());
    Load(loader, freshNotices);
    ASSERT_EQ(freshNotices.shown.size(), 1u);
    EXPECT_EQ(freshNotices.shown[0].text, kCorrupt);
    EXPECT_EQ(ReadBytes(EnvIni()), Scrambled("0/0/100/28/1/0/1/noname"));
    EXPECT_EQ(loader.settings().playerName(), "noname");
  }
  WriteEnvIni("0/0/100/28/1/0/1/" + std::string(265, 'n'));  // 282 bytes still fit
  Load();
  EXPECT_TRUE(notices.shown.empty());
}

TEST_F(SettingsControllerTest, AMissingQuestionFileFallsBackToAllPoems) {
  WriteEnvIni("0/abc/12/28/1/1/1/noname");
  Load();
  EXPECT_EQ(NoticeTexts(), std::vector<std::string>{kNoQuestionFile});
  EXPECT_EQ(settings.source(), 0);
  EXPECT_TRUE(settings.questionFilePath().empty());
  EXPECT_EQ(settings.questionCount(), 12);
  EXPECT_TRUE(controller.settingsChanged());

  FakeNotices otherNotices;
  SettingsController numeric(EnvIni());
  WriteEnvIni("0/15/12/28/1/1/1/noname");  // 15 as a number names no file
  Load(numeric, otherNotices);
  EXPECT_EQ(otherNotices.shown.size(), 1u);
  EXPECT_EQ(numeric.settings().source(), 0);

  // The status names the file that was not there.
  std::string stored = folder.File("gone.vlq");
  std::replace(stored.begin(), stored.end(), '/', '\\');
  WriteEnvIni("0/" + stored + "/12/28/1/1/1/noname");
  SettingsController gone(EnvIni());
  ASSERT_TRUE(gone.LoadEnvironment().ok());
  EXPECT_EQ(gone.LoadQuestionSource(), FileStatus::NotFound(folder.File("gone.vlq")));
}

TEST_F(SettingsControllerTest, AQuestionFileSourceIsStoredAndReadBack) {
  WriteBytes(folder.File("set1.vlq"), Scrambled("4,17,0"));
  const std::string path = folder.File("set1.vlq");
  std::string stored = path;
  std::replace(stored.begin(), stored.end(), '/', '\\');
  WriteEnvIni("0/" + stored + "/3/28/1/1/1/noname");
  Load();
  EXPECT_TRUE(notices.shown.empty());
  EXPECT_EQ(settings.source(), 15);
  EXPECT_EQ(settings.questionFilePath(), path);
  EXPECT_EQ(controller.sources().GetGroupPoems(15), (std::vector<int>{4, 17, 0}));
  controller.MarkChanged();
  Save();
  EXPECT_EQ(EnvIniLine(), "0/" + stored + "/3/28/1/1/1/noname");
}

TEST_F(SettingsControllerTest, NumbersOutOfRangeAreBroughtIntoRange) {
  WriteEnvIni("0/6/500/150/1/0/1/p");
  Load();
  EXPECT_TRUE(notices.shown.empty());
  EXPECT_EQ(settings.source(), 6);
  EXPECT_EQ(settings.questionCount(), 7);  // the group's size
  EXPECT_EQ(settings.favouritePoem(), 28);
  EXPECT_TRUE(controller.settingsChanged());

  SettingsController second(EnvIni());
  WriteEnvIni("0/-4/0/99/1/0/1/p");
  Load(second, notices);
  EXPECT_EQ(second.settings().source(), 0);
  EXPECT_EQ(second.settings().questionCount(), 1);
  EXPECT_EQ(second.settings().favouritePoem(), 99);
  EXPECT_TRUE(second.settingsChanged());
}

TEST_F(SettingsControllerTest, ASaveThatFailsIsToldAndAnUnchangedOneIsNotTried) {
  WriteEnvIni("1/5/43/28/1/1/0/hanako");
  Load();
  // A folder in env.ini's place cannot be replaced, by anyone, root included.
  std::filesystem::remove(EnvIni());
  std::filesystem::create_directory(EnvIni());
  WriteBytes(folder.File("env.ini/kept"), "x");

  Save();  // nothing changed: nothing to write, nothing to tell
  EXPECT_TRUE(notices.shown.empty());

  settings.SetMode(QuestionMode::Poet);
  controller.MarkChanged();
  EXPECT_EQ(controller.SaveEnvironment(), FileStatus::NotRegularFile(EnvIni()));
  Save();
  EXPECT_EQ(NoticeTexts(), std::vector<std::string>{kNotSaved});
  EXPECT_TRUE(std::filesystem::is_directory(EnvIni()));
  EXPECT_EQ(ReadBytes(folder.File("env.ini/kept")), "x");

  // Once env.ini can be written again the same settings go out without a word.
  std::filesystem::remove_all(EnvIni());
  notices.shown.clear();
  Save();
  EXPECT_TRUE(notices.shown.empty());
  EXPECT_EQ(EnvIniLine(), "2/5/43/28/1/1/0/hanako");
}

}  // namespace
}  // namespace verselane
