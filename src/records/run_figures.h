// What a record and a result file keep of a finished run, and how its figures read: the clock
// time and the correct rate.
#pragma once

#include <string>
#include <vector>

namespace verselane {

// What the record list and a result file keep of a finished run.
struct RunFigures {
  int score = 0;
  int correct = 0;
  int answers = 0;
  int clearSeconds = 0;   // the game clock's whole seconds
  std::string modeLabel;  // CP932
  int questionCount = 0;  // the questions the run was to ask
  std::vector<int> missedPoems = {};  // the poems answered wrongly, in the order they were missed
};

struct TimeSplit {
  int hours = 0;
  int minutes = 0;
  int seconds = 0;
};
TimeSplit SplitSeconds(int totalSeconds);
// Whole seconds as the clock, the results and the records show them: "%02d:%02d:%02d" (hours
// run past two digits when they must).
std::string FormatClockTime(int totalSeconds);

// correct / answers × 100, in double precision, truncated toward zero (29 of 100 gives 28). The
// results dialog, the record list and the result file all show this one figure.
int CorrectRate(int correct, int answers);

}  // namespace verselane
