#include "base/data_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "fakes/temp_folder.h"

namespace verselane {
namespace {

namespace fs = std::filesystem;

TEST(DataFolder, APortableCopyKeepsItsFilesBesideTheProgram) {
  TempFolder folder;
  fs::create_directory("app");
  WriteBytes("app/env.ini", "x");
  EXPECT_EQ(ChooseDataFolder(folder.File("app"), "/xdg", "/home/p"), folder.File("app"));
}

TEST(DataFolder, OtherwiseTheUsersDataFolder) {
  TempFolder folder;
  fs::create_directory("app");
  EXPECT_EQ(ChooseDataFolder(folder.File("app"), "/xdg", "/home/p"), "/xdg/verselane");
  EXPECT_EQ(ChooseDataFolder(folder.File("app"), nullptr, "/home/p"),
            "/home/p/.local/share/verselane");
  EXPECT_EQ(ChooseDataFolder(folder.File("app"), "relative/xdg", "/home/p"),
            "/home/p/.local/share/verselane");  // a relative XDG_DATA_HOME is ignored
  // An env.ini that is a folder makes no portable copy.
  fs::create_directory("app/env.ini");
  EXPECT_EQ(ChooseDataFolder(folder.File("app"), "/xdg", "/home/p"), "/xdg/verselane");
}

TEST(DataFolder, EnteringCreatesTheFolderAndMakesItCurrent) {
  TempFolder folder;
  const std::string before = std::getenv("XDG_DATA_HOME") ? std::getenv("XDG_DATA_HOME") : "";
  ::setenv("XDG_DATA_HOME", folder.File("data").c_str(), 1);
  const std::string entered = EnterDataFolder(folder.File("bin/verselane"));
  EXPECT_EQ(entered, folder.File("data/verselane"));
  EXPECT_EQ(fs::current_path(), fs::path(folder.File("data/verselane")));
  // The same folder, wherever the program is started from.
  fs::current_path("/");
  EXPECT_EQ(EnterDataFolder(folder.File("bin/verselane")), entered);
  EXPECT_EQ(fs::current_path(), fs::path(entered));
  if (before.empty()) {
    ::unsetenv("XDG_DATA_HOME");
  } else {
    ::setenv("XDG_DATA_HOME", before.c_str(), 1);
  }
}

}  // namespace
}  // namespace verselane
