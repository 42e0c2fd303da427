#include "base/text_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <string_view>

#include "base/scramble.h"

namespace verselane {
namespace {

constexpr int kEndOfInput = 0x1A;

// Reads a file in text mode, as the program's files have always been read: CR LF arrives as "\n",
// 0x1A ends the input.
class TextModeReader {
 public:
  explicit TextModeReader(std::FILE* file) : file_(file) { std::rewind(file_); }

  // The next piece of at most `maxBytes` bytes, ending after a "\n" or when full; false at the end.
  bool NextPiece(std::string& piece, std::size_t maxBytes) {
    piece.clear();
    while (piece.size() < maxBytes) {
      const int byte = NextByte();
      if (byte == EOF) break;
      piece.push_back(static_cast<char>(byte));
      if (byte == '\n') break;
    }
    return !piece.empty();
  }

 private:
  int NextByte() {
    if (ended_) return EOF;
    int byte = std::getc(file_);
    if (byte == EOF || byte == kEndOfInput) {
      ended_ = true;
      return EOF;
    }
    if (byte == '\r') {
      const int next = std::getc(file_);
      if (next == '\n') return '\n';
      if (next != EOF) std::ungetc(next, file_);
    }
    return byte;
  }

  std::FILE* file_;
  bool ended_ = false;
};

bool IsNonEmptyPiece(const std::string& piece) { return !piece.empty() && piece[0] != '\n'; }

int CountNonEmptyPieces(std::FILE* file, std::size_t pieceBytes) {
  TextModeReader reader(file);
  std::string piece;
  int count = 0;
  while (reader.NextPiece(piece, pieceBytes)) count += IsNonEmptyPiece(piece);
  return count;
}

// Writes `text` with each "\n" as CR LF; false when not all of it reached the stream.
bool WriteTextMode(std::FILE* file, const std::string& text) {
  std::string onDisk;
  onDisk.reserve(text.size() + text.size() / 16);
  for (char byte : text) {
    if (byte == '\n') onDisk.push_back('\r');
    onDisk.push_back(byte);
  }
  return std::fwrite(onDisk.data(), 1, onDisk.size(), file) == onDisk.size();
}

std::string DirectoryOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Makes a rename in `directory` survive a power cut.
void SyncDirectory(const std::string& directory) {
  const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

TextFile::~TextFile() {
  if (mode_ == Mode::kWriting) {
    AbandonWriting();
  } else if (file_ != nullptr) {
    std::fclose(file_);
  }
}

FileStatus TextFile::Open(char kind) {
  if (mode_ != Mode::kClosed || (kind != 'r' && kind != 'w')) return FileStatus::InvalidCall(path_);
  return kind == 'w' ? OpenForWriting() : OpenForReading();
}

FileStatus TextFile::OpenForReading() {
  // Binary, because the text-mode translation is done here, the same on every system.
  file_ = std::fopen(path_.c_str(), "rb");
  if (file_ == nullptr) return FileStatus::FromErrno(errno, path_);
  struct stat info;
  const bool stated = ::fstat(fileno(file_), &info) == 0;
  if (!stated || S_ISDIR(info.st_mode)) {
    const int error = stated ? EISDIR : errno;
    std::fclose(file_);
    file_ = nullptr;
    return FileStatus::FromErrno(error, path_);
  }
  mode_ = Mode::kReading;
  return FileStatus::Ok(path_);
}

namespace {

// "<pid>-<attempt>", the tail of a temporary file's name; the pid, or 0 when it is not one.
long WriterOfTemporaryName(std::string_view tail) {
  const std::size_t dash = tail.find('-');
  if (dash == 0 || dash == std::string_view::npos || dash + 1 == tail.size() || dash > 9) return 0;
  const auto digits = [](std::string_view part) {
    return std::all_of(part.begin(), part.end(),
                       [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; });
  };
  if (!digits(tail.substr(0, dash)) || !digits(tail.substr(dash + 1))) return 0;
  return std::stol(std::string(tail.substr(0, dash)));
}

}  // namespace

int RemoveAbandonedWrites(const std::string& path) {
  const std::string folder = DirectoryOf(path);
  const std::string prefix = "." + BaseNameOf(path) + ".";
  DIR* directory = ::opendir(folder.c_str());
  if (directory == nullptr) return 0;
  int removed = 0;
  while (const dirent* entry = ::readdir(directory)) {
    const std::string_view name = entry->d_name;
    if (!name.starts_with(prefix)) continue;
    const long writer = WriterOfTemporaryName(name.substr(prefix.size()));
    // A writer that still runs may be about to rename its file into place.
    if (writer <= 0 || writer == ::getpid() || ::kill(static_cast<pid_t>(writer), 0) == 0 ||
        errno != ESRCH) {
      continue;
    }
    removed += ::unlink((folder + "/" + std::string(name)).c_str()) == 0;
  }
  ::closedir(directory);
  return removed;
}

FileStatus TextFile::OpenForWriting() {
  struct stat existing;
  const bool exists = ::stat(path_.c_str(), &existing) == 0;
  // The temporary file would replace a read-only file or even a folder; refuse as creating the
  // file in place would.
  if (exists && !S_ISREG(existing.st_mode)) return FileStatus::FromErrno(EISDIR, path_);
  if (exists && ::access(path_.c_str(), W_OK) != 0) return FileStatus::FromErrno(errno, path_);

  const std::string prefix = DirectoryOf(path_) + "/." + BaseNameOf(path_) + ".";
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string candidate = prefix + std::to_string(::getpid()) + "-" + std::to_string(attempt);
    // 0666 less the umask, as a file created in place would get; an existing file keeps its mode.
    const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return FileStatus::FromErrno(errno, path_);
    }
    if (exists) ::fchmod(fd, existing.st_mode & 07777);
    file_ = ::fdopen(fd, "wb");
    if (file_ == nullptr) {
      const int error = errno;
      ::close(fd);
      ::unlink(candidate.c_str());
      return FileStatus::FromErrno(error, path_);
    }
    temporaryPath_ = std::move(candidate);
    mode_ = Mode::kWriting;
    writeFailed_ = false;
    return FileStatus::Ok(path_);
  }
  return FileStatus::IoError(path_);
}

FileStatus TextFile::Close() {
  FileStatus status = FileStatus::Ok(path_);
  if (mode_ == Mode::kWriting && writeFailed_) {
    AbandonWriting();
    status = FileStatus::IoError(path_);
  } else if (mode_ == Mode::kWriting) {
    status = FinishWriting();
  } else if (mode_ == Mode::kReading && std::fclose(file_) != 0) {
    status = FileStatus::FromErrno(errno, path_);
  }
  file_ = nullptr;
  mode_ = Mode::kClosed;
  lineBufferSize_ = kDefaultLineBufferSize;
  return status;
}

FileStatus TextFile::FinishWriting() {
  bool ok = std::fflush(file_) == 0 && std::ferror(file_) == 0;
  ok = ::fsync(fileno(file_)) == 0 && ok;
  ok = std::fclose(file_) == 0 && ok;
  file_ = nullptr;
  if (ok) ok = std::rename(temporaryPath_.c_str(), path_.c_str()) == 0;
  if (!ok) {
    ::unlink(temporaryPath_.c_str());
    temporaryPath_.clear();
    return FileStatus::IoError(path_);
  }
  temporaryPath_.clear();
  SyncDirectory(DirectoryOf(path_));
  return FileStatus::Ok(path_);
}

void TextFile::AbandonWriting() {
  std::fclose(file_);
  file_ = nullptr;
  ::unlink(temporaryPath_.c_str());
  temporaryPath_.clear();
  mode_ = Mode::kClosed;
}

// Every read passes over the file from its start, which clears the stream's error mark: it is
// looked at after each pass.
FileStatus TextFile::ReadStatus() {
  return std::ferror(file_) != 0 ? FileStatus::IoError(path_) : FileStatus::Ok(path_);
}

FileStatus TextFile::ReadLine(std::string& out, bool scrambled) {
  if (mode_ != Mode::kReading) return FileStatus::InvalidCall(path_);
  const std::size_t pieceBytes = static_cast<std::size_t>(std::max(lineBufferSize_ - 1, 1));
  const int nonEmpty = CountNonEmptyPieces(file_, pieceBytes);
  if (FileStatus counted = ReadStatus(); !counted.ok()) return counted;
  if (nonEmpty > 1) return FileStatus::Corrupt(path_);
  TextModeReader reader(file_);
  std::string piece;
  std::string line;
  while (reader.NextPiece(piece, pieceBytes)) {
    if (IsNonEmptyPiece(piece)) line = piece;
  }
  if (FileStatus read = ReadStatus(); !read.ok()) return read;
  if (nonEmpty == 0) return FileStatus::Ok(path_);
  if (scrambled) Scramble(line, ScrambleDirection::kDecode);
  out = std::move(line);
  return FileStatus::Ok(path_);
}

FileStatus TextFile::ReadLines(std::string out[], int capacity, bool scrambled) {
  if (mode_ != Mode::kReading) return FileStatus::InvalidCall(path_);
  const std::size_t pieceBytes = static_cast<std::size_t>(std::max(lineBufferSize_ - 1, 1));
  const int nonEmpty = CountNonEmptyPieces(file_, pieceBytes);
  if (FileStatus counted = ReadStatus(); !counted.ok()) return counted;
  TextModeReader reader(file_);
  std::string piece;
  for (int k = 0; reader.NextPiece(piece, pieceBytes); ++k) {
    if (k < capacity && IsNonEmptyPiece(piece)) out[k] = piece;
  }
  if (FileStatus read = ReadStatus(); !read.ok()) return read;
  if (!scrambled) return FileStatus::Ok(path_);

  if (nonEmpty != 1) {
    // Not the one-line scrambled form: each line is decoded on its own, and a line that ended in
    // "\n" comes out with 0x09 in front, which no reader of the program accepts.
    for (int k = 0; k < std::min(nonEmpty, capacity); ++k) Scramble(out[k], ScrambleDirection::kDecode);
    return FileStatus::Ok(path_);
  }
  std::string text = out[0];
  Scramble(text, ScrambleDirection::kDecode);
  std::size_t start = 0;
  for (int j = 0; j < capacity; ++j) {
    const std::size_t end = text.find('\n', start);
    if (end == std::string::npos) {
      out[j] = text.substr(start);
      break;
    }
    out[j] = text.substr(start, end - start);
    start = end + 1;
  }
  return FileStatus::Ok(path_);
}

FileStatus TextFile::WriteLine(std::string text, bool scrambled) {
  if (mode_ != Mode::kWriting) return FileStatus::InvalidCall(path_);
  if (scrambled) Scramble(text, ScrambleDirection::kEncode);
  const std::size_t zero = text.find('\0');
  if (zero != std::string::npos) text.resize(zero);
  if (WriteTextMode(file_, text)) return FileStatus::Ok(path_);
  // Half a content must never replace the file.
  writeFailed_ = true;
  return FileStatus::FromErrno(errno, path_);
}

FileStatus TextFile::WriteBytes(std::string_view bytes) {
  if (mode_ != Mode::kWriting) return FileStatus::InvalidCall(path_);
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
    return FileStatus::IoError(path_);
  }
  return FileStatus::Ok(path_);
}

FileStatus TextFile::WriteLines(const std::string lines[], int count, bool scrambled) {
  if (mode_ != Mode::kWriting) return FileStatus::InvalidCall(path_);
  std::string joined;
  for (int i = 0; i < count; ++i) {
    if (lines[i].empty()) continue;
    if (!joined.empty()) joined += '\n';
    joined += lines[i];
  }
  return WriteLine(std::move(joined), scrambled);
}

FileStatus ReadFileLine(const std::string& path, int lineBufferSize, bool scrambled,
                        std::string& out) {
  TextFile file(path);
  if (FileStatus opened = file.Open('r'); !opened.ok()) return opened;
  file.SetLineBufferSize(lineBufferSize);
  FileStatus read = file.ReadLine(out, scrambled);
  return FirstFailure(std::move(read), file.Close());
}

FileStatus ReadFileLines(const std::string& path, int lineBufferSize, bool scrambled,
                         std::string out[], int capacity) {
  TextFile file(path);
  if (FileStatus opened = file.Open('r'); !opened.ok()) return opened;
  file.SetLineBufferSize(lineBufferSize);
  FileStatus read = file.ReadLines(out, capacity, scrambled);
  return FirstFailure(std::move(read), file.Close());
}

FileStatus WriteFileLine(const std::string& path, std::string text, bool scrambled) {
  TextFile file(path);
  if (FileStatus opened = file.Open('w'); !opened.ok()) return opened;
  FileStatus written = file.WriteLine(std::move(text), scrambled);
  // Close after a failed write keeps the old file and reports the failure again.
  return FirstFailure(std::move(written), file.Close());
}

FileStatus WriteFileBytes(const std::string& path, std::string_view bytes) {
  TextFile file(path);
  if (FileStatus opened = file.Open('w'); !opened.ok()) return opened;
  FileStatus written = file.WriteBytes(bytes);
  return FirstFailure(std::move(written), file.Close());
}

}  // namespace verselane
