#include "base/data_folder.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace verselane {
namespace fs = std::filesystem;

std::string ChooseDataFolder(const std::string& programFolder, const char* xdgDataHome,
                             const char* home) {
  std::error_code error;
  if (!programFolder.empty() && fs::is_regular_file(fs::path(programFolder) / "env.ini", error)) {
    return programFolder;
  }
  // A relative XDG_DATA_HOME is invalid and is ignored.
  if (xdgDataHome != nullptr && xdgDataHome[0] == '/') {
    return (fs::path(xdgDataHome) / "verselane").string();
  }
  std::string homeFolder = home != nullptr ? home : "";
  if (homeFolder.empty()) {
    const passwd* user = ::getpwuid(::getuid());
    if (user != nullptr && user->pw_dir != nullptr) homeFolder = user->pw_dir;
  }
  return (fs::path(homeFolder) / ".local" / "share" / "verselane").string();
}

std::string DataFolderFor(const std::string& programPath) {
  std::error_code error;
  fs::path program = fs::weakly_canonical(fs::path(programPath), error);
  if (error) program = fs::path(programPath);
  return ChooseDataFolder(program.parent_path().string(), std::getenv("XDG_DATA_HOME"),
                          std::getenv("HOME"));
}

FileStatus CreateDataFolder(const std::string& folder) {
  std::error_code error;
  fs::create_directories(folder, error);
  std::error_code checked;
  if (fs::is_directory(folder, checked)) return FileStatus::Ok(folder);
  // A file in the way is no folder, whatever create_directories said.
  return error ? FileStatus::FromErrno(error.value(), folder) : FileStatus::IoError(folder);
}

}  // namespace verselane
