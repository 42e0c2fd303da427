// The one file layer: every file the program reads or writes goes through a TextFile. Text is
// handled as bytes (Shift-JIS), never decoded.
//
// Files keep the bytes the program has always written, so files of every version read alike: on
// disk a line end is CR LF; writing turns each "\n" into CR LF, reading turns CR LF back into
// "\n", and the byte 0x1A ends the input. A read takes the file in pieces of at most
// LineBufferSize − 1 bytes, each ending after a line end or when full; every piece counts as a
// line.
//
// Writing never touches the file itself until Close: the text goes to a temporary file beside it,
// which Close flushes to disk and renames over the old file. A crash at any moment leaves either
// the old file or the new one, never an empty or half-written one.
//
// Reading takes the whole file at Open, from a regular file of at most kMaxBytes only: what the
// program keeps is a few hundred bytes, and a FIFO or a huge file put in its place must neither
// hang nor swamp it.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "base/file_status.h"
#include "base/file_system.h"

namespace verselane {

class TextFile {
 public:
  static constexpr int kDefaultLineBufferSize = 500;
  static constexpr std::size_t kMaxBytes = 16 << 20;

  // `path` is the file name as the file system knows it; the program always gives a full path.
  explicit TextFile(std::string path, FileSystem& files = SystemFileSystem())
      : files_(files), path_(std::move(path)) {}
  // A write that was never closed is abandoned: the file keeps its old content.
  ~TextFile();
  TextFile(const TextFile&) = delete;
  TextFile& operator=(const TextFile&) = delete;

  const std::string& path() const { return path_; }

  // 'r' opens the existing file for reading; 'w' prepares to replace (or create) it. Nothing
  // changes when it fails: an invalid call for any other kind or when already open, else why
  // the file could not be opened.
  [[nodiscard]] FileStatus Open(char kind);
  // Ok when nothing was open or all went well. After a write, fails when the new content could
  // not be made the file's, or when a write step failed before (the file then keeps its old
  // content). Resets LineBufferSize.
  [[nodiscard]] FileStatus Close();
  void SetLineBufferSize(int size) { lineBufferSize_ = size; }

  // Reads a file holding at most one non-empty line into `out` (left as it was when the file
  // holds none). Corrupt when the file has two or more non-empty lines, `out` then untouched.
  [[nodiscard]] FileStatus ReadLine(std::string& out, bool scrambled);
  // Reads the lines of the file into out[0 .. capacity-1]: piece k goes to out[k], empty pieces
  // leave their entry untouched. A scrambled file is one line, decoded and split at "\n".
  [[nodiscard]] FileStatus ReadLines(std::string out[], int capacity, bool scrambled);
  // Writes `text` once, up to its first zero byte, with no line end added.
  [[nodiscard]] FileStatus WriteLine(std::string text, bool scrambled);
  // Joins the non-empty strings among lines[0 .. count-1] with "\n" and writes them as WriteLine.
  [[nodiscard]] FileStatus WriteLines(const std::string lines[], int count, bool scrambled);
  // Writes `bytes` as they are: for files of the desktop's own kind, with Linux line ends.
  [[nodiscard]] FileStatus WriteBytes(std::string_view bytes);

 private:
  enum class Mode { kClosed, kReading, kWriting };

  FileStatus OpenForReading();
  FileStatus OpenForWriting();
  FileStatus FinishWriting();
  void AbandonWriting();
  FileStatus CreateTemporary(const std::optional<unsigned>& permissions);

  FileSystem& files_;
  std::string path_;
  Mode mode_ = Mode::kClosed;
  std::string content_;                  // while reading: the whole file
  std::unique_ptr<WritableFile> file_;   // while writing: the temporary file
  int lineBufferSize_ = kDefaultLineBufferSize;
  std::string temporaryPath_;  // while writing: where the new content goes until Close
  bool writeFailed_ = false;   // a write step failed: Close keeps the old file
};

// Whole files in one call, for the callers that open, read or write, and close at once.
//
// Reads the one line of the file at `path` as ReadLine does, in pieces of `lineBufferSize` − 1.
[[nodiscard]] FileStatus ReadFileLine(const std::string& path, int lineBufferSize, bool scrambled,
                                      std::string& out, FileSystem& files = SystemFileSystem());
// Reads the lines of the file at `path` as ReadLines does.
[[nodiscard]] FileStatus ReadFileLines(const std::string& path, int lineBufferSize,
                                       bool scrambled, std::string out[], int capacity,
                                       FileSystem& files = SystemFileSystem());
// Makes `text`, written as WriteLine does, the whole content of the file at `path`; when that
// fails the file keeps what it held.
[[nodiscard]] FileStatus WriteFileLine(const std::string& path, std::string text, bool scrambled,
                                       FileSystem& files = SystemFileSystem());
// The same for `bytes` written as they are (WriteBytes).
[[nodiscard]] FileStatus WriteFileBytes(const std::string& path, std::string_view bytes,
                                        FileSystem& files = SystemFileSystem());

// A write that never reached Close (the program was killed, the machine lost power) leaves its
// temporary file, ".<name>.<pid>-<n>", beside the file. Removes those of `path` whose writer no
// longer runs, and returns how many; the file itself is never touched.
int RemoveAbandonedWrites(const std::string& path);
// The same for every file of `folder`: removes each ".<name>.<pid>-<n>" whose writer no longer
// runs, and returns how many.
int RemoveAbandonedWritesIn(const std::string& folder);
// The temporary name a write of this process to `path` takes at its `attempt`: other temporary
// files of the program take it too, so that RemoveAbandonedWritesIn finds what they leave.
std::string TemporaryNameFor(const std::string& path, int attempt);

}  // namespace verselane
