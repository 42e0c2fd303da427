// What a file operation came to, as one small value: done, or why not, and the file it was
// about. The file layer and every load and save of the player's files return one; the notices
// the player sees are composed from it (base/notices.h), never where the file was read.
#pragma once

#include <iosfwd>
#include <string>
#include <utility>

namespace verselane {

// [[nodiscard]] on the type as well as on the functions: a new function returning one cannot
// forget it, and a status dropped on the floor is a compile warning.
class [[nodiscard]] FileStatus {
 public:
  enum class Code : unsigned char {
    kOk,           // done
    kNotFound,     // the file, or a folder on its way, does not exist
    kCorrupt,      // read, but not in a form the program accepts
    kIoError,      // the system refused or failed: permissions, a folder in the way, a full disk
    kInvalidCall,  // the call does not fit the file's state (not open, open the other way)
    kNotRegularFile,  // a folder, a FIFO, a device: not opened, since reading it could block
    kTooLarge,        // larger than its reader takes: not read, so no hostile file fills memory
    kLocked,          // another program holds the file
    kNewerFormat,     // written by a later program, in a form this one does not know
    kWrongKind,       // a file of another kind altogether (not a database)
    kForeignContent,  // the right kind, but not holding what this program keeps in it
    kTimedOut,        // a program run to make the file did not finish in its time
  };

  // Done, about no file in particular (a save with nothing to write).
  FileStatus() = default;
  static FileStatus Ok(std::string path) { return {Code::kOk, std::move(path)}; }
  static FileStatus NotFound(std::string path) { return {Code::kNotFound, std::move(path)}; }
  static FileStatus Corrupt(std::string path) { return {Code::kCorrupt, std::move(path)}; }
  static FileStatus IoError(std::string path) { return {Code::kIoError, std::move(path)}; }
  static FileStatus InvalidCall(std::string path) {
    return {Code::kInvalidCall, std::move(path)};
  }
  static FileStatus NotRegularFile(std::string path) {
    return {Code::kNotRegularFile, std::move(path)};
  }
  static FileStatus TooLarge(std::string path) { return {Code::kTooLarge, std::move(path)}; }
  static FileStatus Locked(std::string path) { return {Code::kLocked, std::move(path)}; }
  static FileStatus NewerFormat(std::string path) {
    return {Code::kNewerFormat, std::move(path)};
  }
  static FileStatus WrongKind(std::string path) { return {Code::kWrongKind, std::move(path)}; }
  static FileStatus ForeignContent(std::string path) {
    return {Code::kForeignContent, std::move(path)};
  }
  static FileStatus TimedOut(std::string path) { return {Code::kTimedOut, std::move(path)}; }
  // The status of a system call that failed with `error` (an errno value).
  static FileStatus FromErrno(int error, std::string path);

  bool ok() const { return code_ == Code::kOk; }
  Code code() const { return code_; }
  // As the file system names the file; empty for the default status.
  const std::string& path() const { return path_; }
  // "corrupt: /home/p/env.ini", for test failures and logs; the player sees notices instead.
  std::string ToString() const;

  friend bool operator==(const FileStatus&, const FileStatus&) = default;

 private:
  FileStatus(Code code, std::string path) : code_(code), path_(std::move(path)) {}

  Code code_ = Code::kOk;
  std::string path_;
};

// A sequence of steps on one file fails with its first failure.
inline FileStatus FirstFailure(FileStatus first, FileStatus then) {
  return first.ok() ? then : first;
}

// Lets test frameworks print a status by its ToString.
void PrintTo(const FileStatus& status, std::ostream* out);

}  // namespace verselane
