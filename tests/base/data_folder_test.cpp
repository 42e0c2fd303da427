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
  fs::create_directory(folder.File("app"));
  WriteBytes(folder.File("app/env.ini"), "x");
  EXPECT_EQ(ChooseDataFolder(folder.File("app"), "/xdg", "/home/p"), folder.File("app"));
}

TEST(DataFolder, OtherwiseTheUsersDataFolder) {
  TempFolder folder;
  fs::create_directory(folder.File("app"));
  EXPECT_EQ(ChooseDataFolder(folder.File("app"), "/xdg", "/home/p"), "/xdg/verselane");
  EXPECT_EQ(ChooseDataFolder(folder.File("app"), nullptr, "/home/p"),
            "/home/p/.local/share/verselane");
  EXPECT_EQ(ChooseDataFolder(folder.File("app"), "relative/xdg", "/home/p"),
            "/home/p/.local/share/verselane");  // a relative XDG_DATA_HOME is ignored
  // An env.ini that is a folder makes no portable copy.
  fs::create_directory(folder.File("app/env.ini"));
  EXPECT_EQ(ChooseDataFolder(folder.File("app"), "/xdg", "/home/p"), "/xdg/verselane");
}

TEST(DataFolder, TheFolderIsCreatedAndTheCurrentOneLeftAlone) {
  TempFolder folder;
  const std::string before = std::getenv("XDG_DATA_HOME") ? std::getenv("XDG_DATA_HOME") : "";
  ::setenv("XDG_DATA_HOME", folder.File("data").c_str(), 1);
  const fs::path current = fs::current_path();
  const std::string chosen = DataFolderFor(folder.File("bin/verselane"));
  EXPECT_EQ(chosen, folder.File("data/verselane"));
  EXPECT_EQ(CreateDataFolder(chosen), FileStatus::Ok(chosen));
  EXPECT_TRUE(fs::is_directory(chosen));
  EXPECT_TRUE(CreateDataFolder(chosen).ok()) << "a folder already there is fine";
  EXPECT_EQ(fs::current_path(), current);
  WriteBytes(folder.File("file"), "x");
  const FileStatus file = CreateDataFolder(folder.File("file"));
  EXPECT_FALSE(file.ok()) << "a file is no folder";
  EXPECT_EQ(file.path(), folder.File("file"));
  if (before.empty()) {
    ::unsetenv("XDG_DATA_HOME");
  } else {
    ::setenv("XDG_DATA_HOME", before.c_str(), 1);
  }
}

}  // namespace
}  // namespace verselane
