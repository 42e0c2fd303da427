// Any question file loads without harm and never puts a poem outside the hundred into the pool;
// an accepted list written again loads back the same.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "catalogue/poem_groups.h"
#include "fuzz_support.h"
#include "settings/question_file.h"
#include "base/text_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string in = verselane::ScratchFile("in.vlq");
  const std::string out = verselane::ScratchFile("out.vlq");
  const std::string input(reinterpret_cast<const char*>(data), size);
  verselane::WriteFile(in, verselane::FileBytesFrom(input));
  verselane::QuestionSources sources;
  const verselane::FileStatus loaded = verselane::LoadQuestionFile(in, sources);
  if (!loaded.ok()) {
    // The file is there: anything wrong with it is its content.
    if (loaded.code() != verselane::FileStatus::Code::kCorrupt ||
        sources.GetGroupSize(verselane::kFileSource) != 0) {
      std::abort();
    }
    return 0;
  }
  const std::vector<int> poems = sources.GetGroupPoems(verselane::kFileSource);
  for (int poem : poems) {
    if (poem < 0 || poem > 99) std::abort();
  }
  if (!verselane::WriteFileLine(out, verselane::FormatQuestionList(poems), true).ok()) {
    std::abort();
  }
  verselane::QuestionSources again;
  if (!verselane::LoadQuestionFile(out, again).ok() ||
      again.GetGroupPoems(verselane::kFileSource) != poems) {
    std::abort();
  }
  return 0;
}
