#include "settings/question_source.h"

#include <cstdio>

#include "catalogue/poem_groups.h"
#include "base/shift_jis.h"
#include "base/file_ports.h"
#include "settings/question_file.h"
#include "settings/environment_line.h"
#include "settings/settings.h"

namespace verselane {
namespace {

const char* ProblemText(PathProblem problem) {
  switch (problem) {
    case PathProblem::kBackslash:
      return "NOTICE(ChooseQuestionFile):\nファイルのパスに\"\\\"を含むファイルは出題元にできません\n"
             "出題元は変更しません";
    case PathProblem::kNotShiftJis:
      return "NOTICE(ChooseQuestionFile):\nファイルのパスに使えない文字が含まれています\n"
             "出題元は変更しません";
    default:
      return "NOTICE(ChooseQuestionFile):\nファイルのパスが長すぎます\n出題元は変更しません";
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
    notices.ShowNotice(SjisLiteral(ProblemText(problem)), "Notice", NoticeIcon::kExclamation);
    return std::nullopt;
  }
  if (!LoadQuestionFile(*path, sources)) return std::nullopt;
  return path;
}

}  // namespace verselane
