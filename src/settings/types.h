// How questions are put: the mode a player chooses in the settings.
#pragma once

namespace verselane {

// What a question shows and what the player types.
enum class QuestionMode : int {
  Normal = 0,   // upper phrase shown, lower phrase typed
  Reverse = 1,  // lower phrase shown, upper phrase typed
  Poet = 2,     // poet shown, lower phrase typed
};

}  // namespace verselane
