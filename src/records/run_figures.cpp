#include "records/run_figures.h"

#include <cstdio>

namespace verselane {

TimeSplit SplitSeconds(int totalSeconds) {
  return {totalSeconds / 3600, totalSeconds % 3600 / 60, totalSeconds % 60};
}

std::string FormatClockTime(int totalSeconds) {
  const TimeSplit split = SplitSeconds(totalSeconds);
  char text[48];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", split.hours, split.minutes, split.seconds);
  return text;
}

int CorrectRate(int correct, int answers) {
  if (answers <= 0) return 0;
  return static_cast<int>(static_cast<double>(correct) / answers * 100);
}

}  // namespace verselane
