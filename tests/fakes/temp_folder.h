// A fresh folder for tests that touch real files, removed afterwards, with helpers to read and
// write exact bytes and to make or read scrambled text. The current directory is never changed:
// tests name their files with File(), as the program names its own with the data folder.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "base/scramble.h"

namespace verselane {

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "verselane-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    path_ = pattern;
  }
  ~TempFolder() { std::filesystem::remove_all(path_); }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// `text` as the program's scrambled files hold it, and back.
inline std::string Scrambled(std::string text) {
  Scramble(text, ScrambleDirection::kEncode);
  return text;
}
inline std::string Unscrambled(std::string bytes) {
  Scramble(bytes, ScrambleDirection::kDecode);
  return bytes;
}

}  // namespace verselane
