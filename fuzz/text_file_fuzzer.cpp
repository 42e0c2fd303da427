// Arbitrary bytes on disk read through every TextFile read, with the buffer sizes the program
// uses; and a written scrambled line must read back as it was written.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_support.h"
#include "base/text_file.h"

namespace {

using Code = verselane::FileStatus::Code;

// Whatever the bytes, a read comes to a line or to a corrupt file, never to a failure of the
// file itself.
void ReadEveryWay(const std::string& bytes) {
  const std::string path = verselane::ScratchFile("in.bin");
  verselane::WriteFile(path, bytes);
  for (int bufferSize : {283, 301, 500}) {
    for (bool scrambled : {false, true}) {
      verselane::TextFile file(path);
      if (!file.Open('r').ok()) std::abort();
      file.SetLineBufferSize(bufferSize);
      std::string line;
      const Code read = file.ReadLine(line, scrambled).code();
      if (read != Code::kOk && read != Code::kCorrupt) std::abort();
      if (!file.Close().ok() || !file.Open('r').ok()) std::abort();
      file.SetLineBufferSize(bufferSize);
      std::string lines[5];
      if (!file.ReadLines(lines, 5, scrambled).ok() || !file.Close().ok()) std::abort();
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
  verselane::TextFile file(verselane::ScratchFile("out.bin"));
  if (!file.Open('w').ok() || !file.WriteLine(text, true).ok() || !file.Close().ok()) std::abort();
  std::string back;
  if (!file.Open('r').ok() || !file.ReadLine(back, true).ok() || !file.Close().ok()) std::abort();
  if (back != text) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  ReadEveryWay(bytes);
  WriteAndReadBack(bytes);
  return 0;
}
