// verselane.conf as players keep it: edited by hand, linked from a dotfiles folder, or replaced by
// something that is no file at all. Whatever is there, loading neither blocks nor loses a byte of
// the player's, and a save changes only this program's values.
#include "settings/preferences_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>
#include <tuple>

#include "fakes/temp_folder.h"
#include "fakes/test_locales.h"

namespace verselane {
namespace {

// Preferences with romaji input, zoom and whether romaji was chosen as given, the rest at their
// defaults.
Preferences Prefs(bool romaji, int zoomPercent, bool romajiChosen) {
  Preferences preferences;
  preferences.romajiInput = romaji;
  preferences.zoomPercent = zoomPercent;
  preferences.romajiChosen = romajiChosen;
  return preferences;
}

namespace fs = std::filesystem;
using Code = FileStatus::Code;

class PreferencesFileTest : public ::testing::Test {
 protected:
  std::string Conf() const { return folder.File("verselane.conf"); }

  // Loads the file at `path` afresh, as a start of the program does.
  FileStatus Load(const std::string& path) {
    file.emplace(path);
    loaded = Preferences{};
    return file->Load(loaded);
  }
  FileStatus Load() { return Load(Conf()); }
  // Writes `bytes` as verselane.conf, loads it, saves `saved` and returns the file's bytes then.
  std::string Resaved(const std::string& bytes, Preferences saved) {
    WriteBytes(Conf(), bytes);
    EXPECT_EQ(Load(), FileStatus::Ok(Conf())) << bytes;
    EXPECT_EQ(file->Save(saved), FileStatus::Ok(Conf())) << bytes;
    return ReadBytes(Conf());
  }

  TempFolder folder;
  std::optional<PreferencesFile> file{std::in_place, ""};
  Preferences loaded;
};

TEST(PreferencesPathTest, FollowsTheXdgFoldersAndThePasswordDatabase) {
  EXPECT_EQ(PreferencesPath("/xdg", "/home/p", "/home/q"), "/xdg/verselane/verselane.conf");
  EXPECT_EQ(PreferencesPath(nullptr, "/home/p", "/home/q"),
            "/home/p/.config/verselane/verselane.conf");
  EXPECT_EQ(PreferencesPath("relative", "/home/p", nullptr),
            "/home/p/.config/verselane/verselane.conf");
  // Without HOME the file is not put under the current folder.
  EXPECT_EQ(PreferencesPath(nullptr, nullptr, "/home/q"),
            "/home/q/.config/verselane/verselane.conf");
  EXPECT_EQ(PreferencesPath(nullptr, "relative", "/home/q"),
            "/home/q/.config/verselane/verselane.conf");
  EXPECT_EQ(PreferencesPath(nullptr, nullptr, nullptr), "");
  EXPECT_EQ(PreferencesPath("", "", ""), "");
}

TEST_F(PreferencesFileTest, WithoutAPathNothingIsReadOrWritten) {
  EXPECT_EQ(Load("").code(), Code::kNotFound);
  EXPECT_EQ(file->Save(Prefs(true, 200, true)), FileStatus());
  EXPECT_TRUE(fs::is_empty(folder.path()));
}

TEST_F(PreferencesFileTest, KeepsTheOptionsAndWhatOthersWrote) {
  const std::string path = folder.File("config/verselane/verselane.conf");
  EXPECT_EQ(Load(path), FileStatus::NotFound(path));
  EXPECT_FALSE(loaded.romajiInput) << "no file: the defaults";
  EXPECT_EQ(loaded.zoomPercent, 100);
  EXPECT_TRUE(file->Save(Prefs(true, 150, true)).ok());
  EXPECT_EQ(ReadBytes(path), "[input]\nromaji=true\n[view]\nzoom=1.5\n");
  EXPECT_EQ(Load(path), FileStatus::Ok(path));
  EXPECT_TRUE(loaded.romajiInput);
  EXPECT_EQ(loaded.zoomPercent, 150);

  // A key of ours missing keeps its default, and a save adds it to its group.
  EXPECT_EQ(Resaved("# mine\n[input]\nlayout=dvorak\n\n# the view\n[view]\nside=left",
                    Prefs(true, 200, true)),
            "# mine\n[input]\nlayout=dvorak\nromaji=true\n\n# the view\n[view]\nside=left\n"
            "zoom=2\n");
  EXPECT_EQ(Resaved("[other]\nx=1\n", Prefs(false, 100, true)),
            "[other]\nx=1\n[input]\nromaji=false\n[view]\nzoom=1\n");
}

// The voice's keys join the file once moved off their defaults, and stay once there; the pace is
// read within its bounds, written as a decimal.
TEST_F(PreferencesFileTest, KeepsTheVoicesOptions) {
  Preferences voice;
  voice.recite = true;
  voice.voiceSpeed = 0.85;
  EXPECT_EQ(Resaved("[view]\nzoom=1\n", voice),
            "[view]\nzoom=1\n[voice]\nrecite=true\nspeed=0.85\n");
  EXPECT_EQ(Load(), FileStatus::Ok(Conf()));
  EXPECT_TRUE(loaded.recite);
  EXPECT_FALSE(loaded.listenOnly);
  EXPECT_FALSE(loaded.opening);
  EXPECT_DOUBLE_EQ(loaded.voiceSpeed, 0.85);
  EXPECT_EQ(Resaved(ReadBytes(Conf()), Preferences{}),
            "[view]\nzoom=1\n[voice]\nrecite=false\nspeed=1.0\n");

  for (const char* pace : {"0.7", "1.4", "1"}) {
    WriteBytes(Conf(), std::string("[voice]\nlisten-only=true\nopening=true\nspeed=") + pace);
    EXPECT_EQ(Load(), FileStatus::Ok(Conf())) << pace;
    EXPECT_TRUE(loaded.listenOnly && loaded.opening) << pace;
    EXPECT_DOUBLE_EQ(loaded.voiceSpeed, std::stod(pace));
  }
}

// The program runs in the desktop's locale, whose decimal mark may be a comma: the file is
// written and read with a point all the same.
TEST_F(PreferencesFileTest, DecimalsKeepTheirPointWhateverTheDesktopsLocale) {
  for (const char* name : {"de_DE.UTF-8", "ja_JP.UTF-8"}) {
    SCOPED_TRACE(name);
    const TestLocale locale(name);
    if (!locale.usable()) GTEST_SKIP() << locale.why();
    Preferences saved;
    saved.voiceSpeed = 1.15;
    saved.plan.retention = 0.87;
    EXPECT_EQ(Resaved("", saved),
              "[view]\nzoom=1\n[voice]\nspeed=1.15\n[plan]\nretention=0.87\n");
    EXPECT_EQ(Load(), FileStatus::Ok(Conf()));
    EXPECT_DOUBLE_EQ(loaded.voiceSpeed, 1.15);
    EXPECT_DOUBLE_EQ(loaded.plan.retention, 0.87);
  }
}

// The plan's two numbers are kept as the player set them, and stay out of a file that never named
// them while they are at their defaults; once named, the file keeps naming them.
TEST_F(PreferencesFileTest, KeepsThePlanSettings) {
  Preferences changed = Prefs(false, 100, true);
  changed.plan = {12, 0.85};
  EXPECT_EQ(Resaved("[view]\nzoom=1\n", changed),
            "[view]\nzoom=1\n[input]\nromaji=false\n[plan]\nnew-per-day=12\nretention=0.85\n");
  EXPECT_EQ(Load(), FileStatus::Ok(Conf()));
  EXPECT_EQ(loaded.plan.newPerDay, 12);
  EXPECT_DOUBLE_EQ(loaded.plan.retention, 0.85);
  EXPECT_EQ(Resaved(ReadBytes(Conf()), Prefs(false, 100, true)),
            "[view]\nzoom=1\n[input]\nromaji=false\n[plan]\nnew-per-day=5\nretention=0.90\n");

  // The ends of the ranges, and the ways an editor may write a retention.
  for (const auto& [text, newPerDay, retention] :
       {std::tuple{"new-per-day=0\nretention=0.8", 0, 0.80},
        std::tuple{"new-per-day=20\nretention=0.97", 20, 0.97},
        std::tuple{"new-per-day= 7 \nretention=0.9", 7, 0.90}}) {
    WriteBytes(Conf(), std::string("[plan]\n") + text + "\n");
    EXPECT_EQ(Load(), FileStatus::Ok(Conf())) << text;
    EXPECT_EQ(loaded.plan.newPerDay, newPerDay) << text;
    EXPECT_DOUBLE_EQ(loaded.plan.retention, retention) << text;
  }
}

// A save changes only the values the player set: one the file writes its own way ("0.9" for 0.90,
// "07", "0.80") stays as written while it is unchanged; a changed one is written the program's way.
TEST_F(PreferencesFileTest, ASaveLeavesUnchangedValuesAsWritten) {
  for (const std::string bytes : {"[view]\nzoom=1\n[plan]\nretention=0.9\nnew-per-day=07\n",
                                   "[view]\nzoom=1\n[voice]\nspeed=0.80\nrecite=false\n"}) {
    WriteBytes(Conf(), bytes);
    ASSERT_EQ(Load(), FileStatus::Ok(Conf())) << bytes;
    const Preferences unchanged = loaded;
    EXPECT_EQ(Resaved(bytes, unchanged), bytes);
  }
  Preferences changed;
  changed.plan.retention = 0.85;
  EXPECT_EQ(Resaved("[view]\nzoom=1\n[plan]\nretention=0.9\nnew-per-day=07\n", changed),
            "[view]\nzoom=1\n[plan]\nretention=0.85\nnew-per-day=5\n");
}

// A file without romaji= (or none at all) tells that romaji input was never chosen, and a save
// before it is chosen leaves the key out, the file's bytes otherwise as they were; once given,
// the key counts as chosen whatever its value.
TEST_F(PreferencesFileTest, ARomajiKeyNeverWrittenStaysUnchosen) {
  EXPECT_EQ(Load().code(), Code::kNotFound);
  EXPECT_FALSE(loaded.romajiChosen);
  EXPECT_EQ(Resaved("# mine\n[input]\nlayout=dvorak\n[view]\nzoom=2\n", Prefs(false, 150, false)),
            "# mine\n[input]\nlayout=dvorak\n[view]\nzoom=1.5\n");
  EXPECT_FALSE(loaded.romajiChosen);
  for (const char* value : {"true", "false"}) {
    WriteBytes(Conf(), std::string("[input]\nromaji=") + value + "\n");
    EXPECT_EQ(Load(), FileStatus::Ok(Conf()));
    EXPECT_TRUE(loaded.romajiChosen) << value;
  }
}

// What a text editor leaves in a hand-edited file is read as the player meant it, and a save
// changes the value alone, the file's own line ends included.
TEST_F(PreferencesFileTest, TakesWhatAnEditorLeaves) {
  const std::string edited =
      "\xEF\xBB\xBF# caf\xE9 (Latin-1)\r\n"
      "  [ input ]  \r\n"
      "\tromaji = true \r\n"
      "; \x81\x40\xFF\r\n"
      "[view]\r\n"
      "zoom=1.5\t\r\n"
      "[Input]\r\n"
      "romaji=perhaps\r\n";
  WriteBytes(Conf(), edited);
  EXPECT_EQ(Load(), FileStatus::Ok(Conf()));
  EXPECT_TRUE(loaded.romajiInput);
  EXPECT_EQ(loaded.zoomPercent, 150);
  EXPECT_EQ(file->Save(Prefs(false, 150, true)), FileStatus::Ok(Conf()));
  std::string expected = edited;
  expected.replace(expected.find("true"), 4, "false");
  EXPECT_EQ(ReadBytes(Conf()), expected);

  EXPECT_EQ(Resaved("\xEF\xBB\xBF[view]\r\nzoom=2\r\n", Prefs(true, 200, true)),
            "\xEF\xBB\xBF[view]\r\nzoom=2\r\n[input]\r\nromaji=true\r\n");
}

// A group named twice is one group, and of a key given twice the last one counts: a player who
// appends "[input]\nromaji=true" gets it. Names are told apart by case and taken as they stand.
TEST_F(PreferencesFileTest, AGroupNamedTwiceIsOneGroupAndTheLastValueCounts) {
  const std::string appended = "[input]\nromaji=false\n[view]\nzoom=2\n[input]\nromaji=true\n";
  WriteBytes(Conf(), appended);
  EXPECT_EQ(Load(), FileStatus::Ok(Conf()));
  EXPECT_TRUE(loaded.romajiInput);
  EXPECT_EQ(loaded.zoomPercent, 200);
  EXPECT_EQ(Resaved(appended, Prefs(false, 100, true)),
            "[input]\nromaji=false\n[view]\nzoom=1\n[input]\nromaji=false\n");

  for (const std::string& others :
       {std::string("[a]\nromaji=true\n[b]\nx=1\n[a]\nzoom=2\n"),
        std::string("[Input]\nromaji=true\n[VIEW]\nzoom=2\n"),
        std::string("[a/../input]\nromaji=true\n")}) {
    WriteBytes(Conf(), others);
    EXPECT_EQ(Load(), FileStatus::Ok(Conf())) << others;
    EXPECT_FALSE(loaded.romajiInput) << others;
    EXPECT_EQ(loaded.zoomPercent, 100) << others;
  }
  EXPECT_EQ(Resaved("[view]\nzoom=2\nzoom=1.5\n[input]\n[view]\n", Prefs(true, 200, true)),
            "[view]\nzoom=2\nzoom=2\n[input]\nromaji=true\n[view]\n");
}

// A broken file is set aside whole under a name not yet taken, never over an earlier one, and the
// next save starts a new file.
TEST_F(PreferencesFileTest, ABrokenFileIsSetAsideUnderAFreeName) {
  const std::string broken[] = {
      "[input]\nromaji=perhaps\n",     "[input\nromaji=true\n",
      "[input]\n=true\n",              "[input]\n  = true\n",
      "[input]\nromaji\n",             "romaji=true\n[input]\n",
      "[]\n",                          "[in[put]\n",
      "[view]\nzoom=150\n",            "[view]\nzoom=3\n",
      "[input]\nromaji=TRUE\n",        "[input]\nromaji=true\n[view]\nzoom=1.5x\n",
      "[voice]\nspeed=0.6\n",          "[voice]\nspeed=1.5\n",
      "[voice]\nspeed=1,2\n",          "[voice]\nspeed=fast\n",
      "[voice]\nspeed=\n",             "[voice]\nrecite=yes\n",
      "[plan]\nnew-per-day=21\n",      "[plan]\nnew-per-day=-1\n",
      "[plan]\nnew-per-day=5.0\n",     "[plan]\nretention=0.79\n",
      "[plan]\nretention=0.98\n",      "[plan]\nretention=0.905\n",
      "[plan]\nretention=.9\n",        "[plan]\nretention=90%\n",
  };
  int n = 0;
  for (const std::string& bytes : broken) {
    ++n;
    WriteBytes(Conf(), bytes);
    EXPECT_EQ(Load(), FileStatus::Corrupt(Conf())) << bytes;
    EXPECT_FALSE(loaded.romajiInput) << bytes;
    EXPECT_EQ(loaded.zoomPercent, 100) << bytes;
    const std::string name = n == 1 ? "verselane.conf.broken"
                                    : "verselane.conf.broken-" + std::to_string(n);
    EXPECT_EQ(file->setAsideAs(), name) << bytes;
    EXPECT_EQ(ReadBytes(folder.File(name)), bytes);
    EXPECT_FALSE(fs::exists(Conf())) << bytes;
    EXPECT_TRUE(file->Save(Prefs(true, 100, true)).ok()) << bytes;
    EXPECT_EQ(ReadBytes(Conf()), "[input]\nromaji=true\n[view]\nzoom=1\n");
  }
  // The earlier copies are all still there, each as it was.
  EXPECT_EQ(ReadBytes(folder.File("verselane.conf.broken")), broken[0]);
  EXPECT_EQ(ReadBytes(folder.File("verselane.conf.broken-2")), broken[1]);
}

// With no name left to set it aside under (or a folder that takes no new name), the broken file
// stays where it is, and no save of this session replaces it.
TEST_F(PreferencesFileTest, ABrokenFileThatCannotBeSetAsideIsLeftAsItIs) {
  WriteBytes(folder.File("verselane.conf.broken"), "taken");
  for (int n = 2; n <= 100; ++n) {
    WriteBytes(folder.File("verselane.conf.broken-" + std::to_string(n)), "taken");
  }
  WriteBytes(Conf(), "[input]\nromaji=perhaps\n");
  EXPECT_EQ(Load(), FileStatus::Corrupt(Conf()));
  EXPECT_EQ(file->setAsideAs(), "");
  EXPECT_EQ(file->Save(Prefs(true, 200, true)), FileStatus());
  EXPECT_EQ(ReadBytes(Conf()), "[input]\nromaji=perhaps\n");
  EXPECT_EQ(ReadBytes(folder.File("verselane.conf.broken-100")), "taken");
}

// A folder, a FIFO or a huge file where the file should be is not read (a FIFO would block the
// start for ever, a huge file fill the memory) and is left alone: the session keeps its
// preferences in memory only.
TEST_F(PreferencesFileTest, WhatIsNoPreferencesFileIsLeftAlone) {
  const std::string folderThere = folder.File("folder/verselane.conf");
  fs::create_directories(folderThere);
  EXPECT_EQ(Load(folderThere), FileStatus::NotRegularFile(folderThere));
  EXPECT_EQ(file->Save(Prefs(true, 100, true)), FileStatus());
  EXPECT_TRUE(fs::is_directory(folderThere));

  const std::string fifo = folder.File("verselane.conf");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(Load(fifo), FileStatus::NotRegularFile(fifo));
  EXPECT_EQ(file->Save(Prefs(true, 100, true)), FileStatus());
  EXPECT_TRUE(fs::is_fifo(fifo));
  fs::remove(fifo);

  const std::string comment = "# " + std::string(kPreferencesFileLimit - 3, 'x') + "\n";
  WriteBytes(Conf(), comment + "[input]\nromaji=true\n");
  EXPECT_EQ(Load(), FileStatus::TooLarge(Conf()));
  EXPECT_FALSE(loaded.romajiInput);
  EXPECT_EQ(file->Save(Prefs(true, 100, true)), FileStatus());
  EXPECT_EQ(fs::file_size(Conf()), comment.size() + 20);
  // Up to the limit the file is read.
  WriteBytes(Conf(), comment);
  EXPECT_EQ(Load(), FileStatus::Ok(Conf()));

  // A link that leads round in a circle cannot be read at all.
  fs::remove(Conf());
  fs::create_symlink("verselane.conf", Conf());
  EXPECT_EQ(Load().code(), Code::kIoError);
  EXPECT_EQ(file->Save(Prefs(true, 100, true)), FileStatus());
  EXPECT_TRUE(fs::is_symlink(Conf()));
}

// verselane.conf linked from a dotfiles folder: read through the link, written to its target (the
// link stays), and a broken target is set aside beside itself, named in full.
TEST_F(PreferencesFileTest, ALinkIsFollowedToItsTarget) {
  fs::create_directories(folder.File("dotfiles"));
  const std::string target = folder.File("dotfiles/verselane.conf");
  fs::create_symlink("dotfiles/verselane.conf", folder.File("link"));
  fs::create_symlink("link", Conf());
  WriteBytes(target, "[view]\nzoom=2\n");
  EXPECT_EQ(Load(), FileStatus::Ok(Conf()));
  EXPECT_EQ(loaded.zoomPercent, 200);
  EXPECT_TRUE(file->Save(Prefs(true, 200, true)).ok());
  EXPECT_TRUE(fs::is_symlink(Conf()));
  EXPECT_EQ(ReadBytes(target), "[view]\nzoom=2\n[input]\nromaji=true\n");

  WriteBytes(target, "[view]\nzoom=7\n");
  EXPECT_EQ(Load(), FileStatus::Corrupt(Conf()));
  EXPECT_EQ(file->setAsideAs(), target + ".broken");
  EXPECT_EQ(ReadBytes(target + ".broken"), "[view]\nzoom=7\n");
  EXPECT_TRUE(file->Save(Prefs(false, 100, true)).ok());
  EXPECT_TRUE(fs::is_symlink(Conf()));
  EXPECT_EQ(ReadBytes(target), "[input]\nromaji=false\n[view]\nzoom=1\n");

  // A link to a file not made yet: the save makes it.
  fs::remove(target);
  EXPECT_EQ(Load().code(), Code::kNotFound);
  EXPECT_TRUE(file->Save(Prefs(false, 100, true)).ok());
  EXPECT_TRUE(fs::is_symlink(Conf()));
  EXPECT_TRUE(fs::is_regular_file(target));
}

TEST_F(PreferencesFileTest, ASaveThatFailsSaysSo) {
  WriteBytes(folder.File("file"), "x");
  EXPECT_EQ(Load(folder.File("file/verselane.conf")).code(), Code::kNotFound);
  EXPECT_FALSE(file->Save(Prefs(true, 100, true)).ok());
}

}  // namespace
}  // namespace verselane
