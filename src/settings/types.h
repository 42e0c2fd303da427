// Small enumerations shared by the settings, the game and the window.
#pragma once

namespace verselane {

// What a question shows and what the player types.
enum class QuestionMode : int {
  Normal = 0,   // upper phrase shown, lower phrase typed
  Reverse = 1,  // lower phrase shown, upper phrase typed
  Poet = 2,     // poet shown, lower phrase typed
};

enum class PlayState : int {
  Idle = 0,
  Running = 1,
  Paused = 2,
  Finished = 3,
};

// How the current question stands with respect to the favourite poem, whose points count three
// times, for better or worse.
enum class FavouriteState : int {
  None = -1,         // the question is not the favourite
  Missed = 0,        // the favourite was answered wrongly
  Hit = 1,           // the favourite was answered correctly
  PenaltyShown = 2,  // the penalty for a miss has been shown
};

}  // namespace verselane
