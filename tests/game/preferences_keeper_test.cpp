// What the player is told about verselane.conf: one notice for a file that could not be used,
// saying what became of it, and one for each save that failed.
#include "game/preferences_keeper.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "base/shift_jis.h"
#include "fakes/desktop_fakes.h"
#include "fakes/file_fakes.h"
#include "fakes/temp_folder.h"

namespace verselane {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSessionOnly = "初期値を設定します\n今回の変更は次の起動に残りません";

std::string CorruptKeptAs(const std::string& name) {
  return SjisLiteral("NOTICE(LoadPreferences):\n設定ファイル(verselane.conf)が破損しています\n"
                     "初期値を設定します\n元のファイルは") +
         name + SjisLiteral("として残します");
}

class PreferencesKeeperTest : public ::testing::Test {
 protected:
  std::string Conf() const { return folder.File("verselane.conf"); }
  // The notices of one start with the file `setUp` made.
  std::vector<std::string> NoticesOfAStart(const std::function<void()>& setUp) {
    setUp();
    FakeNotices notices;
    PreferencesKeeper keeper(Conf(), notices);
    const Preferences preferences = keeper.Load();
    EXPECT_FALSE(preferences.romajiInput);
    Preferences changed;
    changed.romajiInput = true;
    changed.zoomPercent = 200;
    keeper.Save(changed);
    EXPECT_TRUE(notices.allFileNotices());
    return notices.texts();
  }

  TempFolder folder;
};

using Texts = std::vector<std::string>;

TEST_F(PreferencesKeeperTest, EachNoticeSaysWhatBecameOfTheFile) {
  EXPECT_EQ(NoticesOfAStart([] {}), Texts{}) << "no file yet";
  EXPECT_EQ(NoticesOfAStart([&] { WriteBytes(Conf(), "[input]\nromaji=\n"); }),
            Texts{CorruptKeptAs("verselane.conf.broken")});
  EXPECT_EQ(NoticesOfAStart([&] { WriteBytes(Conf(), "[view]\nzoom=\n"); }),
            Texts{CorruptKeptAs("verselane.conf.broken-2")});

  fs::remove(Conf());
  ASSERT_EQ(::mkfifo(Conf().c_str(), 0600), 0);
  EXPECT_EQ(NoticesOfAStart([] {}),
            Texts{SjisLiteral("NOTICE(LoadPreferences):\n設定ファイル(verselane.conf)が通常のファイル"
                              "ではないため読み込みません\n") +
                  SjisLiteral(kSessionOnly)});
  fs::remove(Conf());
  const std::string tooLarge(kPreferencesFileLimit + 1, '#');
  EXPECT_EQ(NoticesOfAStart([&] { WriteBytes(Conf(), tooLarge); }),
            Texts{SjisLiteral("NOTICE(LoadPreferences):\n設定ファイル(verselane.conf)が大きすぎるため"
                              "読み込みません\n") +
                  SjisLiteral(kSessionOnly)});
  fs::remove(Conf());
  fs::create_symlink("verselane.conf", Conf());
  EXPECT_EQ(NoticesOfAStart([] {}),
            Texts{SjisLiteral("NOTICE(LoadPreferences):\n設定ファイル(verselane.conf)を"
                              "読み込めませんでした\n") +
                  SjisLiteral(kSessionOnly)});
  fs::remove(Conf());

  for (int n = 3; n <= 100; ++n) {
    WriteBytes(folder.File("verselane.conf.broken-" + std::to_string(n)), "");
  }
  EXPECT_EQ(NoticesOfAStart([&] { WriteBytes(Conf(), "[input]\nromaji=yes\n"); }),
            Texts{SjisLiteral("NOTICE(LoadPreferences):\n設定ファイル(verselane.conf)が破損しています\n"
                              "初期値を設定します\n元のファイルは別の名前にできないためそのままにします\n"
                              "今回の変更は次の起動に残りません")});
  EXPECT_EQ(ReadBytes(Conf()), "[input]\nromaji=yes\n");
}

TEST_F(PreferencesKeeperTest, ASaveThatFailsIsTold) {
  WriteBytes(folder.File("file"), "x");
  FakeNotices notices;
  PreferencesKeeper keeper(folder.File("file/verselane.conf"), notices);
  EXPECT_FALSE(keeper.Load().romajiInput);
  EXPECT_TRUE(notices.shown.empty());
  Preferences romaji;
  romaji.romajiInput = true;
  keeper.Save(romaji);
  ASSERT_EQ(notices.shown.size(), 1u);
  EXPECT_EQ(notices.shown[0].text,
            SjisLiteral("NOTICE(SavePreferences):\n設定ファイル(verselane.conf)を保存できませんでした\n"
                        "今回の変更は次の起動に残りません"));
}

// The first start decides romaji input by whether a Japanese input method answers and writes the
// decision at once, the file's other bytes as they were; a start that finds a choice made, or a
// file it could not read, asks nothing and writes nothing.
TEST_F(PreferencesKeeperTest, TheFirstStartChoosesRomajiByTheInputMethodOnce) {
  struct Case {
    const char* before;  // nullptr: no file
    bool japanese;
    const char* after;  // nullptr: no file
    int asked;
  };
  const Case cases[] = {
      {nullptr, false, "[input]\nromaji=true\n[view]\nzoom=1\n", 1},
      {nullptr, true, "[input]\nromaji=false\n[view]\nzoom=1\n", 1},
      {"# mine\n[view]\nzoom=2\n", false, "# mine\n[view]\nzoom=2\n[input]\nromaji=true\n", 1},
      {"[input]\nromaji=false\n", false, "[input]\nromaji=false\n", 0},
      {"[input]\nromaji=true\n", true, "[input]\nromaji=true\n", 0},
      {"[view]\nzoom=7\n", false, nullptr, 0},
  };
  for (const Case& c : cases) {
    fs::remove(Conf());
    if (c.before != nullptr) WriteBytes(Conf(), c.before);
    FakeNotices notices;
    FakeInputMethod inputMethod;
    inputMethod.japanese = c.japanese;
    PreferencesKeeper keeper(Conf(), notices);
    Preferences preferences = keeper.Load();
    keeper.ChooseRomajiAtFirstStart(preferences, inputMethod);
    const std::string what = c.before != nullptr ? c.before : "no file";
    EXPECT_EQ(inputMethod.japaneseAsked, c.asked) << what;
    if (c.after == nullptr) {
      EXPECT_FALSE(fs::exists(Conf())) << what;
      EXPECT_FALSE(preferences.romajiInput) << what;
      continue;
    }
    EXPECT_EQ(ReadBytes(Conf()), c.after) << what;
    EXPECT_EQ(preferences.romajiInput, std::string(c.after).find("true") != std::string::npos)
        << what;
    keeper.ChooseRomajiAtFirstStart(preferences, inputMethod);
    EXPECT_EQ(inputMethod.japaneseAsked, c.asked) << what << ": decided once";
  }
}

}  // namespace
}  // namespace verselane
