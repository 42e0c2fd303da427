// Reads and writes the program's own files as a person can read them, through the same code the
// program uses (CP932, the byte scrambling, the text-file line ends):
//   verselane-files decode FILE           prints the lines of a scrambled file (env.ini,
//                                         record.dat, question and saved files) in UTF-8
//   verselane-files encode FILE < LINES   writes UTF-8 lines as such a file, replacing it
// For looking into a player's files and for preparing them in tests.
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

#include "base/shift_jis.h"
#include "base/scramble.h"
#include "base/text_file.h"

namespace {

int Decode(const char* path) {
  std::FILE* file = std::fopen(path, "rb");
  if (file == nullptr) {
    std::perror(path);
    return 1;
  }
  std::string bytes;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) bytes.append(buffer, n);
  std::fclose(file);
  // The file is one scrambled line; the text-file layer wrote each "\n" in it as CR LF.
  std::string line;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
    line += bytes[i];
  }
  verselane::Scramble(line, verselane::ScrambleDirection::kDecode);
  const verselane::Conversion utf8 = verselane::SjisToUtf8(line);
  if (!utf8.ok()) {
    std::fprintf(stderr, "verselane-files: %s is not CP932 at byte %zu\n", path, utf8.failedAt);
    return 1;
  }
  std::printf("%s\n", utf8.text.c_str());
  return 0;
}

int Encode(const char* path) {
  std::string text;
  for (std::string line; std::getline(std::cin, line);) {
    if (!text.empty()) text += '\n';
    text += line;
  }
  const verselane::Conversion sjis = verselane::Utf8ToSjis(text);
  if (!sjis.ok()) {
    std::fprintf(stderr, "verselane-files: the text has no CP932 form at byte %zu\n",
                 sjis.failedAt);
    return 1;
  }
  if (!verselane::WriteFileLine(path, sjis.text, true).ok()) {
    std::fprintf(stderr, "verselane-files: cannot write %s\n", path);
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "decode") == 0) return Decode(argv[2]);
  if (argc == 3 && std::strcmp(argv[1], "encode") == 0) return Encode(argv[2]);
  std::fprintf(stderr, "usage: verselane-files decode FILE | encode FILE < LINES\n");
  return 2;
}
