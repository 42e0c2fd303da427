#include "records/result_file.h"

#include <optional>

#include "base/notices.h"
#include "base/saved_file.h"
#include "base/shift_jis.h"
#include "catalogue/poem_catalogue.h"
#include "records/record_list.h"
#include "records/run_figures.h"

namespace verselane {
namespace {

// The labels are padded with ASCII spaces to the width of the four-character ones.
struct ResultLabels {
  std::string rule = std::string(35, '=');
  std::string title = SjisLiteral(" Verselane 結果ファイル");
  std::string date = SjisLiteral("記録日時：");
  std::string questions = SjisLiteral("出題数  ：");
  std::string answers = SjisLiteral("回答数  ：");
  std::string mode = SjisLiteral("出題形式：");
  std::string score = SjisLiteral("総得点  ：");
  std::string correct = SjisLiteral("正答数  ：");
  std::string rate = SjisLiteral("正答率  ：");
  std::string wrongHeading = SjisLiteral("誤答した歌---");
  std::string poetSeparator = SjisLiteral(" ／ ");
};

const ResultLabels& Labels() {
  static const ResultLabels labels;
  return labels;
}

// "fullText ／ poet(poetReading)"
std::string WrongPoemLine(const PoemCatalogue& catalogue, int poem) {
  std::string line(catalogue.FieldView(poem, kFullText));
  line += Labels().poetSeparator;
  line += catalogue.FieldView(poem, kPoet);
  line += '(';
  line += catalogue.FieldView(poem, kPoetReading);
  line += ")\n";
  return line;
}

}  // namespace

std::string ResultFileText(const RunFigures& run, const PoemCatalogue& catalogue,
                           const LocalTime& date) {
  const ResultLabels& labels = Labels();

  std::string text;
  text += labels.rule + '\n' + labels.title + '\n' + labels.rule + "\n\n";
  text += labels.date + FormatRecordDate(date) + '\n';
  text += labels.questions + std::to_string(run.questionCount) + '\n';
  text += labels.answers + std::to_string(run.answers) + "\n\n";
  text += labels.mode + run.modeLabel + '\n';
  text += labels.score + std::to_string(run.score) + '\n';
  text += labels.correct + std::to_string(run.correct) + '\n';
  text += labels.rate + std::to_string(CorrectRate(run.correct, run.answers)) + "%\n";

  if (run.missedPoems.empty()) return text;
  text += '\n' + labels.wrongHeading + '\n';
  for (const int poem : run.missedPoems) text += WrongPoemLine(catalogue, poem);
  return text;
}

FileDialogSpec ResultFileDialogSpec() {
  return {SjisLiteral(" Verselane 結果ファイルの生成"),
          {{"Text file(*.txt)", "*.txt"}, {"All files(*.*)", "*.*"}},
          "txt",
          SjisLiteral("Verselane_結果.txt")};
}

FileStatus WriteResultFile(const RunFigures& run, const PoemCatalogue& catalogue,
                           FileChooserPort& files, ClockPort& clock) {
  const std::optional<std::string> path = AskWhereToSave(files, ResultFileDialogSpec());
  if (!path) return FileStatus();
  return SaveChosenFile(*path, ResultFileText(run, catalogue, clock.Now()), false);
}

}  // namespace verselane
