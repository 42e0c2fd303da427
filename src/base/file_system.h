// The file system as the program's files use it: the few steps a safe save and a careful read
// are made of, behind one small interface. The program uses the system's own; tests put one in
// front of it that can fill the disk, refuse writes or fail a rename at a chosen step.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "base/file_status.h"

namespace verselane {

// What stands at a path, as far as the program cares.
struct FileInfo {
  bool regular = false;   // a plain file, not a folder, FIFO or device
  bool writable = false;  // this process may write it
  unsigned permissions = 0;  // the mode's permission bits, 07777
  // Together these tell whether the file was replaced or changed between two looks.
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::uint64_t size = 0;
  std::int64_t modifiedNs = 0;

  friend bool operator==(const FileInfo&, const FileInfo&) = default;
};

// A new file being written. Dropping it unclosed closes it.
class WritableFile {
 public:
  virtual ~WritableFile() = default;
  // Adds all of `bytes`, or fails (a full disk).
  [[nodiscard]] virtual FileStatus Append(std::string_view bytes) = 0;
  // Returns once what was appended is on the disk.
  [[nodiscard]] virtual FileStatus Sync() = 0;
  [[nodiscard]] virtual FileStatus Close() = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // What stands at `path` (links followed): not found, or Ok with `info` filled in.
  [[nodiscard]] virtual FileStatus Stat(const std::string& path, FileInfo& info) = 0;
  // The whole content of the regular file at `path`. Never waits on a FIFO or a device
  // (NotRegularFile); a file larger than `maxBytes` is not read (TooLarge).
  [[nodiscard]] virtual FileStatus ReadFile(const std::string& path, std::size_t maxBytes,
                                            std::string& bytes) = 0;
  // Creates the file `path`, which must not exist, for writing: with `permissions` when given,
  // else as a file created in place would be (0666 less the umask).
  [[nodiscard]] virtual FileStatus CreateNew(const std::string& path,
                                             std::optional<unsigned> permissions,
                                             std::unique_ptr<WritableFile>& file) = 0;
  // Puts `from` in the place of `to` in one step.
  [[nodiscard]] virtual FileStatus Rename(const std::string& from, const std::string& to) = 0;
  [[nodiscard]] virtual FileStatus Remove(const std::string& path) = 0;
  // Makes the renames and removals in `folder` survive a power cut.
  [[nodiscard]] virtual FileStatus SyncFolder(const std::string& folder) = 0;
};

// The system's file system, for the life of the program.
FileSystem& SystemFileSystem();

// The folder of `path` ("." for a bare name) and its last part.
std::string FolderOf(const std::string& path);
std::string BaseNameOf(const std::string& path);

}  // namespace verselane
