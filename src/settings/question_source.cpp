#include "settings/question_source.h"

#include <cstdio>

#include "base/file_ports.h"
#include "base/notices.h"
#include "base/shift_jis.h"
#include "catalogue/poem_groups.h"
#include "settings/environment_line.h"
#include "settings/question_file.h"
#include "settings/settings.h"

namespace verselane {
namespace {

Notice RefusalOf(PathProblem problem) {
  switch (problem) {
    case PathProblem::kBackslash: return Notice::kPathWithBackslash;
    case PathProblem::kNotShiftJis: return Notice::kPathNotShiftJis;
    default: return Notice::kPathTooLong;
  }
}

}  // namespace

std::string FileSourceLabel(const Settings& settings, const QuestionSources& sources) {
  const std::string& path = settings.questionFilePath();
  if (path.empty()) return {};
  const std::size_t separator = path.find_last_of("/\\");
  const std::string name = separator == std::string::npos ? path : path.substr(separator + 1);
  Conversion sjis = Utf8ToSjis(name);
  char count[32];
  std::snprintf(count, sizeof count, " (%d", sources.GetGroupSize(kFileSource));
  return (sjis.ok() ? sjis.text : name) + count + SjisLiteral("首)");
}

FileDialogSpec QuestionFileOpenSpec() {
  FileDialogSpec setup;
  setup.title = SjisLiteral(" Verselane 問題ファイルの読み込み");
  setup.filters = {{"Verselane question files(*.vlq)", "*.vlq"}, {"All files(*.*)", "*.*"}};
  setup.defaultExtension = "vlq";
  setup.initialName = "*.vlq";
  return setup;
}

std::optional<std::string> ChooseQuestionFile(FileChooserPort& files, NoticePort& notices,
                                              QuestionSources& sources) {
  std::optional<std::string> path = files.ChooseFileToOpen(QuestionFileOpenSpec());
  if (!path || path->empty()) return std::nullopt;
  // A path env.ini cannot hold would be lost at the next start: refuse it now, while the player
  // can still pick another file.
  std::string stored;
  const PathProblem problem = StoredPathFor(*path, stored);
  if (problem != PathProblem::kNone) {
    Tell(notices, RefusalOf(problem));
    return std::nullopt;
  }
  // An invalid file is not told: the list simply keeps its source.
  if (!LoadQuestionFile(*path, sources).ok()) return std::nullopt;
  return path;
}

}  // namespace verselane
