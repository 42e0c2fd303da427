// The end of a run: what the results dialog shows.
#pragma once

#include <string>

#include "records/run_figures.h"

namespace verselane {

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

// The results of the finished run `run`.
ResultsView BuildResultsView(const RunFigures& run);

}  // namespace verselane
