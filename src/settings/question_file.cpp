#include "settings/question_file.h"

#include "base/decimal.h"
#include "base/notices.h"
#include "base/saved_file.h"
#include "base/shift_jis.h"
#include "base/text_file.h"
#include "catalogue/poem_groups.h"
#include "catalogue/poem_table.h"
#include "settings/settings_controller.h"

namespace verselane {

std::string FormatQuestionList(std::span<const int> poems) {
  std::string text;
  for (const int poem : poems) {
    if (!text.empty()) text += ',';
    text += std::to_string(poem);
  }
  return text;
}

std::optional<std::vector<int>> ParseQuestionList(std::string_view text) {
  std::vector<int> poems;
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = text.find(',', start);
    const std::string_view piece = text.substr(start, comma - start);
    if (piece.empty()) return std::nullopt;
    const int poem = ParseDecimal(piece);
    // A poem the table does not have must never reach a run.
    if (poem < 0 || poem >= kPoemTableSize) return std::nullopt;
    poems.push_back(poem);
    if (comma == std::string_view::npos) return poems;
    start = comma + 1;
  }
}

FileStatus LoadQuestionFile(const std::string& path, QuestionSources& sources) {
  std::string text;
  const FileStatus read = ReadFileLine(path, TextFile::kDefaultLineBufferSize, true, text);
  if (!read.ok()) return read;
  const std::optional<std::vector<int>> poems = ParseQuestionList(text);
  if (!poems) return FileStatus::Corrupt(path);
  sources.SetFileList(*poems);
  return read;
}

FileDialogSpec QuestionFileDialogSpec() {
  return {SjisLiteral(" Verselane 問題ファイルの生成"),
          {{"Verselane question file(*.vlq)", "*.vlq"}, {"All files(*.*)", "*.*"}},
          "vlq",
          SjisLiteral("Verselane_問題.vlq")};
}

FileStatus WriteQuestionFile(std::span<const int> missed, SettingsController& controller,
                             FileChooserPort& files) {
  if (missed.empty()) return FileStatus();
  const std::optional<std::string> path = AskWhereToSave(files, QuestionFileDialogSpec());
  if (!path) return FileStatus();
  FileStatus saved = SaveChosenFile(*path, FormatQuestionList(missed), true);
  if (!saved.ok()) return saved;

  // Overwriting the file in use changes the source under the player's feet: take it in now, so
  // the next run draws from what the file holds and never asks more questions than it has.
  // What it holds is `missed`, just written: no second read that could fail.
  Settings& settings = controller.settings();
  if (settings.source() == kFileSource && *path == settings.questionFilePath()) {
    controller.sources().SetFileList(missed);
    const int size = controller.sources().GetGroupSize(kFileSource);
    if (settings.questionCount() > size) {
      settings.SetQuestionCount(size);
      controller.MarkChanged();
    }
  }
  return saved;
}

}  // namespace verselane
