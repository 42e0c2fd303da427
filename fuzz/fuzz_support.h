// What the fuzz targets share: a scratch folder to work in, silent notices, and the bytes of a
// scrambled file.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "base/file_ports.h"
#include "base/scramble.h"

namespace verselane {

inline void EnterScratchFolder() {
  static bool entered = false;
  if (entered) return;
  char pattern[] = "/tmp/verselane-fuzz-XXXXXX";
  if (::mkdtemp(pattern) == nullptr || ::chdir(pattern) != 0) std::abort();
  entered = true;
}

inline void WriteFile(const std::string& name, const std::string& bytes) {
  std::ofstream(name, std::ios::binary | std::ios::trunc) << bytes;
}

class CountingNotices : public NoticePort {
 public:
  void ShowNotice(const std::string&, const std::string&, NoticeIcon) override { ++count; }
  int count = 0;
};

// Fuzz inputs are taken as decoded text more often than not, since that is where the parsers
// are; the first byte chooses.
inline std::string FileBytesFrom(const std::string& input) {
  if (input.empty() || (input[0] & 1) == 0) return input.empty() ? input : input.substr(1);
  std::string text = input.substr(1);
  Scramble(text, ScrambleDirection::kEncode);
  return text;
}

}  // namespace verselane
