#include "base/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace verselane {
namespace {

class SystemWritableFile : public WritableFile {
 public:
  SystemWritableFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
  ~SystemWritableFile() override {
    if (fd_ >= 0) ::close(fd_);
  }
  SystemWritableFile(const SystemWritableFile&) = delete;
  SystemWritableFile& operator=(const SystemWritableFile&) = delete;

  FileStatus Append(std::string_view bytes) override {
    while (!bytes.empty()) {
      const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) return FileStatus::FromErrno(written < 0 ? errno : ENOSPC, path_);
      bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return FileStatus::Ok(path_);
  }
  FileStatus Sync() override {
    return ::fsync(fd_) == 0 ? FileStatus::Ok(path_) : FileStatus::FromErrno(errno, path_);
  }
  FileStatus Close() override {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0 ? FileStatus::Ok(path_) : FileStatus::FromErrno(errno, path_);
  }

 private:
  int fd_;
  std::string path_;
};

FileInfo InfoOf(const struct stat& status, bool writable) {
  FileInfo info;
  info.regular = S_ISREG(status.st_mode);
  info.writable = writable;
  info.permissions = status.st_mode & 07777;
  info.device = status.st_dev;
  info.inode = status.st_ino;
  info.size = static_cast<std::uint64_t>(status.st_size);
  info.modifiedNs = static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1'000'000'000 +
                    status.st_mtim.tv_nsec;
  return info;
}

class SystemFiles : public FileSystem {
 public:
  FileStatus Stat(const std::string& path, FileInfo& info) override {
    struct stat status;
    if (::stat(path.c_str(), &status) != 0) return FileStatus::FromErrno(errno, path);
    info = InfoOf(status, ::access(path.c_str(), W_OK) == 0);
    return FileStatus::Ok(path);
  }

  FileStatus ReadFile(const std::string& path, std::size_t maxBytes, std::string& bytes) override {
    // Looked at before opening, as opening some devices does something of its own; then again
    // through the descriptor, as the path may have changed meanwhile. O_NONBLOCK: a FIFO put in
    // its place between the two opens at once instead of waiting for a writer.
    struct stat status;
    if (::stat(path.c_str(), &status) != 0) return FileStatus::FromErrno(errno, path);
    if (!S_ISREG(status.st_mode)) return FileStatus::NotRegularFile(path);
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return FileStatus::FromErrno(errno, path);
    const FileStatus read = ReadOpened(fd, path, maxBytes, bytes);
    ::close(fd);
    return read;
  }

  FileStatus CreateNew(const std::string& path, std::optional<unsigned> permissions,
                       std::unique_ptr<WritableFile>& file) override {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return FileStatus::FromErrno(errno, path);
    if (permissions) ::fchmod(fd, *permissions);
    file = std::make_unique<SystemWritableFile>(fd, path);
    return FileStatus::Ok(path);
  }

  FileStatus Rename(const std::string& from, const std::string& to) override {
    return ::rename(from.c_str(), to.c_str()) == 0 ? FileStatus::Ok(to)
                                                   : FileStatus::FromErrno(errno, to);
  }

  FileStatus Remove(const std::string& path) override {
    return ::unlink(path.c_str()) == 0 ? FileStatus::Ok(path) : FileStatus::FromErrno(errno, path);
  }

  FileStatus SyncFolder(const std::string& folder) override {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return FileStatus::FromErrno(errno, folder);
    const bool synced = ::fsync(fd) == 0;
    const int error = errno;
    ::close(fd);
    return synced ? FileStatus::Ok(folder) : FileStatus::FromErrno(error, folder);
  }

 private:
  static FileStatus ReadOpened(int fd, const std::string& path, std::size_t maxBytes,
                               std::string& bytes) {
    struct stat status;
    if (::fstat(fd, &status) != 0) return FileStatus::FromErrno(errno, path);
    if (!S_ISREG(status.st_mode)) return FileStatus::NotRegularFile(path);
    if (static_cast<std::uint64_t>(status.st_size) > maxBytes) return FileStatus::TooLarge(path);
    std::string content;
    content.reserve(static_cast<std::size_t>(status.st_size));
    char buffer[16384];
    while (true) {
      // At most one byte more than allowed: enough to tell a file that grew since it was looked
      // at, without taking what it grew by.
      const std::size_t wanted = std::min(sizeof buffer, maxBytes + 1 - content.size());
      const ssize_t got = ::read(fd, buffer, wanted);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) return FileStatus::FromErrno(errno, path);
      if (got == 0) break;
      content.append(buffer, static_cast<std::size_t>(got));
      if (content.size() > maxBytes) return FileStatus::TooLarge(path);
    }
    bytes = std::move(content);
    return FileStatus::Ok(path);
  }
};

}  // namespace

FileSystem& SystemFileSystem() {
  static SystemFiles files;
  return files;
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace verselane
