#include "base/text_file.h"

#include <dirent.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <string_view>

#include "base/scramble.h"

namespace verselane {
namespace {

constexpr char kEndOfInput = 0x1A;

// Reads a file in text mode, as the program's files have always been read: CR LF arrives as "\n",
// 0x1A ends the input.
class TextModeReader {
 public:
  explicit TextModeReader(std::string_view bytes) : bytes_(bytes) {}

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
    if (next_ >= bytes_.size() || bytes_[next_] == kEndOfInput) return EOF;
    const char byte = bytes_[next_++];
    if (byte == '\r' && next_ < bytes_.size() && bytes_[next_] == '\n') {
      ++next_;
      return '\n';
    }
    return static_cast<unsigned char>(byte);
  }

  std::string_view bytes_;
  std::size_t next_ = 0;
};

bool IsNonEmptyPiece(const std::string& piece) { return !piece.empty() && piece[0] != '\n'; }

int CountNonEmptyPieces(std::string_view bytes, std::size_t pieceBytes) {
  TextModeReader reader(bytes);
  std::string piece;
  int count = 0;
  while (reader.NextPiece(piece, pieceBytes)) count += IsNonEmptyPiece(piece);
  return count;
}

// `text` with each "\n" as CR LF.
std::string InTextMode(const std::string& text) {
  std::string onDisk;
  onDisk.reserve(text.size() + text.size() / 16);
  for (char byte : text) {
    if (byte == '\n') onDisk.push_back('\r');
    onDisk.push_back(byte);
  }
  return onDisk;
}

}  // namespace

TextFile::~TextFile() {
  if (mode_ == Mode::kWriting) AbandonWriting();
}

FileStatus TextFile::Open(char kind) {
  if (mode_ != Mode::kClosed || (kind != 'r' && kind != 'w')) return FileStatus::InvalidCall(path_);
  return kind == 'w' ? OpenForWriting() : OpenForReading();
}

FileStatus TextFile::OpenForReading() {
  FileStatus read = files_.ReadFile(path_, kMaxBytes, content_);
  if (read.ok()) mode_ = Mode::kReading;
  // None of the program's text files comes near the limit: one past it is damage.
  if (read.code() == FileStatus::Code::kTooLarge) return FileStatus::Corrupt(path_);
  return read;
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

// Removes the temporary files ".<name>.<pid>-<attempt>" in `folder` of writers that no longer
// run: those of the one file `name`, or of any file when `name` is empty.
int RemoveAbandonedWritesNamed(const std::string& folder, const std::string& name) {
  const std::string prefix = "." + name + (name.empty() ? "" : ".");
  DIR* directory = ::opendir(folder.c_str());
  if (directory == nullptr) return 0;
  int removed = 0;
  while (const dirent* entry = ::readdir(directory)) {
    const std::string_view found = entry->d_name;
    const std::size_t tail = found.rfind('.');
    if (!found.starts_with(prefix) || tail == std::string_view::npos || tail == 0 ||
        (!name.empty() && tail + 1 != prefix.size())) {
      continue;
    }
    const long writer = WriterOfTemporaryName(found.substr(tail + 1));
    // A writer that still runs may be about to rename its file into place.
    if (writer <= 0 || writer == ::getpid() || ::kill(static_cast<pid_t>(writer), 0) == 0 ||
        errno != ESRCH) {
      continue;
    }
    removed += ::unlink((folder + "/" + std::string(found)).c_str()) == 0;
  }
  ::closedir(directory);
  return removed;
}

}  // namespace

int RemoveAbandonedWrites(const std::string& path) {
  return RemoveAbandonedWritesNamed(FolderOf(path), BaseNameOf(path));
}

int RemoveAbandonedWritesIn(const std::string& folder) {
  return RemoveAbandonedWritesNamed(folder, "");
}

std::string TemporaryNameFor(const std::string& path, int attempt) {
  return FolderOf(path) + "/." + BaseNameOf(path) + "." + std::to_string(::getpid()) + "-" +
         std::to_string(attempt);
}

FileStatus TextFile::OpenForWriting() {
  FileInfo existing;
  const FileStatus found = files_.Stat(path_, existing);
  if (!found.ok() && found.code() != FileStatus::Code::kNotFound) return found;
  const bool exists = found.ok();
  // The temporary file would replace a read-only file or even a folder; refuse as creating the
  // file in place would.
  if (exists && !existing.regular) return FileStatus::NotRegularFile(path_);
  if (exists && !existing.writable) return FileStatus::IoError(path_);
  // An existing file keeps its mode; a new one gets what a file created in place would.
  return CreateTemporary(exists ? std::optional<unsigned>(existing.permissions) : std::nullopt);
}

FileStatus TextFile::CreateTemporary(const std::optional<unsigned>& permissions) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string candidate = TemporaryNameFor(path_, attempt);
    FileInfo taken;
    if (files_.Stat(candidate, taken).ok()) continue;  // another write of this program's
    const FileStatus created = files_.CreateNew(candidate, permissions, file_);
    if (created.code() == FileStatus::Code::kNotFound) return FileStatus::NotFound(path_);
    if (!created.ok()) return FileStatus::IoError(path_);
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
  }
  content_.clear();
  mode_ = Mode::kClosed;
  lineBufferSize_ = kDefaultLineBufferSize;
  return status;
}

// The new content is on the disk before it takes the file's place, and the rename is on the disk
// before the save counts as done.
FileStatus TextFile::FinishWriting() {
  FileStatus written = file_->Sync();
  written = FirstFailure(std::move(written), file_->Close());
  file_.reset();
  if (written.ok()) written = files_.Rename(temporaryPath_, path_);
  if (!written.ok()) {
    static_cast<void>(files_.Remove(temporaryPath_));
    temporaryPath_.clear();
    return FileStatus::IoError(path_);
  }
  temporaryPath_.clear();
  // The new content is in place; a folder that cannot be synced only makes it less durable.
  static_cast<void>(files_.SyncFolder(FolderOf(path_)));
  return FileStatus::Ok(path_);
}

void TextFile::AbandonWriting() {
  file_.reset();
  static_cast<void>(files_.Remove(temporaryPath_));
  temporaryPath_.clear();
  mode_ = Mode::kClosed;
}

FileStatus TextFile::ReadLine(std::string& out, bool scrambled) {
  if (mode_ != Mode::kReading) return FileStatus::InvalidCall(path_);
  const std::size_t pieceBytes = static_cast<std::size_t>(std::max(lineBufferSize_ - 1, 1));
  const int nonEmpty = CountNonEmptyPieces(content_, pieceBytes);
  if (nonEmpty > 1) return FileStatus::Corrupt(path_);
  if (nonEmpty == 0) return FileStatus::Ok(path_);
  TextModeReader reader(content_);
  std::string piece;
  std::string line;
  while (reader.NextPiece(piece, pieceBytes)) {
    if (IsNonEmptyPiece(piece)) line = piece;
  }
  if (scrambled) Scramble(line, ScrambleDirection::kDecode);
  out = std::move(line);
  return FileStatus::Ok(path_);
}

FileStatus TextFile::ReadLines(std::string out[], int capacity, bool scrambled) {
  if (mode_ != Mode::kReading) return FileStatus::InvalidCall(path_);
  const std::size_t pieceBytes = static_cast<std::size_t>(std::max(lineBufferSize_ - 1, 1));
  const int nonEmpty = CountNonEmptyPieces(content_, pieceBytes);
  TextModeReader reader(content_);
  std::string piece;
  for (int k = 0; reader.NextPiece(piece, pieceBytes); ++k) {
    if (k < capacity && IsNonEmptyPiece(piece)) out[k] = piece;
  }
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
  FileStatus written = file_->Append(InTextMode(text));
  // Half a content must never replace the file.
  if (!written.ok()) writeFailed_ = true;
  return written.ok() ? FileStatus::Ok(path_) : FileStatus::IoError(path_);
}

FileStatus TextFile::WriteBytes(std::string_view bytes) {
  if (mode_ != Mode::kWriting) return FileStatus::InvalidCall(path_);
  if (file_->Append(bytes).ok()) return FileStatus::Ok(path_);
  writeFailed_ = true;
  return FileStatus::IoError(path_);
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
                        std::string& out, FileSystem& files) {
  TextFile file(path, files);
  if (FileStatus opened = file.Open('r'); !opened.ok()) return opened;
  file.SetLineBufferSize(lineBufferSize);
  FileStatus read = file.ReadLine(out, scrambled);
  return FirstFailure(std::move(read), file.Close());
}

FileStatus ReadFileLines(const std::string& path, int lineBufferSize, bool scrambled,
                         std::string out[], int capacity, FileSystem& files) {
  TextFile file(path, files);
  if (FileStatus opened = file.Open('r'); !opened.ok()) return opened;
  file.SetLineBufferSize(lineBufferSize);
  FileStatus read = file.ReadLines(out, capacity, scrambled);
  return FirstFailure(std::move(read), file.Close());
}

FileStatus WriteFileLine(const std::string& path, std::string text, bool scrambled,
                         FileSystem& files) {
  TextFile file(path, files);
  if (FileStatus opened = file.Open('w'); !opened.ok()) return opened;
  FileStatus written = file.WriteLine(std::move(text), scrambled);
  // Close after a failed write keeps the old file and reports the failure again.
  return FirstFailure(std::move(written), file.Close());
}

FileStatus WriteFileBytes(const std::string& path, std::string_view bytes, FileSystem& files) {
  TextFile file(path, files);
  if (FileStatus opened = file.Open('w'); !opened.ok()) return opened;
  FileStatus written = file.WriteBytes(bytes);
  return FirstFailure(std::move(written), file.Close());
}

}  // namespace verselane
