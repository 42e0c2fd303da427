// Stand-ins for the notices, file dialogs and clock the file code asks of the desktop, and a file
// system that fails where a test says.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "base/file_ports.h"
#include "base/file_system.h"

namespace verselane {

// Remembers every notice instead of showing it.
class FakeNotices : public NoticePort {
 public:
  struct Notice {
    std::string text;  // CP932
    std::string caption;
    NoticeIcon icon;
  };
  void ShowNotice(const std::string& text, const std::string& caption, NoticeIcon icon) override {
    shown.push_back({text, caption, icon});
    if (whileShown) whileShown();
  }
  std::vector<Notice> shown;
  // The texts shown, in order.
  std::vector<std::string> texts() const {
    std::vector<std::string> all;
    for (const Notice& notice : shown) all.push_back(notice.text);
    return all;
  }
  // Whether every notice shown was a "Notice" box with the exclamation icon, as the notices
  // about the player's files are.
  bool allFileNotices() const {
    for (const Notice& notice : shown) {
      if (notice.caption != "Notice" || notice.icon != NoticeIcon::kExclamation) return false;
    }
    return true;
  }
  // Runs as each notice is shown, for a test to look at what the player would see meanwhile.
  std::function<void()> whileShown;
};

// Answers every file dialog with `answer` (nothing: the player cancelled) and keeps the set-ups.
class FakeFileChooser : public FileChooserPort {
 public:
  std::optional<std::string> ChooseFileToOpen(const FileDialogSpec& dialog) override {
    openDialogs.push_back(dialog);
    return answer;
  }
  std::optional<std::string> ChooseFileToSave(const FileDialogSpec& dialog) override {
    saveDialogs.push_back(dialog);
    return answer;
  }
  std::optional<std::string> answer;
  std::vector<FileDialogSpec> openDialogs;
  std::vector<FileDialogSpec> saveDialogs;
};

// Always the same moment; counts how often it was asked.
class FakeClock : public ClockPort {
 public:
  explicit FakeClock(LocalTime time = {}) : now(time) {}
  LocalTime Now() override {
    ++reads;
    return now;
  }
  LocalTime now;
  int reads = 0;
};

// The system's file system with faults put in at will: a disk that fills up, a folder that takes
// no new files, a rename that fails, and a hook just before each rename (where a crash loses the
// most). Every step that changes something is logged as "<step> <file name>".
class FakeFileSystem : public FileSystem {
 public:
  std::optional<std::size_t> spaceLeft;  // bytes the disk still takes; unlimited when empty
  bool readOnly = false;                 // creating, renaming and removing fail
  bool renameFails = false;
  std::function<void()> beforeRename;
  std::vector<std::string> steps;

  FileStatus Stat(const std::string& path, FileInfo& info) override {
    FileStatus status = real_.Stat(path, info);
    if (readOnly) info.writable = false;
    return status;
  }
  FileStatus ReadFile(const std::string& path, std::size_t maxBytes, std::string& bytes) override {
    return real_.ReadFile(path, maxBytes, bytes);
  }
  FileStatus CreateNew(const std::string& path, std::optional<unsigned> permissions,
                       std::unique_ptr<WritableFile>& file) override {
    Log("create", path);
    if (readOnly) return FileStatus::IoError(path);
    std::unique_ptr<WritableFile> real;
    FileStatus created = real_.CreateNew(path, permissions, real);
    if (created.ok()) file = std::make_unique<File>(*this, std::move(real), path);
    return created;
  }
  FileStatus Rename(const std::string& from, const std::string& to) override {
    if (beforeRename) beforeRename();
    Log("rename", from);
    if (readOnly || renameFails) return FileStatus::IoError(to);
    return real_.Rename(from, to);
  }
  FileStatus Remove(const std::string& path) override {
    Log("remove", path);
    if (readOnly) return FileStatus::IoError(path);
    return real_.Remove(path);
  }
  FileStatus SyncFolder(const std::string& folder) override {
    Log("sync-folder", folder);
    return real_.SyncFolder(folder);
  }

 private:
  class File : public WritableFile {
   public:
    File(FakeFileSystem& owner, std::unique_ptr<WritableFile> real, std::string path)
        : owner_(owner), real_(std::move(real)), path_(std::move(path)) {}
    FileStatus Append(std::string_view bytes) override {
      owner_.Log("append", path_);
      std::optional<std::size_t>& space = owner_.spaceLeft;
      if (space && bytes.size() > *space) {
        // As a full disk does: what fits is written, the rest refused.
        static_cast<void>(real_->Append(bytes.substr(0, *space)));
        *space = 0;
        return FileStatus::IoError(path_);
      }
      if (space) *space -= bytes.size();
      return real_->Append(bytes);
    }
    FileStatus Sync() override {
      owner_.Log("sync", path_);
      return real_->Sync();
    }
    FileStatus Close() override { return real_->Close(); }

   private:
    FakeFileSystem& owner_;
    std::unique_ptr<WritableFile> real_;
    std::string path_;
  };

  void Log(const char* step, const std::string& path) {
    steps.push_back(std::string(step) + " " + BaseNameOf(path));
  }

  FileSystem& real_ = SystemFileSystem();
};

// A dialog's set-up as one comparable value.
inline auto DialogFields(const FileDialogSpec& dialog) {
  return std::tie(dialog.title, dialog.filters, dialog.defaultExtension, dialog.initialName);
}

}  // namespace verselane
