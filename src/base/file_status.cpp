#include "base/file_status.h"

#include <cerrno>
#include <ostream>

namespace verselane {
namespace {

const char* CodeName(FileStatus::Code code) {
  switch (code) {
    case FileStatus::Code::kOk: return "ok";
    case FileStatus::Code::kNotFound: return "not found";
    case FileStatus::Code::kCorrupt: return "corrupt";
    case FileStatus::Code::kIoError: return "I/O error";
    case FileStatus::Code::kInvalidCall: return "invalid call";
    case FileStatus::Code::kNotRegularFile: return "not a regular file";
    case FileStatus::Code::kTooLarge: return "too large";
    case FileStatus::Code::kLocked: return "locked";
    case FileStatus::Code::kNewerFormat: return "newer format";
    case FileStatus::Code::kWrongKind: return "wrong kind of file";
    case FileStatus::Code::kForeignContent: return "foreign content";
    case FileStatus::Code::kTimedOut: return "timed out";
  }
  return "?";
}

}  // namespace

FileStatus FileStatus::FromErrno(int error, std::string path) {
  if (error == ENOENT || error == ENOTDIR) return NotFound(std::move(path));
  if (error == EISDIR) return NotRegularFile(std::move(path));
  return IoError(std::move(path));
}

std::string FileStatus::ToString() const {
  std::string text = CodeName(code_);
  if (!path_.empty()) text += ": " + path_;
  return text;
}

void PrintTo(const FileStatus& status, std::ostream* out) { *out << status.ToString(); }

}  // namespace verselane
