// A fresh folder for tests that touch real files, made current while the test runs and removed
// afterwards, with helpers to read and write exact bytes and to make or read scrambled text.
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
    path_ = ::mkdtemp(pattern.data());
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(path_);
  }
  ~TempFolder() {
    std::filesystem::current_path(previous_);
    std::filesystem::remove_all(path_);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
  std::filesystem::path previous_;
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
