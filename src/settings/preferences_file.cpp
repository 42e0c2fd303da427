#include "settings/preferences_file.h"

#include <fcntl.h>
#include <pwd.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <vector>

#include "base/text_file.h"
#include "settings/preference_keys.h"

namespace verselane {
namespace {

namespace fs = std::filesystem;

constexpr int kSetAsideNames = 100;
constexpr int kLinkHops = 40;  // as many as the kernel follows

bool IsAbsolute(const char* path) { return path != nullptr && path[0] == '/'; }

std::string AccountHome() {
  std::vector<char> buffer(16384);
  passwd entry;
  passwd* found = nullptr;
  if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 ||
      found == nullptr || found->pw_dir == nullptr) {
    return {};
  }
  return found->pw_dir;
}

// The file a chain of symbolic links at `path` ends in (which may not exist yet); `path` itself
// when it is no link, or the chain is too long to follow.
std::string FinalTarget(const std::string& path) {
  fs::path current = path;
  for (int hop = 0; hop < kLinkHops; ++hop) {
    std::error_code error;
    if (!fs::is_symlink(fs::symlink_status(current, error))) return current.string();
    const fs::path target = fs::read_symlink(current, error);
    if (error) return current.string();
    current = target.is_absolute() ? target : current.parent_path() / target;
  }
  return path;
}

// Moves `file` to `to` unless something is there already.
bool MoveIfFree(const std::string& file, const std::string& to, int& error) {
  if (::renameat2(AT_FDCWD, file.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  error = errno;
  if (error != EINVAL && error != ENOSYS) return false;
  // A file system that cannot rename without replacing: a second name, then the first one gone.
  if (::link(file.c_str(), to.c_str()) != 0) {
    error = errno;
    return false;
  }
  if (::unlink(file.c_str()) == 0) return true;
  error = errno;
  ::unlink(to.c_str());
  return false;
}

// Sets `file` aside as <file>.broken, or <file>.broken-2 and on when that is taken; the name it
// went to, or empty.
std::string SetAside(const std::string& file) {
  for (int n = 1; n <= kSetAsideNames; ++n) {
    std::string name = file + ".broken" + (n == 1 ? "" : "-" + std::to_string(n));
    int error = 0;
    if (MoveIfFree(file, name, error)) return name;
    if (error != EEXIST) return {};
  }
  return {};
}

// `file` as a notice shows it: its name alone when it lies beside `beside`.
std::string ShownName(const std::string& file, const std::string& beside) {
  const fs::path path(file);
  return path.parent_path() == fs::path(beside).parent_path() ? path.filename().string() : file;
}

}  // namespace

std::string PreferencesPath(const char* xdgConfigHome, const char* home, const char* accountHome) {
  if (IsAbsolute(xdgConfigHome)) {
    return (fs::path(xdgConfigHome) / "verselane" / "verselane.conf").string();
  }
  const char* homeFolder = IsAbsolute(home) ? home : accountHome;
  if (!IsAbsolute(homeFolder)) return {};
  return (fs::path(homeFolder) / ".config" / "verselane" / "verselane.conf").string();
}

std::string PreferencesPathOfThisProcess() {
  return PreferencesPath(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"),
                         AccountHome().c_str());
}

FileStatus PreferencesFile::Load(Preferences& preferences) {
  kept_ = {};
  setAsideAs_.clear();
  writable_ = !path_.empty();
  if (path_.empty()) return FileStatus::NotFound(path_);
  const std::string target = FinalTarget(path_);
  RemoveAbandonedWrites(target);
  std::string bytes;
  if (FileStatus read = files_.ReadFile(target, kPreferencesFileLimit, bytes); !read.ok()) {
    writable_ = read.code() == FileStatus::Code::kNotFound;
    return read;
  }
  std::optional<KeyFile> file = KeyFile::Parse(bytes);
  Preferences loaded = preferences;
  if (file && ReadPreferenceKeys(*file, loaded)) {
    kept_ = std::move(*file);
    preferences = loaded;
    return FileStatus::Ok(path_);
  }
  const std::string setAside = SetAside(target);
  writable_ = !setAside.empty();
  if (writable_) setAsideAs_ = ShownName(setAside, path_);
  return FileStatus::Corrupt(path_);
}

FileStatus PreferencesFile::Peek(Preferences& preferences) const {
  if (path_.empty()) return FileStatus::NotFound(path_);
  std::string bytes;
  if (FileStatus read = files_.ReadFile(FinalTarget(path_), kPreferencesFileLimit, bytes);
      !read.ok()) {
    return read;
  }
  const std::optional<KeyFile> file = KeyFile::Parse(bytes);
  Preferences loaded = preferences;
  if (!file || !ReadPreferenceKeys(*file, loaded)) return FileStatus::Corrupt(path_);
  preferences = loaded;
  return FileStatus::Ok(path_);
}

FileStatus PreferencesFile::Save(const Preferences& preferences) {
  if (!writable_) return FileStatus();
  WritePreferenceKeys(preferences, kept_);
  const std::string target = FinalTarget(path_);
  std::error_code error;
  fs::create_directories(fs::path(target).parent_path(), error);
  return WriteFileBytes(target, kept_.Bytes(), files_);
}

}  // namespace verselane
