// The one file layer: every file the program reads or writes goes through a TextFile. Text is
// handled as bytes (Shift-JIS), never decoded.
//
// Files are kept in the form the program has always used on Windows: on disk a line end is CR LF;
// writing turns each "\n" into CR LF, reading turns CR LF back into "\n", and the byte 0x1A ends
// the input. A read takes the file in pieces of at most LineBufferSize − 1 bytes, each ending
// after a line end or when full; every piece counts as a line.
//
// Writing never touches the file itself until Close: the text goes to a temporary file beside it,
// which Close flushes to disk and renames over the old file. A crash at any moment leaves either
// the old file or the new one, never an empty or half-written one.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace verselane {

class TextFile {
 public:
  static constexpr int kDefaultLineBufferSize = 500;

  // `path` is the file name as the file system knows it; a bare name resolves against the current
  // directory.
  explicit TextFile(std::string path) : path_(std::move(path)) {}
  // A write that was never closed is abandoned: the file keeps its old content.
  ~TextFile();
  TextFile(const TextFile&) = delete;
  TextFile& operator=(const TextFile&) = delete;

  const std::string& path() const { return path_; }

  // 'r' opens the existing file for reading; 'w' prepares to replace (or create) it. False, with
  // nothing changed, for any other kind, when already open, or when the file cannot be opened.
  bool Open(char kind);
  // 0 when nothing was open or all went well. After a write, non-zero when the new content could
  // not be made the file's (it then keeps its old content). Resets LineBufferSize.
  int Close();
  void SetLineBufferSize(int size) { lineBufferSize_ = size; }

  // Reads a file holding at most one non-empty line into `out` (left as it was when the file
  // holds none). False when not open for reading or when the file has two or more non-empty lines.
  bool ReadLine(std::string& out, bool scrambled);
  // Reads the lines of the file into out[0 .. capacity-1]: piece k goes to out[k], empty pieces
  // leave their entry untouched. A scrambled file is one line, decoded and split at "\n".
  bool ReadLines(std::string out[], int capacity, bool scrambled);
  // Writes `text` once, up to its first zero byte, with no line end added.
  bool WriteLine(std::string text, bool scrambled);
  // Joins the non-empty strings among lines[0 .. count-1] with "\n" and writes them as WriteLine.
  bool WriteLines(const std::string lines[], int count, bool scrambled);
  // Writes `bytes` as they are: for files of the desktop's own kind, with Linux line ends.
  bool WriteBytes(std::string_view bytes);

 private:
  enum class Mode { kClosed, kReading, kWriting };

  bool OpenForWriting();
  int FinishWriting();
  void AbandonWriting();

  std::string path_;
  std::FILE* file_ = nullptr;
  Mode mode_ = Mode::kClosed;
  int lineBufferSize_ = kDefaultLineBufferSize;
  std::string temporaryPath_;  // while writing: where the new content goes until Close
};

// A write that never reached Close (the program was killed, the machine lost power) leaves its
// temporary file, ".<name>.<pid>-<n>", beside the file. Removes those of `path` whose writer no
// longer runs, and returns how many; the file itself is never touched.
int RemoveAbandonedWrites(const std::string& path);

}  // namespace verselane
