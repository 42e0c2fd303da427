// What the fuzz targets share: a scratch folder of their own for the files they write, and the
// bytes of a scrambled file. The current directory is never changed: files are named with
// ScratchFile, as the program names its own with the data folder.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "base/file_system.h"
#include "base/scramble.h"

namespace verselane {

// `name` in a folder made for this run of the fuzzer, removed when it ends normally (a crash
// leaves it, with the files that led there).
inline std::string ScratchFile(const std::string& name) {
  struct Folder {
    Folder() {
      char pattern[] = "/tmp/verselane-fuzz-XXXXXX";
      if (::mkdtemp(pattern) == nullptr) std::abort();
      path = pattern;
    }
    ~Folder() {
      std::error_code ignored;
      std::filesystem::remove_all(path, ignored);
    }
    std::string path;
  };
  static const Folder folder;
  return folder.path + "/" + name;
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Fuzz inputs are taken as decoded text more often than not, since that is where the parsers
// are; the first byte chooses.
inline std::string FileBytesFrom(const std::string& input) {
  if (input.empty() || (input[0] & 1) == 0) return input.empty() ? input : input.substr(1);
  std::string text = input.substr(1);
  Scramble(text, ScrambleDirection::kEncode);
  return text;
}

// The system's file system without the waits for the disk: a save goes through every step it
// takes in the program but the syncs, which would hold a fuzzer to a few inputs a second.
class UnsyncedFileSystem : public FileSystem {
 public:
  FileStatus Stat(const std::string& path, FileInfo& info) override {
    return SystemFileSystem().Stat(path, info);
  }
  FileStatus ReadFile(const std::string& path, std::size_t maxBytes, std::string& bytes) override {
    return SystemFileSystem().ReadFile(path, maxBytes, bytes);
  }
  FileStatus CreateNew(const std::string& path, std::optional<unsigned> permissions,
                       std::unique_ptr<WritableFile>& file) override {
    std::unique_ptr<WritableFile> real;
    FileStatus created = SystemFileSystem().CreateNew(path, permissions, real);
    if (created.ok()) file = std::make_unique<Unsynced>(std::move(real));
    return created;
  }
  FileStatus Rename(const std::string& from, const std::string& to) override {
    return SystemFileSystem().Rename(from, to);
  }
  FileStatus Remove(const std::string& path) override { return SystemFileSystem().Remove(path); }
  FileStatus SyncFolder(const std::string& folder) override { return FileStatus::Ok(folder); }

 private:
  class Unsynced : public WritableFile {
   public:
    explicit Unsynced(std::unique_ptr<WritableFile> file) : file_(std::move(file)) {}
    FileStatus Append(std::string_view bytes) override { return file_->Append(bytes); }
    FileStatus Sync() override { return FileStatus(); }
    FileStatus Close() override { return file_->Close(); }

   private:
    std::unique_ptr<WritableFile> file_;
  };
};

}  // namespace verselane
