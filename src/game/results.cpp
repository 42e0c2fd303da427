#include "game/results.h"

#include <cstdio>

#include "base/shift_jis.h"
#include "game/scoring.h"
#include "settings/environment.h"

namespace verselane {
namespace {

template <typename... Args>
std::string Format(const char* format, Args... args) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, format, args...);
  return buffer;
}

}  // namespace

ResultsView BuildResultsView(const Environment& environment, int clearSeconds) {
  const int questionCount = environment.settings().questionCount();
  const int correct = environment.correctCount();
  const CommentChoice comment = SelectComment(environment.score(), correct, questionCount);

  ResultsView view;
  view.caption = SjisLiteral(Format(" 全%d問 解答完了", questionCount));
  view.clearTime = FormatClockTime(clearSeconds);
  view.totalScore = Format("%d pt", environment.score());
  view.correctRate = Format("%d %%", CorrectRate(correct, environment.askedCount()));
  view.correctCount = Format("%d", correct);
  view.comment = comment.text;
  view.portraitFrame = comment.character;
  view.retryEnabled = environment.retryList().count() > 0;
  return view;
}

void BuildRetryRun(Environment& environment) {
  const RetryList& wrong = environment.retryList();
  environment.sources().SetRetrySource(wrong.CopyEntries());
  environment.settings().SaveSourceForRetry(wrong.count());
}

}  // namespace verselane
