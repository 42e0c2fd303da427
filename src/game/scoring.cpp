#include "game/scoring.h"

#include <algorithm>
#include <cstdio>

#include "game/comments.h"

namespace verselane {
namespace {

// Top of each character's score band; character 6 reaches to the highest possible score.
constexpr int kBandTops[kCommentCharacters] = {14999, 29999, 44999, 59999, 74999, 89999,
                                               kHighestScore};

int CharacterForScore(int score) {
  for (int character = 0; character < kCommentCharacters - 1; ++character) {
    if (score <= kBandTops[character]) return character;
  }
  return kCommentCharacters - 1;
}

int LevelFor(int character, int score, double rate, int questionCount) {
  const int top = kBandTops[character];
  const int width = character == 0 ? top : top - kBandTops[character - 1] + 1;
  const int step = width / 5;
  if (score > top - step) {
    // Only a perfect run earns the last character's highest praise.
    if (character == kCommentCharacters - 1 && score < kHighestScore) return 3;
    return 4;
  }
  if (score > top - 2 * step) return 3;
  if (score > top - 3 * step) return 2;
  if (rate >= 70 && questionCount >= 10) return 2;
  if (score > top - 4 * step) return 1;
  if (rate >= 50 && questionCount >= 2) return 1;
  return 0;
}

}  // namespace

int PointsForAnswer(int seconds) {
  const int late = std::max(seconds - kGraceSeconds, 0);
  const float factor = std::max(100.0f - late * 100.0f / kTimeLimitSeconds, 1.0f);
  return static_cast<int>(factor * kBasePoints);
}

Booking BookAnswer(FavouriteState state, int seconds, int score) {
  const int points = PointsForAnswer(seconds);
  switch (state) {
    case FavouriteState::Hit:
      return {kFavouriteFactor * points, score + kFavouriteFactor * points};
    case FavouriteState::Missed:
      return {kFavouriteFactor * points, std::max(score - kFavouriteFactor * points, 0)};
    default:
      return {points, score + points};
  }
}

CommentChoice SelectComment(int score, int correct, int questionCount) {
  CommentChoice choice;
  choice.character = CharacterForScore(score);
  const double rate =
      questionCount > 0 ? static_cast<double>(correct) / questionCount * 100 : 0.0;
  choice.level = LevelFor(choice.character, score, rate, questionCount);
  GetComment(choice.character, choice.level, choice.text);
  return choice;
}

}  // namespace verselane
