#include "game/results.h"

#include <cstdio>

#include "base/shift_jis.h"
#include "game/scoring.h"

namespace verselane {
namespace {

template <typename... Args>
std::string Format(const char* format, Args... args) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, format, args...);
  return buffer;
}

}  // namespace

ResultsView BuildResultsView(const RunFigures& run) {
  const int questionCount = run.questionCount;
  const int correct = run.correct;
  const CommentChoice comment = SelectComment(run.score, correct, questionCount);

  ResultsView view;
  view.caption = SjisLiteral(Format(" 全%d問 解答完了", questionCount));
  view.clearTime = FormatClockTime(run.clearSeconds);
  view.totalScore = Format("%d pt", run.score);
  view.correctRate = Format("%d %%", CorrectRate(correct, run.answers));
  view.correctCount = Format("%d", correct);
  view.comment = comment.text;
  view.portraitFrame = comment.character;
  view.retryEnabled = !run.missedPoems.empty();
  return view;
}

}  // namespace verselane
