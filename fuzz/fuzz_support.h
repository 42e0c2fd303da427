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

}  // namespace verselane
