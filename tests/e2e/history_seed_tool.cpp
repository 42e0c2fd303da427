// Writes answers into a history database through the program's own store, for the script tests
// and for pictures of the mastery window.
//
//   e2e-history-seed-tool DB
//       reads answers "POEM<TAB>RIGHT<TAB>MILLISECONDS<TAB>YYYY-MM-DD HH:MM:SS" from its input
//       (POEM 1 to 100, RIGHT 1 or 0) and finished runs
//       "ANSWERS<TAB>CORRECT<TAB>CLEAR-MILLISECONDS<TAB>YYYY-MM-DD HH:MM:SS<TAB>SCORE". Exits 1
//       when the database cannot be opened or written.
#include <ctime>
#include <iostream>
#include <sstream>
#include <string>

#include "records/answer_history.h"

namespace {

// Unix time of a local "YYYY-MM-DD HH:MM:SS".
std::int64_t UnixTime(const std::string& local) {
  std::tm time{};
  std::istringstream in(local);
  char dash, colon;
  in >> time.tm_year >> dash >> time.tm_mon >> dash >> time.tm_mday >> time.tm_hour >> colon >>
      time.tm_min >> colon >> time.tm_sec;
  time.tm_year -= 1900;
  time.tm_mon -= 1;
  time.tm_isdst = -1;
  return static_cast<std::int64_t>(std::mktime(&time));
}

}  // namespace

int main(int argc, char** argv) {
  using verselane::AnswerHistory;
  if (argc != 2) {
    std::cerr << "usage: e2e-history-seed-tool DB < answers\n";
    return 2;
  }
  AnswerHistory history;
  if (!history.Open(argv[1], AnswerHistory::Access::kReadWrite).ok()) {
    std::cerr << "e2e-history-seed-tool: cannot open " << argv[1] << "\n";
    return 1;
  }
  std::string line;
  while (std::getline(std::cin, line)) {
    std::istringstream fields(line);
    std::string poem, right, milliseconds, local, score;
    if (!std::getline(fields, poem, '\t') || !std::getline(fields, right, '\t') ||
        !std::getline(fields, milliseconds, '\t') || !std::getline(fields, local, '\t')) {
      continue;
    }
    bool written;
    if (std::getline(fields, score, '\t')) {
      const int answers = std::stoi(poem);
      written = history.RecordRun({UnixTime(local), local, verselane::QuestionMode::Normal,
                                   answers, answers, std::stoi(right), std::stoi(score),
                                   std::stoi(milliseconds) / 1000}).ok();
    } else {
      written = history.Record({std::stoi(poem) - 1, verselane::QuestionMode::Normal, right == "1",
                                std::stoi(milliseconds), right == "1" ? 1000 : 0,
                                UnixTime(local), local}).ok();
    }
    if (!written) {
      std::cerr << "e2e-history-seed-tool: cannot write " << line << "\n";
      return 1;
    }
  }
  return 0;
}
