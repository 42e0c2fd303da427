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

// The file's name as the label shows it: a character that would not read back as itself
// (〜 shown as ～, a bad byte of a foreign name) shows as "?".
std::string LabelName(std::string_view name) {
  std::string label;
  while (!name.empty()) {
    const Conversion whole = Utf8ToSjisExact(name);
    if (whole.ok()) return label + whole.text;
    label += Utf8ToSjisExact(name.substr(0, whole.failedAt)).text + '?';
    std::size_t next = whole.failedAt + 1;
    while (next < name.size() && (static_cast<unsigned char>(name[next]) & 0xC0) == 0x80) ++next;
    name.remove_prefix(next);
  }
  return label;
}

}  // namespace

std::string FileSourceLabel(const Settings& settings, const QuestionSources& sources) {
  const std::string& path = settings.questionFilePath();
  if (path.empty()) return {};
  const std::size_t separator = path.find_last_of("/\\");
  const std::string name = separator == std::string::npos ? path : path.substr(separator + 1);
  char count[32];
  std::snprintf(count, sizeof count, " (%d", sources.GetGroupSize(kFileSource));
  return LabelName(name) + count + SjisLiteral("首)");
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
