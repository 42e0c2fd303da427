// verselane.conf through wxFileConfig: what it keeps, what it keeps of others, and a broken file.
#include "ui/preferences_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/shift_jis.h"
#include "fakes/desktop_fakes.h"
#include "fakes/temp_folder.h"

namespace verselane {
namespace {

TEST(PreferencesFileTest, WhereTheFileLives) {
  EXPECT_EQ(PreferencesPath("/xdg", "/home/p"), "/xdg/verselane/verselane.conf");
  EXPECT_EQ(PreferencesPath(nullptr, "/home/p"), "/home/p/.config/verselane/verselane.conf");
  EXPECT_EQ(PreferencesPath("relative", "/home/p"), "/home/p/.config/verselane/verselane.conf");
}

TEST(PreferencesFileTest, KeepsTheOptionsAndWhatOthersWrote) {
  TempFolder folder;
  const std::string path = folder.File("config/verselane/verselane.conf");
  FakeNotices notices;
  {
    PreferencesFile file(path, notices);
    const Preferences defaults = file.Load();
    EXPECT_FALSE(defaults.romajiInput) << "no file: the defaults";
    EXPECT_EQ(defaults.zoomPercent, 100);
    file.Save(Preferences{true, 150});
  }
  EXPECT_EQ(ReadBytes(path), "[input]\nromaji=true\n[view]\nzoom=1.5\n");
  EXPECT_EQ(PreferencesFile(path, notices).Load().zoomPercent, 150);

  WriteBytes(path, "# mine\n[input]\nromaji=true\nlayout=dvorak\n[view]\nzoom=2\nside=left\n");
  PreferencesFile again(path, notices);
  const Preferences loaded = again.Load();
  EXPECT_TRUE(loaded.romajiInput);
  EXPECT_EQ(loaded.zoomPercent, 200);
  again.Save(Preferences{false, 100});
  const std::string kept = ReadBytes(path);
  for (const char* line : {"# mine", "romaji=false", "layout=dvorak", "[view]", "zoom=1\n",
                           "side=left"}) {
    EXPECT_NE(kept.find(line), std::string::npos) << line;
  }
  EXPECT_TRUE(notices.shown.empty());
}

TEST(PreferencesFileTest, ABrokenFileGivesOneNoticeAndIsSetAside) {
  TempFolder folder;
  const std::string path = folder.File("verselane.conf");
  for (const std::string& broken :
       {std::string("[input]\nromaji=perhaps\n"), std::string("[input\nromaji=true\n"),
        std::string("[input]\nromaji=true\n[view]\nzoom=150\n"),
        std::string("[input]\nromaji=true\n[view]\nzoom=3\n")}) {
    WriteBytes(path, broken);
    FakeNotices notices;
    PreferencesFile file(path, notices);
    const Preferences loaded = file.Load();
    EXPECT_FALSE(loaded.romajiInput) << broken;
    EXPECT_EQ(loaded.zoomPercent, 100) << broken;
    ASSERT_EQ(notices.shown.size(), 1u) << broken;
    EXPECT_EQ(notices.shown[0].text,
              SjisLiteral("NOTICE(LoadPreferences):\n設定ファイル(verselane.conf)が破損しています\n"
                          "初期値を設定します\n元のファイルはverselane.conf.brokenとして残します"));
    EXPECT_EQ(ReadBytes(path + ".broken"), broken);
    file.Save(Preferences{true});
    EXPECT_EQ(ReadBytes(path), "[input]\nromaji=true\n[view]\nzoom=1\n");
  }
}

TEST(PreferencesFileTest, ASaveThatFailsIsTold) {
  TempFolder folder;
  WriteBytes(folder.File("file"), "x");
  FakeNotices notices;
  PreferencesFile file(folder.File("file/verselane.conf"), notices);
  file.Save(Preferences{true});
  ASSERT_EQ(notices.shown.size(), 1u);
  EXPECT_EQ(notices.shown[0].text,
            SjisLiteral("NOTICE(SavePreferences):\n設定ファイル(verselane.conf)を保存できませんでした\n"
                        "今回の変更は次の起動に残りません"));
}

}  // namespace
}  // namespace verselane
