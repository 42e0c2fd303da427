// Any bytes as history.sqlite3: the report and the game's own open come to a status, never a
// crash or a hang; a history that is read holds only answers the program could have written.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "records/answer_history.h"

namespace {

bool Sane(const verselane::AnswerRecord& answer) {
  return answer.poem >= 0 && answer.poem < 100 && answer.milliseconds >= 0 &&
         answer.localTime.size() <= 32;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = verselane::ScratchFile("history.sqlite3");
  for (const char* suffix : {"-wal", "-shm", "-journal"}) std::filesystem::remove(path + suffix);
  verselane::WriteFile(path, std::string(reinterpret_cast<const char*>(data), size));

  std::ostringstream out, errors;
  const bool reported = verselane::PrintHistoryReport(path, out, errors);
  if (reported != errors.str().empty()) std::abort();

  verselane::AnswerHistory history;
  if (!history.Open(path, verselane::AnswerHistory::Access::kReadWrite).ok()) return 0;
  std::vector<verselane::AnswerRecord> answers;
  if (history.Answers(answers).ok()) {
    for (const verselane::AnswerRecord& answer : answers) {
      if (!Sane(answer)) std::abort();
    }
  }
  return 0;
}
