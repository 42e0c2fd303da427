// Points for an answer and the score bands with their comments.
#pragma once

#include <string>

#include "records/run_figures.h"

namespace verselane {

// How the current question stands with respect to the favourite poem, whose points count three
// times, for better or worse.
enum class FavouriteState : int {
  None = -1,         // the question is not the favourite
  Missed = 0,        // the favourite was answered wrongly
  Hit = 1,           // the favourite was answered correctly
  PenaltyShown = 2,  // the penalty for a miss has been shown
};

inline constexpr int kBasePoints = 10;
inline constexpr int kGraceSeconds = 5;
inline constexpr int kTimeLimitSeconds = 15;
inline constexpr int kFavouriteFactor = 3;
inline constexpr int kHighestScore = 102000;  // 99 answers at 1000 and the favourite at 3000

// Points of one answer given `seconds` on the question's clock: 1000 within the grace time,
// falling over the time limit to 10, never less.
int PointsForAnswer(int seconds);

// The booking of a judged answer: the points stored for the pop-up (already tripled for the
// favourite) and the new score, never below 0. Only a correct answer or a missed favourite books.
struct Booking {
  int points = 0;
  int score = 0;
};
Booking BookAnswer(FavouriteState state, int seconds, int score);

// The results comment: which character speaks (0 to 6, also the portrait frame) and what.
struct CommentChoice {
  int character = 0;
  int level = 0;
  std::string text;
};
CommentChoice SelectComment(int score, int correct, int questionCount);

}  // namespace verselane
