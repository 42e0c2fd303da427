#include "base/bounded_read.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace verselane {
namespace {

// Closes the descriptor however the read ends.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

// Reads to the end, taking at most limit + 1 bytes: one more than allowed tells a file that grew
// since it was looked at.
FileStatus ReadAtMost(int fd, std::size_t limit, const std::string& path, std::string& bytes) {
  char buffer[16384];
  for (;;) {
    const std::size_t wanted = std::min(sizeof buffer, limit + 1 - bytes.size());
    const ssize_t got = ::read(fd, buffer, wanted);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return FileStatus::FromErrno(errno, path);
    if (got == 0) return FileStatus::Ok(path);
    bytes.append(buffer, static_cast<std::size_t>(got));
    if (bytes.size() > limit) return FileStatus::TooLarge(path);
  }
}

}  // namespace

FileStatus ReadRegularFile(const std::string& path, std::size_t limit, std::string& out) {
  // Looked at before opening, as opening some devices does something of its own; then again
  // through the descriptor, as the path may have changed meanwhile. O_NONBLOCK: a FIFO put in
  // its place between the two opens at once instead of waiting for a writer.
  struct stat info;
  if (::stat(path.c_str(), &info) != 0) return FileStatus::FromErrno(errno, path);
  if (!S_ISREG(info.st_mode)) return FileStatus::NotRegularFile(path);
  const Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  if (file.get() < 0) return FileStatus::FromErrno(errno, path);
  if (::fstat(file.get(), &info) != 0) return FileStatus::FromErrno(errno, path);
  if (!S_ISREG(info.st_mode)) return FileStatus::NotRegularFile(path);
  if (static_cast<unsigned long long>(info.st_size) > limit) return FileStatus::TooLarge(path);
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(info.st_size));
  FileStatus read = ReadAtMost(file.get(), limit, path, bytes);
  if (read.ok()) out = std::move(bytes);
  return read;
}

}  // namespace verselane
