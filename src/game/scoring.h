// Points for an answer, the score bands with their comments, and the correct rate.
#pragma once

#include <string>

#include "settings/types.h"

namespace verselane {

inline constexpr int kBasePoints = 10;
inline constexpr int kGraceSeconds = 5;
inline constexpr int kTimeLimitSeconds = 15;
inline constexpr int kFavouriteFactor = 3;
inline constexpr int kHighestScore = 102000;  // 99 answers at 1000 and the favourite at 3000

// Points of one answer given `seconds` on the question's clock: 1000 within the grace time,
// falling over the time limit to 10, never less.
int PointsForAnswer(int seconds);

struct TimeSplit {
  int hours = 0;
  int minutes = 0;
  int seconds = 0;
};
TimeSplit SplitSeconds(int totalSeconds);
// Whole seconds as the clock, the results and the records show them: "%02d:%02d:%02d" (hours
// run past two digits when they must).
std::string FormatClockTime(int totalSeconds);

// The booking of a judged answer: the points stored for the pop-up (already tripled for the
// favourite) and the new score, never below 0. Only a correct answer or a missed favourite books.
struct Booking {
  int points = 0;
  int score = 0;
};
Booking BookAnswer(FavouriteState state, int seconds, int score);

// correct / answers × 100, in double precision, truncated toward zero (29 of 100 gives 28). The
// results dialog, the record list and the result file all show this one figure.
int CorrectRate(int correct, int answers);

// The results comment: which character speaks (0 to 6, also the portrait frame) and what.
struct CommentChoice {
  int character = 0;
  int level = 0;
  std::string text;
};
CommentChoice SelectComment(int score, int correct, int questionCount);

}  // namespace verselane
