// The end of a run: what the results dialog shows, and the retry run made of the wrong answers.
#pragma once

#include <string>

namespace verselane {

class Environment;

// Everything the results dialog displays, ready to show; texts are CP932.
struct ResultsView {
  std::string caption;     // " 全%d問 解答完了"
  std::string clearTime;   // "%02d:%02d:%02d"
  std::string totalScore;  // "%d pt"
  std::string correctRate; // "%d %"
  std::string correctCount;
  std::string comment;
  int portraitFrame = 0;   // frame of the portrait strip: the character who comments
  bool retryEnabled = false;  // the question-file and retry buttons need wrong answers
};

// The results of the finished run, its clear time being `clearSeconds` on the game clock.
ResultsView BuildResultsView(const Environment& environment, int clearSeconds);

// Makes the wrong answers of the run the next run's source, putting the current source and
// question count aside until the retry run's results (or a reset) put them back.
void BuildRetryRun(Environment& environment);

}  // namespace verselane
