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
  verselane::EnterScratchFolder();
  verselane::WriteFile("in.vlq",
                       verselane::FileBytesFrom(std::string(reinterpret_cast<const char*>(data), size)));
  verselane::QuestionSources sources;
  if (!verselane::LoadQuestionFile("in.vlq", sources)) {
    if (sources.GetGroupSize(verselane::kFileSource) != 0) std::abort();
    return 0;
  }
  const std::vector<int> poems = sources.GetGroupPoems(verselane::kFileSource);
  for (int poem : poems) {
    if (poem < 0 || poem > 99) std::abort();
  }
  verselane::TextFile out("out.vlq");
  if (!out.Open('w') || !out.WriteLine(verselane::FormatQuestionList(poems), true) ||
      out.Close() != 0) {
    std::abort();
  }
  verselane::QuestionSources again;
  if (!verselane::LoadQuestionFile("out.vlq", again) ||
      again.GetGroupPoems(verselane::kFileSource) != poems) {
    std::abort();
  }
  return 0;
}
