// Arbitrary bytes on disk read through every TextFile read, with the buffer sizes the program
// uses; and a written scrambled line must read back as it was written.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_support.h"
#include "base/text_file.h"

namespace {

void ReadEveryWay(const std::string& bytes) {
  verselane::WriteFile("in.bin", bytes);
  for (int bufferSize : {283, 301, 500}) {
    for (bool scrambled : {false, true}) {
      verselane::TextFile file("in.bin");
      if (!file.Open('r')) std::abort();
      file.SetLineBufferSize(bufferSize);
      std::string line;
      file.ReadLine(line, scrambled);
      file.Close();
      if (!file.Open('r')) std::abort();
      file.SetLineBufferSize(bufferSize);
      std::string lines[5];
      file.ReadLines(lines, 5, scrambled);
      file.Close();
    }
  }
}

// Bytes the scrambled form cannot carry on one line: 0x00/0xFF end the text, 0x09 becomes a
// line end, 0x19 becomes the end-of-input byte.
bool SurvivesScrambling(const std::string& text) {
  if (text.empty() || text.size() > 499) return false;
  for (unsigned char byte : text) {
    if (byte == 0x00 || byte == 0xFF || byte == 0x09 || byte == 0x19) return false;
  }
  return true;
}

void WriteAndReadBack(const std::string& text) {
  if (!SurvivesScrambling(text)) return;
  verselane::TextFile file("out.bin");
  if (!file.Open('w') || !file.WriteLine(text, true) || file.Close() != 0) std::abort();
  std::string back;
  if (!file.Open('r') || !file.ReadLine(back, true)) std::abort();
  file.Close();
  if (back != text) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  verselane::EnterScratchFolder();
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  ReadEveryWay(bytes);
  WriteAndReadBack(bytes);
  return 0;
}
