// `verselane --history`: the history read as it is, without changing or leaving anything.
#include <vector>

#include "records/answer_history.h"

namespace verselane {

std::string HistoryReadProblem(const FileStatus& status) {
  switch (status.code()) {
    case FileStatus::Code::kNewerFormat: return " was written by a later version";
    case FileStatus::Code::kCorrupt: return " cannot be read: it is damaged";
    case FileStatus::Code::kLocked: return " cannot be read: another program holds it";
    case FileStatus::Code::kNotRegularFile: return " cannot be read: it is not a regular file";
    case FileStatus::Code::kWrongKind: return " cannot be read: it is not a database";
    case FileStatus::Code::kForeignContent:
      return " cannot be read: its tables are not Verselane's";
    default: return " cannot be read";
  }
}

bool ForEachAnswerForReport(const std::string& path, const std::function<void()>& restart,
                            const std::function<void(const AnswerRecord&)>& each,
                            std::ostream& errors, FileSystem& files) {
  AnswerHistory history(files);
  FileStatus read = history.Open(path, AnswerHistory::Access::kReadOnly);
  if (read.code() == FileStatus::Code::kNotFound) return true;
  if (read.ok()) read = history.ForEachAnswer(restart, each);
  if (!read.ok()) {
    errors << "verselane: " << path << HistoryReadProblem(read) << '\n';
    return false;
  }
  return true;
}

bool ReadAnswersForReport(const std::string& path, std::vector<AnswerRecord>& answers,
                          std::ostream& errors, FileSystem& files) {
  answers.clear();
  const bool read = ForEachAnswerForReport(
      path, [&answers] { answers.clear(); },
      [&answers](const AnswerRecord& answer) { answers.push_back(answer); }, errors, files);
  if (!read) answers.clear();
  return read;
}

bool PrintHistoryReport(const std::string& path, std::ostream& out, std::ostream& errors,
                        FileSystem& files) {
  std::vector<AnswerRecord> answers;
  if (!ReadAnswersForReport(path, answers, errors, files)) return false;
  for (const PoemFigures& poem : SummarisePoems(answers)) out << FormatHistoryLine(poem) << '\n';
  out.flush();
  return true;
}

}  // namespace verselane
